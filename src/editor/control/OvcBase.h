// The base of the editor control: a scrollable window with its own canvas, attached to a
// controller that holds the key tables and the state the editors of one window share.
#pragma once

#include <QAbstractScrollArea>
#include <QObject>

#include "OvcController.h"

namespace tomery::editor {

/// A controller placed on a form: a window's editors without a controller of their own
/// take the first one among the window's children.
class TOvcControllerComponent : public QObject {
    Q_OBJECT
  public:
    explicit TOvcControllerComponent(QObject* parent) : QObject(parent) {}
    TOvcController& Controller() { return controller_; }

  private:
    TOvcController controller_;
};

class TOvcBase : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit TOvcBase(QWidget* parent = nullptr);

    /// Not owned; it must outlive the control.
    TOvcController* Controller() const { return controller_; }
    void SetController(TOvcController* controller) { controller_ = controller; }

    /// The window exists: it was shown or asked for.
    bool HandleAllocated() const { return handleAllocated_; }
    /// Creates the window when it does not exist yet (CreateWnd).
    void HandleNeeded();

  protected:
    /// Window creation: without a controller takes the first one on the form, and raises
    /// ENoControllerAssigned when there is none.
    virtual void CreateWnd();
    void showEvent(QShowEvent* event) override;

  private:
    TOvcController* controller_ = nullptr;
    bool handleAllocated_ = false;
};

}  // namespace tomery::editor
