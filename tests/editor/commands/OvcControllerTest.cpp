#include "OvcController.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace tomery::editor {
namespace {

TEST(Controller, StartsInInsertModeWithoutPendingErrorInTheEpoch1900) {
    const TOvcController controller;
    EXPECT_TRUE(controller.InsertMode());
    EXPECT_FALSE(controller.ErrorPending());
    EXPECT_EQ(controller.Epoch(), 1900);
    EXPECT_EQ(controller.EntryCommands().Count(), 3);
}

TEST(Controller, AcceptsAnEpochFrom1600To3999Only) {
    TOvcController controller;
    controller.SetEpoch(1600);
    EXPECT_EQ(controller.Epoch(), 1600);
    controller.SetEpoch(3999);
    EXPECT_EQ(controller.Epoch(), 3999);
    controller.SetEpoch(1599);
    EXPECT_EQ(controller.Epoch(), 3999);
    controller.SetEpoch(4000);
    EXPECT_EQ(controller.Epoch(), 3999);
}

// --- Special controls ---

const int kCancel = 1;
const int kHelp = 2;
const int kRestore = 3;
const int kOther = 4;

TEST(SpecialControls, TheThreeButtonsAreSpecialWithoutAsking) {
    TOvcController controller;
    int asked = 0;
    controller.OnIsSpecialControl = [&](TOvcController&, TOvcWindow, bool&) { ++asked; };
    controller.SetBtnCancel(&kCancel);
    controller.SetBtnHelp(&kHelp);
    controller.SetBtnRestore(&kRestore);
    EXPECT_TRUE(controller.IsSpecialControl(&kCancel));
    EXPECT_TRUE(controller.IsSpecialControl(&kHelp));
    EXPECT_TRUE(controller.IsSpecialControl(&kRestore));
    EXPECT_EQ(asked, 0);
}

TEST(SpecialControls, OtherWindowsAreWhatTheEventSays) {
    TOvcController controller;
    EXPECT_FALSE(controller.IsSpecialControl(&kOther));
    TOvcController* sender = nullptr;
    TOvcWindow asked = nullptr;
    controller.OnIsSpecialControl = [&](TOvcController& from, TOvcWindow window, bool& result) {
        sender = &from;
        asked = window;
        result = true;
    };
    EXPECT_TRUE(controller.IsSpecialControl(&kOther));
    EXPECT_EQ(sender, &controller);
    EXPECT_EQ(asked, &kOther);
}

TEST(SpecialControls, NoWindowIsNotAnUnsetButton) {
    TOvcController controller;
    EXPECT_FALSE(controller.IsSpecialControl(nullptr));
}

TEST(SpecialControls, ADestroyedButtonIsCleared) {
    TOvcController controller;
    controller.SetBtnCancel(&kCancel);
    controller.SetBtnHelp(&kHelp);
    controller.WindowDestroyed(&kCancel);
    EXPECT_EQ(controller.BtnCancel(), nullptr);
    EXPECT_EQ(controller.BtnHelp(), &kHelp);
    EXPECT_FALSE(controller.IsSpecialControl(&kCancel));
}

// --- Events ---

TEST(ControllerEvents, FireOnlyWhenAssignedAndCarryTheSender) {
    TOvcController controller;
    controller.DoOnError(&kOther, 263, "unassigned");
    std::vector<int> fired;
    controller.OnError = [&](TOvcController& from, TOvcWindow window, std::uint16_t code,
                             const std::string& message) {
        EXPECT_EQ(&from, &controller);
        EXPECT_EQ(window, &kOther);
        EXPECT_EQ(message, "text");
        fired.push_back(code);
    };
    controller.OnPreEdit = [&](TOvcController&, TOvcWindow gaining, TOvcWindow losing) {
        EXPECT_EQ(gaining, &kHelp);
        EXPECT_EQ(losing, &kOther);
        fired.push_back(-1);
    };
    controller.DoOnError(&kOther, 264, "text");
    controller.DoOnPreEdit(&kHelp, &kOther);
    controller.DoOnPostEdit(&kHelp, &kOther);
    EXPECT_EQ(fired, (std::vector<int>{264, -1}));
}

// --- Timer pool ---

class FakeDriver : public TOvcTimerDriver {
  public:
    void StartTimer(int handle, int intervalMs) override { running[handle] = intervalMs; }
    void StopTimer(int handle) override { running.erase(handle); }
    std::map<int, int> running;
};

TEST(TimerPool, TriggersReachOnTimerTriggerWithTheirTimer) {
    TOvcController controller;
    std::vector<std::pair<int, int>> triggers;
    controller.OnTimerTrigger = [&](TOvcController& from, int handle, int interval) {
        EXPECT_EQ(&from, &controller);
        triggers.emplace_back(handle, interval);
    };
    TOvcTimerPool& pool = controller.TimerPool();
    const int fast = pool.Add(50);
    const int slow = pool.Add(1000);
    pool.Trigger(slow);
    pool.Trigger(fast);
    EXPECT_EQ(triggers, (std::vector<std::pair<int, int>>{{slow, 1000}, {fast, 50}}));
}

TEST(TimerPool, RejectsIntervalsBelowOneMillisecond) {
    TOvcController controller;
    EXPECT_EQ(controller.TimerPool().Add(0), 0);
    EXPECT_EQ(controller.TimerPool().Add(-5), 0);
    EXPECT_EQ(controller.TimerPool().Count(), 0);
}

TEST(TimerPool, DropsTriggersOfRemovedOrUnknownTimersAndNeverReusesHandles) {
    TOvcController controller;
    int triggers = 0;
    controller.OnTimerTrigger = [&](TOvcController&, int, int) { ++triggers; };
    TOvcTimerPool& pool = controller.TimerPool();
    const int first = pool.Add(10);
    pool.Remove(first);
    pool.Remove(first);
    pool.Trigger(first);
    pool.Trigger(99);
    EXPECT_EQ(triggers, 0);
    EXPECT_EQ(pool.Interval(first), 0);
    EXPECT_NE(pool.Add(10), first);
}

TEST(TimerPool, DriverRunsExactlyThePoolsTimers) {
    FakeDriver driver;
    {
        TOvcController controller;
        TOvcTimerPool& pool = controller.TimerPool();
        const int early = pool.Add(100);
        pool.SetDriver(&driver);
        EXPECT_EQ(driver.running, (std::map<int, int>{{early, 100}}));
        const int late = pool.Add(20);
        pool.Remove(early);
        EXPECT_EQ(driver.running, (std::map<int, int>{{late, 20}}));
        pool.SetDriver(nullptr);
        EXPECT_TRUE(driver.running.empty());
        pool.SetDriver(&driver);
        EXPECT_EQ(driver.running.size(), 1u);
    }
    EXPECT_TRUE(driver.running.empty()) << "a destroyed pool stops its timers";
}

}  // namespace
}  // namespace tomery::editor
