// The text of the program's error box, shared by every program that shows one.
#pragma once

#include <string>

namespace tomery {

/// The caption of the box in which an error that no command handled is shown.
inline constexpr const char* kErrorBoxCaption = "Tomery";

/// The error's message with a full stop added when its last character's code lies above the
/// full stop's.
std::string ErrorBoxText(const std::string& message);

}  // namespace tomery
