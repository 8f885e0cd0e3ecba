#include "Application.h"

#include "ErrorHandler.h"

#include <iostream>

namespace tomery::app {

bool TApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    const auto deliver = [&] { handled = QApplication::notify(receiver, event); };
    if (ui_ != nullptr) {
        // An event that failed counts as handled: the command it started has stopped.
        return RunGuarded(*ui_, deliver) ? handled : true;
    }
    try {
        deliver();
    } catch (const std::exception& error) {
        std::cerr << "Tomery: " << ErrorBoxText(error.what()) << '\n';
        return true;
    }
    return handled;
}

}  // namespace tomery::app
