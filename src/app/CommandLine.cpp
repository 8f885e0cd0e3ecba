#include "CommandLine.h"

#include "PathText.h"

#include <QCommandLineParser>

#include <filesystem>

namespace tomery::app {

namespace {

constexpr char kUsageLine[] = "Usage: tomery [options] [FILE]";

std::string UsageError(const QString& problem) {
    return "tomery: " + problem.toStdString() + "\n" + kUsageLine + "\n";
}

}  // namespace

QStringList ArgumentsOf(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << PathToQt(argv[i]);
    }
    return arguments;
}

TCommandLineRequest ParseCommandLine(const QStringList& arguments, bool qtOptionsRemoved) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tomery edits Palm DOC e-texts (.pdb, .prc) and plain text files."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and exits."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A DOC e-text or text file to open at start."),
                                 QStringLiteral("[FILE]"));
    const bool parsed = parser.parse(arguments);

    TCommandLineRequest request;
    if (parser.isSet(help)) {
        request.exitNow = true;
        // The parser's usage line names whatever started the program (or nothing before an
        // application exists): the program's own name is the one a user types.
        const QString text = parser.helpText();
        request.message = kUsageLine + text.mid(text.indexOf(u'\n')).toStdString();
        return request;
    }
    if (parser.isSet(version)) {
        request.exitNow = true;
        request.message = std::string("tomery ") + TOMERY_VERSION + "\n";
        return request;
    }
    if (!qtOptionsRemoved) {
        return request;
    }
    const QStringList files = parser.positionalArguments();
    if (!parsed || files.size() > 1) {
        request.exitNow = true;
        request.exitCode = 2;
        request.message = UsageError(parsed ? QStringLiteral("only one file can be opened")
                                            : parser.errorText());
        return request;
    }
    if (!files.isEmpty()) {
        const std::filesystem::path named = PathFromQt(files.front());
        // Without a current folder (removed under the program) the name stays as typed.
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(named, error);
        request.fileToOpen = (error ? named : absolute).lexically_normal().string();
    }
    return request;
}

}  // namespace tomery::app
