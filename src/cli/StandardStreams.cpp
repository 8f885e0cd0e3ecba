#include "StandardStreams.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>
#include <vector>

namespace tomery::cli {

namespace {

bool Copy(std::istream& in, std::ostream& out) {
    std::vector<char> chunk(65536);
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        if (!out.write(chunk.data(), in.gcount())) {
            return false;
        }
    }
    return !in.bad() && out.flush().good();
}

}  // namespace

TStreamFiles::TStreamFiles() {
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / "tomery-doc-XXXXXX").string();
    if (!error && ::mkdtemp(pattern.data()) != nullptr) {
        folder_ = pattern;
    }
}

TStreamFiles::~TStreamFiles() {
    if (!folder_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
}

std::string TStreamFiles::SaveStandardInput() {
    const std::string path = folder_ + "/standard-input";
    std::ofstream out(path, std::ios::binary);
    return out && Copy(std::cin, out) ? path : std::string();
}

bool TStreamFiles::SendOutput() const {
    std::ifstream in(OutputPath(), std::ios::binary);
    return in && Copy(in, std::cout);
}

}  // namespace tomery::cli
