// The controller: the command processor and the state that the editors of one window share.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "OvcCmd.h"

namespace tomery::editor {

/// The identity of a toolkit window (the Qt control passes its widget); never dereferenced.
using TOvcWindow = const void*;

/// Runs the real timers of a TOvcTimerPool; the Qt control implements it with its timers.
class TOvcTimerDriver {
  public:
    virtual ~TOvcTimerDriver() = default;
    virtual void StartTimer(int handle, int intervalMs) = 0;
    virtual void StopTimer(int handle) = 0;
};

/// A set of repeating timers whose triggers go to one handler. The pool keeps the
/// bookkeeping; a driver, when attached, runs the timers and reports each trigger.
class TOvcTimerPool {
  public:
    using TriggerHandler = std::function<void(int handle, int intervalMs)>;

    explicit TOvcTimerPool(TriggerHandler onTrigger) : onTrigger_(std::move(onTrigger)) {}
    /// Stops every timer on the driver.
    ~TOvcTimerPool();
    TOvcTimerPool(const TOvcTimerPool&) = delete;
    TOvcTimerPool& operator=(const TOvcTimerPool&) = delete;

    /// Not owned; it must be detached (nullptr) before it is destroyed. Attaching starts the
    /// timers already in the pool, detaching stops them.
    void SetDriver(TOvcTimerDriver* driver);
    /// A new timer firing every `intervalMs` milliseconds (at least 1); returns its handle
    /// (1 and up, never reused), or 0 for an interval below 1.
    int Add(int intervalMs);
    /// Stops and forgets the timer; an unknown handle is ignored.
    void Remove(int handle);
    int Count() const { return static_cast<int>(intervals_.size()); }
    /// The timer's interval in milliseconds, or 0 for an unknown handle.
    int Interval(int handle) const;
    /// Called by the driver when a timer fires; a trigger of a removed timer is dropped.
    void Trigger(int handle);

  private:
    TriggerHandler onTrigger_;
    TOvcTimerDriver* driver_ = nullptr;
    std::map<int, int> intervals_;  ///< handle to interval in milliseconds
    int lastHandle_ = 0;
};

/// Owns the command processor and the few values that all editors attached to it share.
class TOvcController {
  public:
    static constexpr int kDefaultEpoch = 1900;
    static constexpr int kMinEpoch = 1600;
    static constexpr int kMaxEpoch = 3999;

    TOvcController();
    virtual ~TOvcController() = default;
    TOvcController(const TOvcController&) = delete;
    TOvcController& operator=(const TOvcController&) = delete;

    TOvcCommandProcessor& EntryCommands() { return entryCommands_; }
    const TOvcCommandProcessor& EntryCommands() const { return entryCommands_; }

    /// Insert (true) or overwrite; an editor stores its mode here on losing the focus and
    /// takes it from here on gaining it.
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool insert) { insertMode_ = insert; }
    /// While set, a click on an editor without the focus neither activates nor reaches it.
    bool ErrorPending() const { return errorPending_; }
    void SetErrorPending(bool pending) { errorPending_ = pending; }
    /// The year used by date entry; a value outside kMinEpoch..kMaxEpoch is ignored.
    int Epoch() const { return epoch_; }
    void SetEpoch(int epoch);

    TOvcWindow BtnCancel() const { return btnCancel_; }
    void SetBtnCancel(TOvcWindow button) { btnCancel_ = button; }
    TOvcWindow BtnHelp() const { return btnHelp_; }
    void SetBtnHelp(TOvcWindow button) { btnHelp_ = button; }
    TOvcWindow BtnRestore() const { return btnRestore_; }
    void SetBtnRestore(TOvcWindow button) { btnRestore_ = button; }
    /// The toolkit reports every destroyed window it had handed over; a button slot holding
    /// it is cleared.
    void WindowDestroyed(TOvcWindow window);
    /// True for the window of one of the three buttons; for any other window, what
    /// OnIsSpecialControl answers (false when it is not assigned).
    bool IsSpecialControl(TOvcWindow window);

    TOvcTimerPool& TimerPool() { return timerPool_; }

    std::function<void(TOvcController& sender, TOvcWindow control, std::uint16_t errorCode,
                       const std::string& message)>
        OnError;
    std::function<void(TOvcController& sender, int notifyCode)> OnDelayNotify;
    std::function<void(TOvcController& sender, TOvcWindow control, bool& isSpecial)>
        OnIsSpecialControl;
    std::function<void(TOvcController& sender, TOvcWindow gainingControl, TOvcWindow losingControl)>
        OnPreEdit;
    std::function<void(TOvcController& sender, TOvcWindow gainingControl, TOvcWindow losingControl)>
        OnPostEdit;
    std::function<void(TOvcController& sender, int timerHandle, int intervalMs)> OnTimerTrigger;

    virtual void DoOnError(TOvcWindow control, std::uint16_t errorCode, const std::string& message);
    virtual void DoOnDelayNotify(int notifyCode);
    virtual void DoOnIsSpecialControl(TOvcWindow control, bool& isSpecial);
    virtual void DoOnPreEdit(TOvcWindow gainingControl, TOvcWindow losingControl);
    virtual void DoOnPostEdit(TOvcWindow gainingControl, TOvcWindow losingControl);
    virtual void DoOnTimerTrigger(int timerHandle, int intervalMs);

  private:
    TOvcCommandProcessor entryCommands_;
    bool insertMode_ = true;
    bool errorPending_ = false;
    int epoch_ = kDefaultEpoch;
    TOvcWindow btnCancel_ = nullptr;
    TOvcWindow btnHelp_ = nullptr;
    TOvcWindow btnRestore_ = nullptr;
    TOvcTimerPool timerPool_;
};

}  // namespace tomery::editor
