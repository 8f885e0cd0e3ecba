// tomery-doc: converts between DOC e-texts and plain text from the command line, with the
// same conversion (and the same "Conversion.log") as the editor.
#include "Conversion.h"
#include "ConversionLog.h"
#include "DocInfo.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kSuccess = 0;
constexpr int kConversionFailed = 1;
constexpr int kBadUsage = 2;

constexpr char kUsage[] =
    "Usage:\n"
    "  tomery-doc decode IN.pdb OUT.txt           DOC file to text (CR LF line ends);\n"
    "                                             prints the document name\n"
    "  tomery-doc encode IN.txt OUT.pdb [--name NAME]\n"
    "                                             text to DOC file; the name defaults to\n"
    "                                             IN's file name without its extension\n"
    "  tomery-doc info IN.pdb                     describes a DOC file\n"
    "  tomery-doc --help | --version\n"
    "\n"
    "Each conversion writes Conversion.log in the program folder ($TOMERY_HOME when set).\n"
    "Exit status: 0 on success, 1 when a conversion fails, 2 for bad usage or a missing\n"
    "input file.\n";

int BadUsage(const std::string& problem) {
    std::cerr << "tomery-doc: " << problem << "\n\n" << kUsage;
    return kBadUsage;
}

bool InputExists(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        return true;
    }
    std::cerr << "tomery-doc: no such file: " << path << '\n';
    return false;
}

int ConversionResult(bool converted) {
    if (converted) {
        return kSuccess;
    }
    std::cerr << "tomery-doc: conversion failed; see " << tomery::doc::ConversionLogPath() << '\n';
    return kConversionFailed;
}

int Decode(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return BadUsage("decode takes IN.pdb and OUT.txt");
    }
    if (!InputExists(args[0])) {
        return kBadUsage;
    }
    std::string docName;
    const bool converted = tomery::doc::ConvertDocToText(args[0], args[1], docName);
    if (converted) {
        std::cout << docName << '\n';
    }
    return ConversionResult(converted);
}

int Encode(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    std::string docName;
    bool nameGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--name") {
            if (i + 1 == args.size()) {
                return BadUsage("--name needs a value");
            }
            docName = args[++i];
            nameGiven = true;
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 2) {
        return BadUsage("encode takes IN.txt and OUT.pdb");
    }
    if (!InputExists(paths[0])) {
        return kBadUsage;
    }
    if (!nameGiven) {
        docName = std::filesystem::path(paths[0]).stem().string();
    }
    return ConversionResult(tomery::doc::ConvertTextToDoc(paths[0], paths[1], docName));
}

int Info(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return BadUsage("info takes IN.pdb");
    }
    if (!InputExists(args[0])) {
        return kBadUsage;
    }
    const auto info = tomery::doc::ReadDocInfo(args[0]);
    if (!info.problem.empty()) {
        std::cerr << "tomery-doc: " << args[0] << ": " << info.problem << '\n';
        return kConversionFailed;
    }
    std::cout << tomery::doc::FormatDocInfo(info);
    return kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return BadUsage("no command given");
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h") {
        std::cout << kUsage;
        return kSuccess;
    }
    if (command == "--version") {
        std::cout << "tomery-doc " << TOMERY_VERSION << '\n';
        return kSuccess;
    }
    if (command == "decode") {
        return Decode(rest);
    }
    if (command == "encode") {
        return Encode(rest);
    }
    if (command == "info") {
        return Info(rest);
    }
    return BadUsage("unknown command: " + command);
}
