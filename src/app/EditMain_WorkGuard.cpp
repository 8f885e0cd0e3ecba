#include "EditMain_WorkGuard.h"

#include "EditMain_Document.h"
#include "EditMain_Workflow.h"
#include "ErrorHandler.h"
#include "FileReplacement.h"
#include "LongWork.h"
#include "ModalUi.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace tomery::app {

namespace {

/// The path as Qt's file watcher names files. A name that is not UTF-8 cannot be watched;
/// the look at the file when the window gets the focus back still finds its changes.
QString WatchedPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string LeftCopyQuestion(const TLeftCopy& copy) {
    if (copy.InPlace) {
        return "Saving " + copy.Contents.Field(kCopyOfField) +
               " was interrupted while the file was being rewritten, so the file may be "
               "incomplete. A copy of its contents from before that save was kept.\n\n"
               "Recover that text (and save it again), discard the copy, or decide later?";
    }
    const std::string file = copy.Contents.Field(recovery::kFile);
    return "Changes to " + (file.empty() ? std::string(kUntitled) : file) +
           " that were never saved were kept when Tomery last ended (" +
           copy.Contents.Field(recovery::kKeptAt) +
           ").\n\nRecover that text, discard it, or decide later?";
}

}  // namespace

TUnsavedWorkGuard::TUnsavedWorkGuard(QWidget& window, TDocumentWorkflow& workflow,
                                     TDocumentEditor& editor, TModalUi& ui)
    : window_(window), workflow_(workflow), editor_(editor), ui_(ui) {
    copyTimer_.setInterval(kCopyDelayMs);
    connect(&copyTimer_, &QTimer::timeout, this, [this] { KeepCopy(); });
    copyTimer_.start();
    diskSettle_.setSingleShot(true);
    diskSettle_.setInterval(kDiskSettleMs);
    connect(&diskSettle_, &QTimer::timeout, this, [this] {
        if (window_.isActiveWindow()) {
            CheckDiskFile();
        }
    });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { DiskEntryChanged(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
            [this] { DiskEntryChanged(); });
    window_.installEventFilter(this);
}

void TUnsavedWorkGuard::Settled() {
    // Another text, or the same one under another name: the next look keeps it afresh.
    copiedChange_.reset();
    KeepCopy();
    WatchDiskFile();
}

void TUnsavedWorkGuard::WindowClosing() {
    copyTimer_.stop();
    keeper_.Remove();
    keeper_.Wait();
}

void TUnsavedWorkGuard::KeepCopy() {
    // Long work may be replacing the text: the next look comes after it.
    if (TLongWork::Running()) {
        return;
    }
    if (!editor_.Modified()) {
        if (copyKept_) {
            keeper_.Remove();
            copyKept_ = false;
        }
        copiedChange_.reset();
        return;
    }
    const std::uint64_t change = editor_.ChangeCount();
    if (copiedChange_ == change) {
        return;
    }
    // The text is taken here, at once; writing it to disk happens on the keeper's thread.
    RunGuarded(ui_, [&] {
        keeper_.Keep(workflow_.RecoveryFields(), workflow_.RecoveryText());
        copiedChange_ = change;
        copyKept_ = true;
    });
}

void TUnsavedWorkGuard::KeepCopyNow() {
    copiedChange_.reset();
    KeepCopy();
    keeper_.Wait();
}

void TUnsavedWorkGuard::WatchDiskFile() {
    const std::string file = workflow_.DiskFile();
    if (file == watchedFile_ && (file.empty() || !watcher_.files().isEmpty())) {
        return;
    }
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    if (!watcher_.directories().isEmpty()) {
        watcher_.removePaths(watcher_.directories());
    }
    watchedFile_ = file;
    if (file.empty()) {
        return;
    }
    // The folder too: a program that saves by renaming a new file over the old one leaves
    // the watch on a file that is gone.
    const QString path = WatchedPath(file);
    watcher_.addPath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path)) {
        watcher_.addPath(path);
    }
}

void TUnsavedWorkGuard::DiskEntryChanged() {
    const QString path = WatchedPath(watchedFile_);
    if (!watchedFile_.empty() && !watcher_.files().contains(path) && QFileInfo::exists(path)) {
        watcher_.addPath(path);  // the file came back, under a new identity
    }
    diskSettle_.start();
}

void TUnsavedWorkGuard::CheckDiskFile() {
    // Its questions wait until long work on the document ended.
    if (TLongWork::Running()) {
        diskSettle_.start();
        return;
    }
    RunGuarded(ui_, [this] { workflow_.CheckDiskFile(); });
    WatchDiskFile();
}

bool TUnsavedWorkGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowActivate) {
        CheckDiskFile();
    }
    return QObject::eventFilter(watched, event);
}

void TUnsavedWorkGuard::OfferLeftCopies() {
    RemoveStaleSaveTemporaries();
    for (const TLeftCopy& copy : LeftCopies()) {
        OfferLeftCopy(copy);
    }
}

void TUnsavedWorkGuard::OfferLeftCopy(const TLeftCopy& copy) {
    switch (ui_.MessageBox("Recover", LeftCopyQuestion(copy), TMsgIcon::Confirmation,
                           {TMsgButton::Recover, TMsgButton::Discard, TMsgButton::Later})) {
        case TMsgButton::Recover: {
            bool recovered = false;
            RunGuarded(ui_, [&] { recovered = workflow_.OpenLeftCopy(copy.Contents, copy.InPlace); });
            if (recovered) {
                // This session's own copy is on disk before the old one goes.
                KeepCopyNow();
                RemoveLeftCopy(copy.Path);
            }
            break;
        }
        case TMsgButton::Discard:
            RemoveLeftCopy(copy.Path);
            break;
        default:
            break;
    }
}

}  // namespace tomery::app
