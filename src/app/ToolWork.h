// The long work of the Tools menu's commands and of File > Append: done on the GUI thread with
// the window kept alive, its progress shown after half a second with Cancel (TLongWork).
#pragma once

#include "LongWork.h"

#include <QString>

#include <optional>
#include <utility>

class QWidget;

namespace tomery::app {

/// What `work` (given the progress to tell) returns, run as long work over `window` with
/// `label`; nothing when the user cancelled it. The work changes nothing before its last
/// report, so that Cancel leaves no trace.
template <typename Work>
auto RunToolWork(QWidget& window, const QString& label, Work work)
    -> std::optional<decltype(work(TWorkProgress()))> {
    TLongWork longWork(window, label);
    const TWorkProgress progress = longWork.Progress();
    try {
        return work(progress);
    } catch (const EWorkCancelled&) {
        return std::nullopt;
    }
}

}  // namespace tomery::app
