#include "ErrorHandler.h"

#include "WorkProgress.h"

#include <exception>

namespace tomery::app {

void ShowErrorBox(TModalUi& ui, const std::string& boxText) {
    ui.MessageBox(kErrorBoxCaption, boxText, TMsgIcon::Error, {TMsgButton::Ok});
}

bool RunGuarded(TModalUi& ui, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const EWorkCancelled&) {
        return false;  // the user stopped it: nothing to report
    } catch (const std::exception& error) {
        ShowErrorBox(ui, ErrorBoxText(error.what()));
        return false;
    }
}

}  // namespace tomery::app
