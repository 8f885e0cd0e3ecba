// tomery-doc: converts between DOC e-texts and plain text from the command line, with the
// same conversion (and the same "Conversion.log") as the editor.
#include "Conversion.h"
#include "ConversionLog.h"
#include "DocInfo.h"
#include "StandardStreams.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

using tomery::cli::IsStandardStream;
using tomery::cli::TStreamFiles;

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
    "A path of - is standard input or standard output; after -- every argument is a path.\n"
    "Each conversion writes Conversion.log in the program folder ($TOMERY_HOME when set).\n"
    "Exit status: 0 on success, 1 when a conversion fails, 2 for bad usage or a missing\n"
    "input file.\n";

int BadUsage(const std::string& problem) {
    std::cerr << "tomery-doc: " << problem << "\n\n" << kUsage;
    return kBadUsage;
}

int Refuse(const std::string& problem) {
    std::cerr << "tomery-doc: " << problem << '\n';
    return kBadUsage;
}

/// A command's paths and its --name option; `problem` says what was wrong with them.
struct Arguments {
    std::vector<std::string> paths;
    std::optional<std::string> name;
    std::string problem;
};

Arguments ParseArguments(const std::vector<std::string>& args, bool takesName) {
    Arguments parsed;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg == "-" || arg.empty() || arg[0] != '-') {
            parsed.paths.push_back(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (takesName && arg == "--name") {
            if (i + 1 == args.size()) {
                parsed.problem = "--name needs a value";
                return parsed;
            }
            parsed.name = args[++i];
        } else if (takesName && arg.rfind("--name=", 0) == 0) {
            parsed.name = arg.substr(7);
        } else {
            parsed.problem = "unknown option: " + arg;
            return parsed;
        }
    }
    return parsed;
}

bool InputExists(const std::string& path) {
    std::error_code error;
    if (IsStandardStream(path) || std::filesystem::is_regular_file(path, error)) {
        return true;
    }
    std::cerr << "tomery-doc: no such file: " << path << '\n';
    return false;
}

/// Why the output cannot be written where it was asked for; empty when it can be tried.
std::string OutputProblem(const std::string& input, const std::string& output) {
    if (IsStandardStream(output)) {
        return {};
    }
    const std::filesystem::path folder = std::filesystem::path(output).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        return "the output folder does not exist: " + folder.string();
    }
    // Replacing the input by its own conversion would lose it, also through a link.
    struct stat in {};
    struct stat out {};
    if (!IsStandardStream(input) && ::stat(input.c_str(), &in) == 0 &&
        ::stat(output.c_str(), &out) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
        return "the output is the input file itself: " + output;
    }
    return {};
}

/// Checks the arguments of a conversion from one path to another; the status to exit with
/// when they are wrong.
std::optional<int> ConversionArgumentsProblem(const Arguments& parsed, const char* usage) {
    if (!parsed.problem.empty()) {
        return BadUsage(parsed.problem);
    }
    if (parsed.paths.size() != 2) {
        return BadUsage(usage);
    }
    if (!InputExists(parsed.paths[0])) {
        return kBadUsage;
    }
    if (const std::string problem = OutputProblem(parsed.paths[0], parsed.paths[1]);
        !problem.empty()) {
        return Refuse(problem);
    }
    return std::nullopt;
}

bool HasControlCharacters(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

int ConversionResult(bool converted) {
    if (converted) {
        return kSuccess;
    }
    std::cerr << "tomery-doc: conversion failed; see " << tomery::doc::ConversionLogPath() << '\n';
    return kConversionFailed;
}

/// Runs `convert` from `input` to `output`, standing private files in for "-".
template <typename Convert>
int ConvertWithStreams(const std::string& input, const std::string& output, Convert convert) {
    if (!IsStandardStream(input) && !IsStandardStream(output)) {
        return ConversionResult(convert(input, output));
    }
    TStreamFiles streams;
    if (!streams.IsReady()) {
        std::cerr << "tomery-doc: cannot make a temporary folder\n";
        return kConversionFailed;
    }
    const std::string source = IsStandardStream(input) ? streams.SaveStandardInput() : input;
    if (source.empty()) {
        std::cerr << "tomery-doc: cannot read standard input\n";
        return kConversionFailed;
    }
    const bool toStdout = IsStandardStream(output);
    const int result = ConversionResult(convert(source, toStdout ? streams.OutputPath() : output));
    if (result == kSuccess && toStdout && !streams.SendOutput()) {
        std::cerr << "tomery-doc: cannot write standard output\n";
        return kConversionFailed;
    }
    return result;
}

int Decode(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, false);
    if (const auto status = ConversionArgumentsProblem(parsed, "decode takes IN.pdb and OUT.txt")) {
        return *status;
    }
    const std::string& input = parsed.paths[0];
    const std::string& output = parsed.paths[1];
    std::string docName;
    const int result =
        ConvertWithStreams(input, output, [&](const std::string& in, const std::string& out) {
            return tomery::doc::ConvertDocToText(in, out, docName);
        });
    // On standard output the name would run into the text.
    if (result == kSuccess && !IsStandardStream(output)) {
        std::cout << docName << '\n';
    }
    return result;
}

/// IN's file name without its extension; OUT's for standard input; "Untitled" for neither.
std::string DefaultDocName(const std::string& input, const std::string& output) {
    for (const std::string& path : {input, output}) {
        if (!IsStandardStream(path)) {
            return std::filesystem::path(path).stem().string();
        }
    }
    return "Untitled";
}

int Encode(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, true);
    if (const auto status = ConversionArgumentsProblem(parsed, "encode takes IN.txt and OUT.pdb")) {
        return *status;
    }
    const std::string& input = parsed.paths[0];
    const std::string& output = parsed.paths[1];
    const std::string docName = parsed.name.value_or(DefaultDocName(input, output));
    if (HasControlCharacters(docName)) {
        return Refuse("the document name holds control characters; give another with --name");
    }
    return ConvertWithStreams(input, output, [&](const std::string& in, const std::string& out) {
        return tomery::doc::ConvertTextToDoc(in, out, docName);
    });
}

int Info(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, false);
    if (!parsed.problem.empty()) {
        return BadUsage(parsed.problem);
    }
    if (parsed.paths.size() != 1) {
        return BadUsage("info takes IN.pdb");
    }
    std::string input = parsed.paths[0];
    if (!InputExists(input)) {
        return kBadUsage;
    }
    std::optional<TStreamFiles> streams;
    if (IsStandardStream(input)) {
        input = streams.emplace().IsReady() ? streams->SaveStandardInput() : std::string();
        if (input.empty()) {
            std::cerr << "tomery-doc: cannot read standard input\n";
            return kConversionFailed;
        }
    }
    const auto info = tomery::doc::ReadDocInfo(input);
    if (!info.problem.empty()) {
        std::cerr << "tomery-doc: " << parsed.paths[0] << ": " << info.problem << '\n';
        return kConversionFailed;
    }
    std::cout << tomery::doc::FormatDocInfo(info);
    return kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
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
