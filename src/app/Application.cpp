#include "Application.h"

#include "ErrorHandler.h"

namespace tomery::app {

void TApplication::SetErrorUi(TModalUi* ui) {
    if (ui == nullptr) {
        SetErrorReporter(ReportToStandardError);
    } else {
        SetErrorReporter([ui](const std::string& boxText) { ShowErrorBox(*ui, boxText); });
    }
}

}  // namespace tomery::app
