#include "OvcPrimarySelection.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tomery::editor {

bool TPrimarySelection::Available() const {
    return QGuiApplication::clipboard()->supportsSelection();
}

QString TPrimarySelection::Text() const {
    return Available() ? QGuiApplication::clipboard()->text(QClipboard::Selection) : QString();
}

void TPrimarySelection::SetText(const QString& text) {
    if (Available()) {
        QGuiApplication::clipboard()->setText(text, QClipboard::Selection);
    }
}

}  // namespace tomery::editor
