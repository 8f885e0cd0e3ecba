// Long work on the GUI thread: the window repaints while it runs, the dialog comes only after
// the delay, and Cancel is heard by the work; the window's opens and DOC saves are such work.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include "Conversion.h"
#include "LongWork.h"
#include "MainWindowFixture.h"
#include "OvcEdit.h"
#include "OvcTextFile.h"
#include "ProgramFolder.h"

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

namespace tomery::app {
namespace {

/// Counts the paint events any widget gets while long work runs.
class TPaintsDuringWork : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && TLongWork::Running()) {
            ++paints;
        }
        return false;
    }
};

/// The window's opens and DOC saves of a 6 MB text, slowed so that each progress report
/// waits 120 ms (the dialog shows after a few) and asks the window to repaint.
class WindowLongWork : public testing::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::string big;
        while (big.size() < 6 * editor::TTextFileReader::kProgressStep) {
            big += "A line of the big text that takes long to open and to save.\r\n";
        }
        tomery::testing::WriteFile(folder.Path("big.txt"), big);
        ASSERT_TRUE(doc::ConvertTextToDoc(folder.Path("big.txt"), folder.Path("big.pdb"), "Big"));
        qApp->installEventFilter(&counter);
    }
    void TearDown() override {
        TLongWork::SetReportHook({});
        qApp->removeEventFilter(&counter);
    }

    /// Cancels at the `cancelAt`th report after the dialog showed.
    void SlowWorkCancelledAt(int cancelAt) {
        reports = 0;
        TLongWork::SetReportHook([this, cancelAt](TLongWork& work) {
            QThread::msleep(120);
            form->update();
            if (work.Dialog() != nullptr && ++reports == cancelAt) {
                work.Dialog()->findChild<QPushButton*>()->click();
            }
        });
    }
    std::size_t ErrorBoxes() const {
        return static_cast<std::size_t>(
            std::count_if(ui->boxes.begin(), ui->boxes.end(),
                          [](const auto& box) { return box.icon == TMsgIcon::Error; }));
    }

    /// What a cancel must leave as it was.
    struct TState {
        std::string firstLine, file, caption;
        bool modified;
        bool operator==(const TState&) const = default;
    };
    TState State() {
        return {form->Editor().GetStringLine(1), form->Workflow().CurrentFile(),
                form->windowTitle().toStdString(), form->Editor().Modified()};
    }

    TPaintsDuringWork counter;
    int reports = 0;
};

TEST_F(WindowLongWork, ACancelledOpenOrDocSaveLeavesTheDocumentAndTheFilesAsTheyWere) {
    struct TCase {
        const char* what;
        const char* open;   ///< opened first, then typed into
        const char* other;  ///< opened afterwards when set, else the document is saved
        int cancelAt;       ///< reports after the dialog showed
    };
    // The DOC save writes its text in the first reports and encodes it in the later ones.
    for (const TCase& c :
         {TCase{"text open", "small.txt", "big.txt", 1},
          TCase{"DOC open", "small.txt", "big.pdb", 1}, TCase{"DOC save", "big.pdb", nullptr, 6}}) {
        SCOPED_TRACE(c.what);
        tomery::testing::WriteFile(folder.Path("small.txt"), "old\r\n");
        form->Editor().SetModified(false);
        form->OpenNamedFile(folder.Path(c.open));
        form->Editor().InsertString("typed ");
        form->Editor().SetModified(true);
        const TState before = State();
        const std::string pdbBefore = tomery::testing::ReadFile(folder.Path("big.pdb"));
        const std::string conversionBefore =
            tomery::testing::ReadFile(ProgramFilePath("Conversion.txt"));
        const std::size_t errorBoxes = ErrorBoxes();
        counter.paints = 0;
        SlowWorkCancelledAt(c.cancelAt);
        if (c.other != nullptr) {
            ui->buttonAnswers.push_back(TMsgButton::No);  // the unsaved text is not saved
            form->OpenNamedFile(folder.Path(c.other));
        } else {
            form->Click("Save1");
        }
        TLongWork::SetReportHook({});
        EXPECT_GT(counter.paints, 0) << "the window was drawn during the work";
        EXPECT_EQ(State(), before);
        EXPECT_EQ(tomery::testing::ReadFile(folder.Path("big.pdb")), pdbBefore);
        // A save writes the text it encodes there first: this one was cancelled while encoding.
        EXPECT_EQ(tomery::testing::ReadFile(ProgramFilePath("Conversion.txt")).substr(0, 9),
                  c.other != nullptr ? conversionBefore.substr(0, 9) : "typed A l");
        EXPECT_EQ(ErrorBoxes(), errorBoxes);
    }
}

}  // namespace
}  // namespace tomery::app
