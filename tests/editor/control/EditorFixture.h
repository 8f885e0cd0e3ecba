// Test helper: an editor control in a shown, focused window of its own, with its status
// notifications recorded.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "OvcEdit.h"

namespace tomery::editor::testing {

class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form_ = std::make_unique<QWidget>();
        new TOvcControllerComponent(form_.get());
        editor_ = new TOvcTextFileEditor(form_.get());
        editor_->setGeometry(0, 0, 400, 300);
        form_->resize(400, 300);
        form_->show();
        QApplication::setActiveWindow(form_.get());
        editor_->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        Settle();
        editor_->OnShowStatus = [this](TOvcCustomEditor&, std::int32_t line, std::int32_t col) {
            statuses_.emplace_back(line, col);
        };
    }

    TOvcTextFileEditor& Editor() { return *editor_; }
    QWidget& Form() { return *form_; }

    /// Replaces the text by `lines`, one paragraph each, the caret at the start.
    void SetLines(const std::vector<std::string>& lines) {
        editor_->ResetText(true);
        for (const std::string& line : lines) {
            ASSERT_EQ(editor_->AppendLine(line), 0);
        }
        editor_->RefreshAll(false);
        Settle();
    }

    /// Lets posted events (status notifications, repaints) run.
    void Settle() {
        QApplication::processEvents();
        QApplication::processEvents();
    }

    /// The caret as (display line, column).
    std::pair<std::int32_t, std::int32_t> Caret() const {
        std::int32_t column = 0;
        const std::int32_t line = editor_->GetCaretPosition(column);
        return {line, column};
    }

    bool Run(CommandCode command, std::uint16_t character = 0) {
        return editor_->ProcessCommand(command, character);
    }

    /// Resizes the window until exactly `lines` rows fit.
    void FitRows(std::int32_t lines) {
        for (int attempt = 0; attempt < 6 && editor_->VisibleLines() != lines; ++attempt) {
            const int extra = (lines - editor_->VisibleLines()) * editor_->LineHeight();
            editor_->resize(editor_->width(), editor_->height() + extra);
            Settle();
        }
        ASSERT_EQ(editor_->VisibleLines(), lines);
    }

    std::vector<std::pair<std::int32_t, std::int32_t>> statuses_;

  private:
    std::unique_ptr<QWidget> form_;
    TOvcTextFileEditor* editor_ = nullptr;  ///< owned by the form
};

}  // namespace tomery::editor::testing
