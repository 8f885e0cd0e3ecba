// tomery-doc: converts between DOC e-texts and plain text from the command line, with the
// same conversion (and the same "Conversion.log") as the editor.
#include "Conversion.h"
#include "ConversionLog.h"
#include "DocFormat.h"
#include "DocInfo.h"
#include "FileAccess.h"
#include "FileReplacement.h"
#include "StandardStreams.h"
#include "TextEncodings.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>

namespace {

using tomery::charset::TCharacterSet;
using tomery::charset::TReplacementLog;
using tomery::cli::IsStandardStream;
using tomery::cli::TStreamFiles;
using tomery::cli::TTextEncoding;

constexpr int kSuccess = 0;
constexpr int kConversionFailed = 1;
constexpr int kBadUsage = 2;

constexpr char kUsage[] =
    "Usage:\n"
    "  tomery-doc decode IN.pdb OUT.txt [--to ENCODING]\n"
    "                                             DOC file to text (CR LF line ends);\n"
    "                                             prints the document name\n"
    "  tomery-doc encode IN.txt OUT.pdb [--name NAME] [--from ENCODING]\n"
    "                                   [--keep-bookmarks-from DOC]\n"
    "                                             text to DOC file; the name defaults to\n"
    "                                             IN's file name without its extension;\n"
    "                                             it stores no bookmarks, or DOC's at\n"
    "                                             their offsets (cut to the text)\n"
    "  tomery-doc info IN.pdb                     describes a DOC file and checks its\n"
    "                                             records as decode does\n"
    "  tomery-doc --help | --version\n"
    "\n"
    "--charset SET names the DOC's character set (default windows-1252), for any command.\n"
    "encode reads a text with a byte order mark, or valid UTF-8, as Unicode and converts\n"
    "it into SET; any other text is taken as bytes of SET. --from reads IN as ENCODING.\n"
    "decode writes the DOC's bytes as they are, or converted into --to's ENCODING.\n"
    "ENCODING is utf-8, utf-16le, utf-16be or a character set. Characters SET lacks are\n"
    "transliterated or become \"?\"; standard error says which.\n"
    "Document names are typed and shown in the terminal's encoding.\n"
    "\n"
    "A path of - is standard input or standard output; after -- every argument is a path.\n"
    "Each conversion writes Conversion.log in the program folder ($TOMERY_HOME when set).\n"
    "A DOC file whose text ends before the length it declares is decoded with a warning.\n"
    "Exit status: 0 on success, 1 when a conversion fails (info: the records are\n"
    "damaged), 2 for bad usage or a missing input file.\n";

int BadUsage(const std::string& problem) {
    std::cerr << "tomery-doc: " << problem << "\n\n" << kUsage;
    return kBadUsage;
}

int Refuse(const std::string& problem) {
    std::cerr << "tomery-doc: " << problem << '\n';
    return kBadUsage;
}

/// A command's paths and the values of its options, by name ("--name"); `problem` says what
/// was wrong with them.
struct Arguments {
    std::vector<std::string> paths;
    std::map<std::string, std::string> options;
    std::string problem;

    const std::string* Option(const std::string& name) const {
        const auto found = options.find(name);
        return found == options.end() ? nullptr : &found->second;
    }
};

/// Reads a command's arguments; each option it takes (`options`) has a value: "--name NAME" or
/// "--name=NAME".
Arguments ParseArguments(const std::vector<std::string>& args,
                         std::initializer_list<std::string_view> options) {
    Arguments parsed;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg == "-" || arg.empty() || arg[0] != '-') {
            parsed.paths.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string option = arg.substr(0, equals);
        if (std::find(options.begin(), options.end(), option) == options.end()) {
            parsed.problem = "unknown option: " + arg;
            return parsed;
        }
        if (equals != std::string::npos) {
            parsed.options[option] = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            parsed.options[option] = args[++i];
        } else {
            parsed.problem = option + " needs a value";
            return parsed;
        }
    }
    return parsed;
}

/// The character sets a command's options name: the DOC's (--charset), and the text file's
/// (--from or --to, whichever the command takes) when one is named.
struct Encodings {
    const TCharacterSet* doc = &tomery::charset::DefaultCharacterSet();
    std::optional<TTextEncoding> text;
    std::string problem;  ///< an unknown name, with the names known
};

Encodings ReadEncodings(const Arguments& parsed) {
    Encodings encodings;
    if (const std::string* name = parsed.Option("--charset")) {
        encodings.doc = tomery::charset::FindCharacterSet(*name);
        if (encodings.doc == nullptr) {
            encodings.problem = "unknown character set: " + *name +
                                "\nknown character sets: " + tomery::cli::CharacterSetNames();
            return encodings;
        }
    }
    for (const char* option : {"--from", "--to"}) {
        if (const std::string* name = parsed.Option(option)) {
            encodings.text = tomery::cli::FindTextEncoding(*name);
            if (!encodings.text) {
                encodings.problem = "unknown encoding for " + std::string(option) + ": " + *name +
                                    "\nknown encodings: " + tomery::cli::TextEncodingNames();
            }
        }
    }
    return encodings;
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
std::optional<int> ConversionArgumentsProblem(const Arguments& parsed, const Encodings& encodings,
                                              const char* usage) {
    if (!parsed.problem.empty()) {
        return BadUsage(parsed.problem);
    }
    if (parsed.paths.size() != 2) {
        return BadUsage(usage);
    }
    if (!encodings.problem.empty()) {
        return Refuse(encodings.problem);
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

/// Set once the log could not be made or written whole, so that no message points to it.
bool logUnusable = false;

void ReportLogError(const std::string& message) {
    std::cerr << message << '\n';
    logUnusable = true;
}

int ReportConversionFailure() {
    std::cerr << "tomery-doc: conversion failed";
    if (!logUnusable) {
        std::cerr << "; see " << tomery::doc::ConversionLogPath();
    }
    std::cerr << '\n';
    return kConversionFailed;
}

/// A DOC file decoded to less than it declares: still a success, with a word on it.
void WarnCutShort(const std::string& input) {
    std::cerr << "tomery-doc: warning: " << input
              << ": the text ends before the length the file declares; the file may be cut "
                 "short\n";
}

void ReportReplacements(const std::string& what, const TReplacementLog& replacements) {
    if (!replacements.Empty()) {
        std::cerr << "tomery-doc: " << what << ": " << replacements.Details() << '\n';
    }
}

/// Writes `text` to `output`, replacing an existing file only when all of it was written.
bool WriteOutput(const std::string& output, std::string_view text) {
    if (IsStandardStream(output)) {
        if (std::cout.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) {
            return true;
        }
        std::cerr << "tomery-doc: cannot write standard output\n";
        return false;
    }
    tomery::FileReplacement file(output);
    if (file.IsOpen() && file.Write(text.data(), text.size()) && file.Commit()) {
        return true;
    }
    std::cerr << "tomery-doc: cannot write " << output;
    if (file.Error() != 0) {
        std::cerr << ": " << file.ErrorText();
    }
    std::cerr << '\n';
    return false;
}

std::string_view AsChars(tomery::doc::ByteView bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string StreamLabel(const std::string& path, const char* stream) {
    return IsStandardStream(path) ? stream : path;
}

/// Sends the decoded text in the private output file on to `output`, written in `encoding`.
bool DeliverDecodedText(const TStreamFiles& streams, const std::string& output,
                        const TCharacterSet& set, const TTextEncoding& encoding) {
    if (encoding.IsBytesOf(set)) {
        return streams.SendOutput();
    }
    const auto decoded = tomery::ReadWholeFile(streams.OutputPath());
    if (!decoded) {
        std::cerr << "tomery-doc: cannot read the decoded text\n";
        return false;
    }
    const tomery::cli::TConvertedText text =
        tomery::cli::WriteText(AsChars(*decoded), set, encoding);
    if (!WriteOutput(output, text.Text)) {
        return false;
    }
    ReportReplacements(StreamLabel(output, "standard output"), text.Replacements);
    return true;
}

int Decode(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {"--charset", "--to"});
    const Encodings encodings = ReadEncodings(parsed);
    if (const auto status =
            ConversionArgumentsProblem(parsed, encodings, "decode takes IN.pdb and OUT.txt")) {
        return *status;
    }
    const TCharacterSet& set = *encodings.doc;
    const std::string& output = parsed.paths[1];
    const TTextEncoding encoding =
        encodings.text.value_or(TTextEncoding{tomery::charset::TFileEncoding::Bytes, &set});
    const bool privately = !encoding.IsBytesOf(set);
    TStreamFiles streams;
    const std::string source = streams.ReadablePath(parsed.paths[0]);
    if (source.empty()) {
        return kConversionFailed;
    }
    const std::string target = streams.WritablePath(output, privately);
    if (target.empty()) {
        return kConversionFailed;
    }
    std::string docName;
    tomery::doc::DocTextFindings findings;
    if (!tomery::doc::ConvertDocToText(source, target, docName, findings)) {
        return ReportConversionFailure();
    }
    if (findings.cutShort) {
        WarnCutShort(parsed.paths[0]);
    }
    if ((privately || IsStandardStream(output)) &&
        !DeliverDecodedText(streams, output, set, encoding)) {
        return kConversionFailed;
    }
    // On standard output the name would run into the text.
    if (!IsStandardStream(output)) {
        std::cout << tomery::cli::ShownName(docName, set) << '\n';
    }
    return kSuccess;
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

/// Says what became of the document name on its way into the DOC: characters the set lacks,
/// and the bytes the DOC file cannot hold.
void ReportDocName(const std::string& docName, const TCharacterSet& set,
                   const TReplacementLog& replacements) {
    ReportReplacements("the document name", replacements);
    const std::string stored = tomery::doc::StoredDocName(docName);
    if (stored.size() < docName.size()) {
        std::cerr << "tomery-doc: the document name is cut to the " << stored.size()
                  << " characters a DOC file holds: " << tomery::cli::ShownName(stored, set)
                  << '\n';
    }
}

/// The text file at `path` read as `encoding` and converted into `set`, in a private file: its
/// path, or empty (said on standard error) when it cannot be made.
std::string ConvertedInput(const std::string& path, const TCharacterSet& set,
                           const TTextEncoding& encoding, TStreamFiles& streams,
                           TReplacementLog& replacements) {
    const auto file = tomery::ReadWholeFile(path);
    if (!file) {
        std::cerr << "tomery-doc: cannot read " << path << '\n';
        return {};
    }
    tomery::cli::TConvertedText text = tomery::cli::ReadText(AsChars(*file), set, encoding);
    replacements = std::move(text.Replacements);
    return streams.SaveConvertedInput(text.Text);
}

/// Encodes `input` as the DOC file `output`; a text that is not bytes of `set` already (as
/// --from says, else as its bytes tell) is converted into it first.
int EncodeFile(const std::string& input, const std::string& output, const std::string& docName,
               const TCharacterSet& set, const std::optional<TTextEncoding>& from,
               const std::vector<tomery::doc::TBookmarkToStore>& bookmarks) {
    TStreamFiles streams;
    std::string source = streams.ReadablePath(input);
    if (source.empty()) {
        return kConversionFailed;
    }
    const std::string target = streams.WritablePath(output, false);
    if (target.empty()) {
        return kConversionFailed;
    }
    // ASCII reads alike in every encoding offered, so the text is encoded as bytes of the set
    // while its blocks hold nothing else, and sniffed at the first block that does: an ASCII
    // text is read once, not twice. A text that proves not to be bytes of the set stops that
    // conversion and is converted into the set first.
    std::optional<TTextEncoding> encoding = from;
    const auto bytesOfTheSet = [&] { return !encoding || encoding->IsBytesOf(set); };
    tomery::doc::ConversionOptions options = tomery::doc::BuiltInConversionOptions();
    if (!from) {
        options.acceptBlock = [&](tomery::doc::ByteView block) {
            if (!encoding && !tomery::charset::IsAscii(AsChars(block))) {
                encoding = tomery::cli::SniffTextFile(source, set);
            }
            return bytesOfTheSet();
        };
    }
    bool encoded = bytesOfTheSet() &&
                   tomery::doc::ConvertTextToDoc(source, target, docName, options, bookmarks);
    TReplacementLog replacements;
    if (!bytesOfTheSet()) {
        source = ConvertedInput(source, set, *encoding, streams, replacements);
        if (source.empty()) {
            return kConversionFailed;
        }
        encoded = tomery::doc::ConvertTextToDoc(source, target, docName, bookmarks);
    }
    if (!encoded) {
        return ReportConversionFailure();
    }
    if (IsStandardStream(output) && !streams.SendOutput()) {
        return kConversionFailed;
    }
    ReportReplacements(StreamLabel(input, "standard input"), replacements);
    return kSuccess;
}

/// The bookmarks stored in the DOC file `path`, to be stored again at the same offsets.
std::optional<std::vector<tomery::doc::TBookmarkToStore>> BookmarksKeptFrom(
    const std::string& path) {
    if (!InputExists(path)) {
        return std::nullopt;
    }
    const tomery::doc::DocInfo info = tomery::doc::ReadDocInfo(path);
    if (!info.problem.empty()) {
        std::cerr << "tomery-doc: " << path << ": " << info.problem << '\n';
        return std::nullopt;
    }
    std::vector<tomery::doc::TBookmarkToStore> kept;
    for (const tomery::doc::TStoredBookmark& bookmark : tomery::doc::ReadStoredBookmarks(path)) {
        kept.push_back({bookmark.Name, 0, bookmark.Offset});
    }
    return kept;
}

int Encode(const std::vector<std::string>& args) {
    const Arguments parsed =
        ParseArguments(args, {"--name", "--charset", "--from", "--keep-bookmarks-from"});
    const Encodings encodings = ReadEncodings(parsed);
    if (const auto status =
            ConversionArgumentsProblem(parsed, encodings, "encode takes IN.txt and OUT.pdb")) {
        return *status;
    }
    const TCharacterSet& set = *encodings.doc;
    const std::string& input = parsed.paths[0];
    const std::string& output = parsed.paths[1];
    const std::string* name = parsed.Option("--name");
    TReplacementLog nameReplacements;
    const std::string docName =
        tomery::cli::TypedName(name ? *name : DefaultDocName(input, output), set, nameReplacements);
    if (HasControlCharacters(docName)) {
        return Refuse("the document name holds control characters; give another with --name");
    }
    std::vector<tomery::doc::TBookmarkToStore> bookmarks;
    if (const std::string* from = parsed.Option("--keep-bookmarks-from")) {
        auto kept = BookmarksKeptFrom(*from);
        if (!kept) {
            return kBadUsage;
        }
        bookmarks = std::move(*kept);
    }
    const int result = EncodeFile(input, output, docName, set, encodings.text, bookmarks);
    if (result == kSuccess) {
        ReportDocName(docName, set, nameReplacements);
    }
    return result;
}

int Info(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, {"--charset"});
    const Encodings encodings = ReadEncodings(parsed);
    if (!parsed.problem.empty()) {
        return BadUsage(parsed.problem);
    }
    if (parsed.paths.size() != 1) {
        return BadUsage("info takes IN.pdb");
    }
    if (!encodings.problem.empty()) {
        return Refuse(encodings.problem);
    }
    if (!InputExists(parsed.paths[0])) {
        return kBadUsage;
    }
    TStreamFiles streams;
    const std::string input = streams.ReadablePath(parsed.paths[0]);
    if (input.empty()) {
        return kConversionFailed;
    }
    auto info = tomery::doc::ReadDocInfo(input);
    if (!info.problem.empty()) {
        std::cerr << "tomery-doc: " << parsed.paths[0] << ": " << info.problem << '\n';
        return kConversionFailed;
    }
    info.name = tomery::cli::ShownName(info.name, *encodings.doc);
    std::cout << tomery::doc::FormatDocInfo(info);
    if (!info.damage.empty()) {
        std::cerr << "tomery-doc: " << parsed.paths[0] << ": damaged: " << info.damage << '\n';
        return kConversionFailed;
    }
    if (info.cutShort) {
        WarnCutShort(parsed.paths[0]);
    }
    return kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    tomery::doc::SetLogErrorReporter(ReportLogError);
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
