// Whether the editor has a display to show its window on, asked before the application exists:
// without one the toolkit would abort the program with a message about reinstalling it.
#pragma once

#include <QStringList>

#include <functional>
#include <string>

namespace tomery::app {

/// An environment variable's value; "" when it is unset.
using TEnvironment = std::function<std::string(const char* name)>;

/// The environment of this process.
std::string ProcessEnvironment(const char* name);

/// "" when the window can be shown: the platform chosen by the -platform option or else by
/// QT_QPA_PLATFORM (a list separated by ';', the first that works is taken) needs a display
/// that is there: an X display for xcb (DISPLAY or the -display option), a Wayland display for
/// wayland (WAYLAND_DISPLAY), none for the others (offscreen, minimal, vnc ...); without a
/// chosen platform either display will do. Otherwise one line for standard error saying what
/// is missing and how else to run the program. `arguments` starts with the program's name.
std::string MissingDisplayMessage(const QStringList& arguments, const TEnvironment& environment);

}  // namespace tomery::app
