// Rules of the main window that meet the window system: where the window starts and which
// dropped files it takes.
#pragma once

#include <QRect>
#include <QSize>
#include <Qt>

#include <optional>

class QDropEvent;

namespace tomery::app {

/// The smallest window the settings file may ask for: menus, a few lines and the status bar.
inline constexpr QSize kMinimumWindowSize{320, 200};

/// The window's start geometry: the stored size kept within the screen's available area and
/// no smaller than kMinimumWindowSize (the area wins on a smaller screen), centred on the area.
QRect PlaceWindow(QSize stored, const QRect& available);

/// The action a drop of files is accepted with: a copy or a link, never a move, which would
/// let the drag source delete the original file. Nothing when the source offers neither.
std::optional<Qt::DropAction> FileDropAction(Qt::DropActions offered, Qt::DropAction proposed);

/// Accepts a drag or drop that carries files with FileDropAction's action, else ignores it.
/// Returns whether it was accepted.
bool AcceptFileDrop(QDropEvent& event);

}  // namespace tomery::app
