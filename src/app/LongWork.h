// Long work done on the GUI thread without freezing the window: while it runs, pending events
// are processed now and then, so that the window repaints; after half a second a progress
// dialog shows the percent done, with Cancel.
#pragma once

#include "WorkProgress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace tomery::app {

class TLongWork {
  public:
    /// Work that shows no dialog when it ends within this time.
    static constexpr int kDialogDelayMs = 500;
    /// Events are processed at most this often, so that reporting stays cheap.
    static constexpr int kEventIntervalMs = 40;

    /// Work over `window`; `label` tells the user what runs ("Opening book.pdb").
    TLongWork(QWidget& window, QString label);
    ~TLongWork();
    TLongWork(const TLongWork&) = delete;
    TLongWork& operator=(const TLongWork&) = delete;

    /// The report function to hand to the work; valid while this object lives.
    TWorkProgress Progress();
    /// `done` of `total` bytes are done: processes events when it is time, and shows or updates
    /// the dialog. False once the user cancelled.
    bool Report(std::uint64_t done, std::uint64_t total);
    bool Cancelled() const { return cancelled_; }
    /// The dialog, while it shows; null before the delay has passed.
    QProgressDialog* Dialog() const { return dialog_; }

    /// Whether long work is running: what would change the document or ask the user something
    /// meanwhile (timers, the watch on the file, closing the window) waits until it ended.
    static bool Running();

    /// Runs at every report of long work, before it is answered: tests slow the work with it
    /// and act as the user would. An empty function removes it.
    static void SetReportHook(std::function<void(TLongWork&)> hook);

  private:
    void ShowDialog();

    QWidget& window_;
    QString label_;
    QElapsedTimer started_;
    QElapsedTimer sinceEvents_;
    QPointer<QProgressDialog> dialog_;
    bool cancelled_ = false;
};

}  // namespace tomery::app
