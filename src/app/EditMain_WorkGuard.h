// What keeps the main window's document from being lost: a recovery copy of unsaved changes
// kept a few seconds after they were made, a watch on the document's file for changes other
// programs make, and the copies an earlier session left behind, offered at start.
#pragma once

#include "RecoveryCopies.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <string>

class QWidget;

namespace tomery::app {

class TDocumentWorkflow;
class TDocumentEditor;
class TModalUi;

class TUnsavedWorkGuard : public QObject {
  public:
    /// Watches `window` for regaining the focus.
    TUnsavedWorkGuard(QWidget& window, TDocumentWorkflow& workflow, TDocumentEditor& editor,
                      TModalUi& ui);

    /// The document was saved, opened, closed or lost its file: the recovery copy goes when
    /// nothing is left unsaved, and the watch follows the document's file.
    void Settled();
    /// The window closes with the user's consent: nothing is left to recover.
    void WindowClosing();
    /// Removes what killed saves left and offers each copy an ended session left behind:
    /// recover, discard, or decide later.
    void OfferLeftCopies();
    /// Writes the recovery copy now (waiting for it) rather than after the delay.
    void KeepCopyNow();

    /// How often the text is looked at: a change is in the recovery copy after at most
    /// this long and the time it takes to write.
    static constexpr int kCopyDelayMs = 2000;
    /// Changes to a file come in bursts: one look after the burst.
    static constexpr int kDiskSettleMs = 200;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// Keeps the text when it changed since the last copy; removes the copy when nothing is
    /// left unsaved.
    void KeepCopy();
    void WatchDiskFile();
    void DiskEntryChanged();
    void CheckDiskFile();
    void OfferLeftCopy(const TLeftCopy& copy);

    QWidget& window_;
    TDocumentWorkflow& workflow_;
    TDocumentEditor& editor_;
    TModalUi& ui_;
    TRecoveryKeeper keeper_;
    QTimer copyTimer_;
    std::optional<std::uint64_t> copiedChange_;  ///< the text's change count in the copy
    bool copyKept_ = false;
    QTimer diskSettle_;
    QFileSystemWatcher watcher_;
    std::string watchedFile_;
};

}  // namespace tomery::app
