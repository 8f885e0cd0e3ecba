// Tomery: a desktop editor for Palm DOC e-texts and plain text files.
#include "Application.h"
#include "EditMain.h"

int main(int argc, char** argv) {
    tomery::app::TApplication application(argc, argv);
    tomery::app::TApplication::setApplicationName(QStringLiteral("Tomery"));
    tomery::app::TEditForm window;
    application.SetErrorUi(&window.Ui());
    window.show();
    const int status = tomery::app::TApplication::exec();
    application.SetErrorUi(nullptr);
    return status;
}
