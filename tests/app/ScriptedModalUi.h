// A modal seam for tests: answers from a script and records every question it was asked.
#pragma once

#include "ModalUi.h"

#include <QPrinter>

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
    std::deque<std::optional<std::string>> folderAnswers; ///< default: Cancel
    std::deque<bool> noticeAnswers;                       ///< default: not ticked
    std::deque<std::optional<TFontChoice>> fontAnswers;   ///< default: Cancel
    /// Each acts on the next dialog shown (fills it, presses a button) and answers whether it
    /// was accepted; when none is queued, `dialogAnswer` acts on every showing; default:
    /// accepted untouched.
    std::deque<std::function<bool(QDialog&)>> dialogAnswers;
    std::function<bool(QDialog&)> dialogAnswer;

    std::vector<AskedBox> boxes;
    std::vector<std::string> inputPrompts;
    std::vector<TFileDialogRequest> fileRequests;
    std::vector<std::string> folderRequests;  ///< the folder each folder dialog started in
    std::vector<std::string> notices;
    std::vector<QDialog*> dialogs;  ///< shown, in order; not owned
    std::vector<TFontChoice> fontRequests;

    /// How the print dialog is answered: a PDF file to print to, and the range.
    struct PrintAnswer {
        std::string pdfPath;
        bool selection = false;
    };
    std::deque<std::optional<PrintAnswer>> printAnswers;  ///< default: Cancel
    std::vector<bool> printRequests;                      ///< whether the selection was offered

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
    std::optional<std::string> ChooseFolder(const std::string&,
                                            const std::string& initialDir) override {
        folderRequests.push_back(initialDir);
        return Take(folderAnswers, std::optional<std::string>());
    }
    bool ShowDialog(QDialog& dialog) override {
        dialogs.push_back(&dialog);
        if (!dialogAnswers.empty()) {
            return Take(dialogAnswers, dialogAnswer)(dialog);
        }
        // The standing answer keeps its state from one showing to the next.
        return dialogAnswer ? dialogAnswer(dialog) : true;
    }
    bool SaveDocNotice(const std::string& message) override {
        notices.push_back(message);
        return Take(noticeAnswers, false);
    }
    std::optional<TFontChoice> ChooseFont(const TFontChoice& initial) override {
        fontRequests.push_back(initial);
        return Take(fontAnswers, std::optional<TFontChoice>());
    }
    bool PrintDialog(QPrinter& printer, bool offerSelection) override {
        printRequests.push_back(offerSelection);
        const std::optional<PrintAnswer> answer = Take(printAnswers, std::optional<PrintAnswer>());
        if (answer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(answer->pdfPath));
            printer.setPrintRange(answer->selection ? QPrinter::Selection : QPrinter::AllPages);
        }
        return answer.has_value();
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
