// The application's error handler: every command runs inside it, and an error that no
// command handled becomes the "Tomery" error box; the program goes on.
#pragma once

#include "ModalUi.h"

#include <functional>
#include <string>

namespace tomery::app {

/// Shows the "Tomery" error box with `boxText` (ErrorBoxText of an error's message).
void ShowErrorBox(TModalUi& ui, const std::string& boxText);

/// Runs `command`; an exception derived from std::exception is shown through `ui` as the
/// "Tomery" error box. Returns false when the command ended in such an error.
bool RunGuarded(TModalUi& ui, const std::function<void()>& command);

}  // namespace tomery::app
