#include "OvcBase.h"

#include <QDebug>

namespace tomery::editor {

TOvcBase::TOvcBase(QWidget* parent) : QAbstractScrollArea(parent) {}

void TOvcBase::HandleNeeded() {
    if (!handleAllocated_) {
        CreateWnd();
        handleAllocated_ = true;
    }
}

void TOvcBase::CreateWnd() {
    if (controller_ != nullptr) {
        return;
    }
    if (auto* component = window()->findChild<TOvcControllerComponent*>()) {
        controller_ = &component->Controller();
        return;
    }
    throw ENoControllerAssigned();
}

void TOvcBase::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    // An exception must not cross the event loop; the control stays without a window (it
    // paints but takes no keys) and says why.
    try {
        HandleNeeded();
    } catch (const EOvcException& error) {
        qWarning("%s", error.what());
    }
}

}  // namespace tomery::editor
