// A main window per test, its program folder fresh and every modal question scripted.
#pragma once

#include "EditMain.h"
#include "ScriptedModalUi.h"
#include "TempFolder.h"

#include <QApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tomery::app::testing {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { Create(); }

    void Create() {
        auto scripted = std::make_unique<ScriptedModalUi>();
        ui = scripted.get();
        form = std::make_unique<TEditForm>(std::move(scripted));
        form->show();
        QApplication::processEvents();
    }

    /// Closes the window, which writes the settings, and starts a new one that reads them.
    void Restart() {
        form.reset();
        Create();
    }

    /// Opens `text` as the plain text file notes.txt through File, Open.
    void OpenText(const std::string& text) {
        tomery::testing::WriteFile(folder.Path("notes.txt"), text);
        ui->fileAnswers.push_back(folder.Path("notes.txt"));
        form->Click("Open1");
    }

    tomery::testing::TempFolder folder;
    ScriptedModalUi* ui = nullptr;
    std::unique_ptr<TEditForm> form;
};

/// Counts the paints of the widgets it is installed on as an event filter.
class TPaintCount : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

}  // namespace tomery::app::testing
