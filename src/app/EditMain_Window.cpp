#include "EditMain_Window.h"

#include "LongWork.h"

#include <QDropEvent>
#include <QMimeData>

#include <algorithm>

namespace tomery::app {

QRect PlaceWindow(QSize stored, const QRect& available) {
    const int width =
        std::min(std::max(stored.width(), kMinimumWindowSize.width()), available.width());
    const int height =
        std::min(std::max(stored.height(), kMinimumWindowSize.height()), available.height());
    return {available.left() + (available.width() - width) / 2,
            available.top() + (available.height() - height) / 2, width, height};
}

std::optional<Qt::DropAction> FileDropAction(Qt::DropActions offered, Qt::DropAction proposed) {
    if (proposed == Qt::CopyAction || proposed == Qt::LinkAction) {
        return proposed;
    }
    for (const Qt::DropAction harmless : {Qt::CopyAction, Qt::LinkAction}) {
        if (offered.testFlag(harmless)) {
            return harmless;
        }
    }
    return std::nullopt;
}

bool AcceptFileDrop(QDropEvent& event) {
    // While long work runs on the document, no file is taken.
    const auto action = event.mimeData()->hasUrls() && !TLongWork::Running()
                            ? FileDropAction(event.possibleActions(), event.proposedAction())
                            : std::nullopt;
    if (!action) {
        event.ignore();
        return false;
    }
    event.setDropAction(*action);
    event.accept();
    return true;
}

}  // namespace tomery::app
