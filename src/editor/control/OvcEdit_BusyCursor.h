// The hourglass cursor shown while a long editor operation runs.
#pragma once

#include <QApplication>

namespace tomery::editor {

/// The busy cursor for as long as it lives.
class TBusyCursor {
  public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace tomery::editor
