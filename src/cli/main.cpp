#include <iostream>
int main() {
    std::cout << "tomery-doc\n";
    return 0;
}
