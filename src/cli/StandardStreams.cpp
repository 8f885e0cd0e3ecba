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

bool TStreamFiles::MakeFolder() {
    if (!folder_.empty()) {
        return true;
    }
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / "tomery-doc-XXXXXX").string();
    if (!error && ::mkdtemp(pattern.data()) != nullptr) {
        folder_ = pattern;
        return true;
    }
    std::cerr << "tomery-doc: cannot make a temporary folder\n";
    return false;
}

TStreamFiles::~TStreamFiles() {
    if (!folder_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
}

std::string TStreamFiles::ReadablePath(const std::string& input) {
    if (!IsStandardStream(input)) {
        return input;
    }
    if (!MakeFolder()) {
        return {};
    }
    const std::string path = folder_ + "/standard-input";
    std::ofstream out(path, std::ios::binary);
    if (out && Copy(std::cin, out)) {
        return path;
    }
    std::cerr << "tomery-doc: cannot read standard input\n";
    return {};
}

std::string TStreamFiles::WritablePath(const std::string& output, bool privately) {
    if (!privately && !IsStandardStream(output)) {
        return output;
    }
    return MakeFolder() ? OutputPath() : std::string();
}

std::string TStreamFiles::SaveConvertedInput(std::string_view text) {
    if (!MakeFolder()) {
        return {};
    }
    const std::string path = folder_ + "/converted-input";
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (out.flush()) {
        return path;
    }
    std::cerr << "tomery-doc: cannot write a temporary file\n";
    return {};
}

bool TStreamFiles::SendOutput() const {
    std::ifstream in(OutputPath(), std::ios::binary);
    if (in && Copy(in, std::cout)) {
        return true;
    }
    std::cerr << "tomery-doc: cannot write standard output\n";
    return false;
}

}  // namespace tomery::cli
