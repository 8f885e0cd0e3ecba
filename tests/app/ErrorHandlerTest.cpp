#include "ErrorHandler.h"
#include "ScriptedModalUi.h"
#include "WorkProgress.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tomery::app {
namespace {

TEST(ErrorHandler, AddsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(ErrorBoxText("Unable to write to x.INI"), "Unable to write to x.INI.");
    EXPECT_EQ(ErrorBoxText("Line too long."), "Line too long.");
    EXPECT_EQ(ErrorBoxText("Is it (really)"), "Is it (really)");  // ')' lies below '.'
    EXPECT_EQ(ErrorBoxText("Done!"), "Done!");
    EXPECT_EQ(ErrorBoxText("File /tmp/a"), "File /tmp/a.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ErrorHandler, ShowsAnUncaughtErrorAsTheTomeryBoxAndGoesOn) {
    testing::ScriptedModalUi ui;
    EXPECT_FALSE(RunGuarded(ui, [] { throw std::runtime_error("Disk full"); }));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, "Tomery");
    EXPECT_EQ(ui.boxes[0].text, "Disk full.");
    EXPECT_EQ(ui.boxes[0].icon, TMsgIcon::Error);
    EXPECT_EQ(ui.boxes[0].buttons, std::vector<TMsgButton>{TMsgButton::Ok});

    bool ran = false;
    EXPECT_TRUE(RunGuarded(ui, [&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(RunGuarded(ui, [] { throw EWorkCancelled(); })) << "cancelled work ends quietly";
    EXPECT_EQ(ui.boxes.size(), 1u);
}

}  // namespace
}  // namespace tomery::app
