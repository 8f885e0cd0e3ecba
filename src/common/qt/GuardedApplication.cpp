#include "GuardedApplication.h"

#include <QMessageBox>
#include <exception>
#include <iostream>

#include "ErrorBoxText.h"

namespace tomery {

bool NotifyGuarded(QApplication& application, QObject* receiver, QEvent* event,
                   const TErrorReporter& report) {
    try {
        return application.QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        report(ErrorBoxText(error.what()));
        return true;
    }
}

void ShowErrorBox(const std::string& boxText) {
    QMessageBox box(QMessageBox::Critical, kErrorBoxCaption, QString::fromStdString(boxText),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void ReportToStandardError(const std::string& boxText) {
    std::cerr << kErrorBoxCaption << ": " << boxText << '\n';
}

TGuardedApplication::TGuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv), report_(ReportToStandardError) {}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event) {
    return NotifyGuarded(*this, receiver, event, report_);
}

}  // namespace tomery
