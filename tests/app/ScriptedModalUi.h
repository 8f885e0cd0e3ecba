// A modal seam for tests: answers from a script and records every question it was asked.
#pragma once

#include "ModalUi.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tomery::app::testing {

struct AskedBox {
    std::string caption;
    std::string text;
    TMsgIcon icon;
    std::vector<TMsgButton> buttons;
};

class ScriptedModalUi : public TModalUi {
  public:
    std::deque<TMsgButton> buttonAnswers;                 ///< default: the first button
    std::deque<std::optional<std::string>> inputAnswers;  ///< default: Cancel
    std::deque<std::optional<std::string>> fileAnswers;   ///< default: Cancel
    std::deque<bool> noticeAnswers;                       ///< default: not ticked

    std::vector<AskedBox> boxes;
    std::vector<std::string> inputPrompts;
    std::vector<TFileDialogRequest> fileRequests;
    std::vector<std::string> notices;
    std::vector<QDialog*> dialogs;  ///< shown, in order; not owned
    /// Acts in a shown dialog as a user would and gives its result; default: accepted.
    std::function<bool(QDialog&)> dialogAnswer;

    TMsgButton MessageBox(const std::string& caption, const std::string& text, TMsgIcon icon,
                          const std::vector<TMsgButton>& buttons) override {
        boxes.push_back({caption, text, icon, buttons});
        return Take(buttonAnswers, buttons.empty() ? TMsgButton::Ok : buttons.front());
    }
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initialText) override {
        inputPrompts.push_back(caption + "|" + prompt + "|" + initialText);
        return Take(inputAnswers, std::optional<std::string>());
    }
    std::optional<std::string> OpenFileName(const TFileDialogRequest& request) override {
        fileRequests.push_back(request);
        return Take(fileAnswers, std::optional<std::string>());
    }
    std::optional<std::string> SaveFileName(const TFileDialogRequest& request) override {
        fileRequests.push_back(request);
        return Take(fileAnswers, std::optional<std::string>());
    }
    bool ShowDialog(QDialog& dialog) override {
        dialogs.push_back(&dialog);
        return dialogAnswer ? dialogAnswer(dialog) : true;
    }
    bool SaveDocNotice(const std::string& message) override {
        notices.push_back(message);
        return Take(noticeAnswers, false);
    }

  private:
    template <typename T>
    static T Take(std::deque<T>& answers, T fallback) {
        if (answers.empty()) {
            return fallback;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace tomery::app::testing
