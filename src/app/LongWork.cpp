#include "LongWork.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QWidget>

namespace tomery::app {

namespace {

int runningWork = 0;

std::function<void(TLongWork&)>& ReportHook() {
    static std::function<void(TLongWork&)> hook;
    return hook;
}

int Percent(std::uint64_t done, std::uint64_t total) {
    if (total == 0 || done >= total) {
        return 100;
    }
    return static_cast<int>(done * 100 / total);
}

}  // namespace

TLongWork::TLongWork(QWidget& window, QString label) : window_(window), label_(std::move(label)) {
    started_.start();
    sinceEvents_.start();
    ++runningWork;
}

TLongWork::~TLongWork() {
    --runningWork;
    delete dialog_.data();
}

bool TLongWork::Running() {
    return runningWork > 0;
}

TWorkProgress TLongWork::Progress() {
    return [this](std::uint64_t done, std::uint64_t total) { return Report(done, total); };
}

void TLongWork::SetReportHook(std::function<void(TLongWork&)> hook) {
    ReportHook() = std::move(hook);
}

bool TLongWork::Report(std::uint64_t done, std::uint64_t total) {
    if (ReportHook()) {
        ReportHook()(*this);
    }
    if (cancelled_ || sinceEvents_.elapsed() < kEventIntervalMs) {
        return !cancelled_;
    }
    if (dialog_ == nullptr && started_.elapsed() >= kDialogDelayMs) {
        ShowDialog();
    }
    if (dialog_ != nullptr) {
        dialog_->setValue(Percent(done, total));
    }
    // Until the dialog shows, the user's keys and clicks wait for the work to end; while it
    // shows, it keeps them from the window.
    QCoreApplication::processEvents(dialog_ != nullptr ? QEventLoop::AllEvents
                                                       : QEventLoop::ExcludeUserInputEvents);
    sinceEvents_.start();
    return !cancelled_;
}

void TLongWork::ShowDialog() {
    auto* dialog = new QProgressDialog(label_, QObject::tr("&Cancel"), 0, 100, &window_);
    dialog->setWindowTitle(QCoreApplication::applicationName());
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    QObject::connect(dialog, &QProgressDialog::canceled, [this] { cancelled_ = true; });
    dialog_ = dialog;
    dialog->show();
}

}  // namespace tomery::app
