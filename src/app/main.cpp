// Tomery: a desktop editor for Palm DOC e-texts and plain text files.
#include "Application.h"
#include "CommandLine.h"
#include "DisplayCheck.h"
#include "EditMain.h"

#include <iostream>
#include <string>

namespace {

int Finish(const tomery::app::TCommandLineRequest& request) {
    (request.exitCode == 0 ? std::cout : std::cerr) << request.message;
    return request.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    // Help and version are answered before the application needs a display.
    if (const auto early =
            tomery::app::ParseCommandLine(tomery::app::ArgumentsOf(argc, argv), false);
        early.exitNow) {
        return Finish(early);
    }
    if (const std::string missing = tomery::app::MissingDisplayMessage(
            tomery::app::ArgumentsOf(argc, argv), tomery::app::ProcessEnvironment);
        !missing.empty()) {
        std::cerr << missing;
        return 1;
    }
    tomery::app::TApplication application(argc, argv);
    tomery::app::TApplication::setApplicationName(QStringLiteral("Tomery"));
    // The application has taken its own options out of argv; its arguments() would read the
    // rest as UTF-8 and lose the bytes of a file name that is not.
    const auto request = tomery::app::ParseCommandLine(tomery::app::ArgumentsOf(argc, argv), true);
    if (request.exitNow) {
        return Finish(request);
    }
    tomery::app::TEditForm window;
    application.SetErrorUi(&window.Ui());
    window.show();
    if (!request.fileToOpen.empty()) {
        window.OpenNamedFile(request.fileToOpen);
    }
    window.OfferLeftWork();
    const int status = tomery::app::TApplication::exec();
    application.SetErrorUi(nullptr);
    return status;
}
