// What the editor's command line asks for: a file to open at start, or help, the version or
// a usage error printed instead of starting.
#pragma once

#include <QStringList>

#include <string>

namespace tomery::app {

struct TCommandLineRequest {
    bool exitNow = false;    ///< print `message` and end with `exitCode` instead of starting
    int exitCode = 0;        ///< 0 for --help and --version, 2 for bad usage
    std::string message;     ///< for standard output when exitCode is 0, else standard error
    std::string fileToOpen;  ///< absolute path; empty when no file was named
};

/// The program's arguments as the parser reads them. Arguments are bytes, and a file's name
/// need not be UTF-8: each argument keeps its exact bytes for the path it may name.
QStringList ArgumentsOf(int argc, const char* const* argv);

/// Reads `arguments` (the program's name first). Before the application has taken its own
/// options (-platform, -style ...) only --help and --version are answered, so that they work
/// without a display; `qtOptionsRemoved` asks for the full reading.
TCommandLineRequest ParseCommandLine(const QStringList& arguments, bool qtOptionsRemoved);

}  // namespace tomery::app
