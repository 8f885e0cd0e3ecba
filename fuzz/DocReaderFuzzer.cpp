// Feeds arbitrary bytes to the DOC reader as a file. Run:
//   build-fuzz/bin/doc_reader_fuzzer -max_total_time=60 corpus/
#include "Conversion.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = [] {
        char pattern[] = "/tmp/tomery-fuzz-XXXXXX";
        const std::string made = ::mkdtemp(pattern);
        ::setenv("TOMERY_HOME", made.c_str(), 1);
        return made;
    }();
    const std::string source = folder + "/input.pdb";
    std::ofstream(source, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string name;
    tomery::doc::ConvertDocToText(source, folder + "/output.txt", name);
    return 0;
}
