#include "ErrorHandler.h"

#include <exception>

namespace tomery::app {

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + ".";
    }
    return message;
}

bool RunGuarded(TModalUi& ui, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        ui.MessageBox("Tomery", ErrorBoxText(error.what()), TMsgIcon::Error, {TMsgButton::Ok});
        return false;
    }
}

}  // namespace tomery::app
