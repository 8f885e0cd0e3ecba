// Tomery: a desktop editor for Palm DOC e-texts and plain text files.
#include "Application.h"
#include "CommandLine.h"
#include "EditMain.h"

#include <iostream>

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

int Finish(const tomery::app::TCommandLineRequest& request) {
    (request.exitCode == 0 ? std::cout : std::cerr) << request.message;
    return request.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    // Help and version are answered before the application needs a display.
    if (const auto early = tomery::app::ParseCommandLine(Arguments(argc, argv), false);
        early.exitNow) {
        return Finish(early);
    }
    tomery::app::TApplication application(argc, argv);
    tomery::app::TApplication::setApplicationName(QStringLiteral("Tomery"));
    const auto request =
        tomery::app::ParseCommandLine(tomery::app::TApplication::arguments(), true);
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
