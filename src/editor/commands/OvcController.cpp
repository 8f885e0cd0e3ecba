#include "OvcController.h"

#include <utility>

namespace tomery::editor {

namespace {

/// Calls an event when it is assigned.
template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args) {
    if (event) {
        event(std::forward<Args>(args)...);
    }
}

}  // namespace

TOvcTimerPool::~TOvcTimerPool() {
    SetDriver(nullptr);
}

void TOvcTimerPool::SetDriver(TOvcTimerDriver* driver) {
    if (driver == driver_) {
        return;
    }
    if (driver_ != nullptr) {
        for (const auto& [handle, interval] : intervals_) {
            driver_->StopTimer(handle);
        }
    }
    driver_ = driver;
    if (driver_ != nullptr) {
        for (const auto& [handle, interval] : intervals_) {
            driver_->StartTimer(handle, interval);
        }
    }
}

int TOvcTimerPool::Add(int intervalMs) {
    if (intervalMs < 1) {
        return 0;
    }
    const int handle = ++lastHandle_;
    intervals_.emplace(handle, intervalMs);
    if (driver_ != nullptr) {
        driver_->StartTimer(handle, intervalMs);
    }
    return handle;
}

void TOvcTimerPool::Remove(int handle) {
    if (intervals_.erase(handle) != 0 && driver_ != nullptr) {
        driver_->StopTimer(handle);
    }
}

int TOvcTimerPool::Interval(int handle) const {
    const auto found = intervals_.find(handle);
    return found == intervals_.end() ? 0 : found->second;
}

void TOvcTimerPool::Trigger(int handle) {
    const int interval = Interval(handle);
    if (interval != 0 && onTrigger_) {
        onTrigger_(handle, interval);
    }
}

TOvcController::TOvcController()
    : timerPool_([this](int handle, int intervalMs) { DoOnTimerTrigger(handle, intervalMs); }) {}

void TOvcController::SetEpoch(int epoch) {
    if (epoch >= kMinEpoch && epoch <= kMaxEpoch) {
        epoch_ = epoch;
    }
}

void TOvcController::WindowDestroyed(TOvcWindow window) {
    if (window == nullptr) {
        return;
    }
    for (TOvcWindow* button : {&btnCancel_, &btnHelp_, &btnRestore_}) {
        if (*button == window) {
            *button = nullptr;
        }
    }
}

bool TOvcController::IsSpecialControl(TOvcWindow window) {
    if (window != nullptr &&
        (window == btnCancel_ || window == btnHelp_ || window == btnRestore_)) {
        return true;
    }
    bool isSpecial = false;
    DoOnIsSpecialControl(window, isSpecial);
    return isSpecial;
}

void TOvcController::DoOnError(TOvcWindow control, std::uint16_t errorCode,
                               const std::string& message) {
    Fire(OnError, *this, control, errorCode, message);
}

void TOvcController::DoOnDelayNotify(int notifyCode) {
    Fire(OnDelayNotify, *this, notifyCode);
}

void TOvcController::DoOnIsSpecialControl(TOvcWindow control, bool& isSpecial) {
    Fire(OnIsSpecialControl, *this, control, isSpecial);
}

void TOvcController::DoOnPreEdit(TOvcWindow gainingControl, TOvcWindow losingControl) {
    Fire(OnPreEdit, *this, gainingControl, losingControl);
}

void TOvcController::DoOnPostEdit(TOvcWindow gainingControl, TOvcWindow losingControl) {
    Fire(OnPostEdit, *this, gainingControl, losingControl);
}

void TOvcController::DoOnTimerTrigger(int timerHandle, int intervalMs) {
    Fire(OnTimerTrigger, *this, timerHandle, intervalMs);
}

}  // namespace tomery::editor
