// Tomery: a desktop editor for Palm DOC e-texts and plain text files.
#include "EditMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tomery"));
    tomery::app::TEditForm window;
    window.show();
    return QApplication::exec();
}
