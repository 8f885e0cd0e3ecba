// make_prose: writes the benchmarks' seeded prose (CR LF lines) to a file, so that scripts
// can time whole commands on the same text the in-process benchmarks use.
//   make_prose MEBIBYTES OUT.txt [SEED]
#include "SampleTexts.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: make_prose MEBIBYTES OUT.txt [SEED]\n");
        return 2;
    }
    const std::size_t mebibytes = std::strtoul(argv[1], nullptr, 10);
    const auto seed =
        static_cast<std::uint32_t>(argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 42);
    const std::string text = tomery::testing::GenerateProse(mebibytes * 1024 * 1024, seed);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out.good() ? 0 : 1;
}
