// Long work on the GUI thread: the window repaints while it runs, the dialog comes only after
// the delay, and Cancel is heard by the work.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include "LongWork.h"

namespace tomery::app {
namespace {

class TPaintCounter : public QWidget {
  public:
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

/// Reports `steps` times, `stepMs` apart, asking the window to repaint before each; `onStep`
/// may act as the user would. Returns the reports' answers until the first false.
int RunSlowWork(TLongWork& work, QWidget& window, int steps, int stepMs,
                const std::function<void(TLongWork&)>& onStep = {}) {
    int answered = 0;
    for (int step = 1; step <= steps; ++step) {
        QThread::msleep(stepMs);
        window.update();
        if (onStep) {
            onStep(work);
        }
        if (!work.Report(step, steps)) {
            break;
        }
        ++answered;
    }
    return answered;
}

TEST(LongWork, ShortWorkShowsNoDialogButTheWindowStillRepaints) {
    TPaintCounter window;
    window.show();
    QApplication::processEvents();
    const int paintsBefore = window.paints;
    TLongWork work(window, "Opening");
    EXPECT_TRUE(TLongWork::Running());
    EXPECT_EQ(RunSlowWork(work, window, 5, 50), 5);
    EXPECT_EQ(work.Dialog(), nullptr);
    EXPECT_GT(window.paints, paintsBefore);
}

TEST(LongWork, LongWorkShowsItsPercentAndStopsWhenCancelled) {
    TPaintCounter window;
    window.show();
    int percentSeen = -1;
    TLongWork work(window, "Opening");
    const int answered = RunSlowWork(work, window, 40, 30, [&](TLongWork& w) {
        if (w.Dialog() != nullptr && percentSeen < 0) {
            percentSeen = w.Dialog()->value();
            EXPECT_TRUE(w.Dialog()->isVisible());
            EXPECT_EQ(w.Dialog()->labelText(), "Opening");
            w.Dialog()->findChild<QPushButton*>()->click();
        }
    });
    EXPECT_GT(percentSeen, 0);
    EXPECT_LT(percentSeen, 100);
    EXPECT_TRUE(work.Cancelled());
    EXPECT_LT(answered, 40);
    EXPECT_FALSE(work.Report(40, 40));
}

}  // namespace
}  // namespace tomery::app
