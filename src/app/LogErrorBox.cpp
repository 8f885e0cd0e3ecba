#include "LogErrorBox.h"

#include "ConversionLog.h"
#include "ModalUi.h"

namespace tomery::app {

TLogErrorBox::TLogErrorBox(TModalUi& ui) {
    doc::SetLogErrorReporter([&ui](const std::string& message) {
        ui.MessageBox("Error", message, TMsgIcon::Error, {TMsgButton::Ok});
    });
}

TLogErrorBox::~TLogErrorBox() {
    doc::SetLogErrorReporter({});
}

}  // namespace tomery::app
