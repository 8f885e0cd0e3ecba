// The Search menu of the main window: find, find next, replace with its questions, go to line.
#include "EditFind.h"
#include "EditMain.h"
#include "EditRepl.h"
#include "OvcEdit.h"

#include <QLineEdit>

namespace tomery::app {

using editor::TSearchOptions;

void TEditForm::ShowNotFound(const QString& searchText) {
    ui_->MessageBox("Information", "Search string '" + searchText.toStdString() + "' not found",
                    TMsgIcon::Information, {TMsgButton::Ok});
}

void TEditForm::Find1Click() {
    if (!ui_->ShowDialog(*FindDlg_)) {
        return;
    }
    charset::TReplacementLog replaced;
    const std::string searchText = FindDlg_->SearchText(&replaced);
    if (!replaced.Empty()) {
        ShowReplacedNotice(replaced);
    }
    if (!Editor1->FindText(searchText, FindDlg_->Options())) {
        ShowNotFound(FindDlg_->Edit1->text());
    }
}

void TEditForm::FindNext1Click() {
    // Find next goes on from the caret: never from the start or end of the text again.
    const TSearchOptions options = FindDlg_->Options() & (editor::seBackward | editor::seMatchCase);
    if (!Editor1->FindText(FindDlg_->SearchText(), options)) {
        ShowNotFound(FindDlg_->Edit1->text());
    }
}

void TEditForm::Replace1Click() {
    ReplDlg_->setResult(TReplDlg::Cancelled);
    ui_->ShowDialog(*ReplDlg_);
    const int closedWith = ReplDlg_->result();
    charset::TReplacementLog replaced;
    const std::string findText = ReplDlg_->SearchText(&replaced);
    // An empty text to find is "found" at the caret without end; there is nothing to replace.
    if ((closedWith != TReplDlg::OneByOne && closedWith != TReplDlg::ReplaceAll) ||
        findText.empty()) {
        return;
    }
    const std::string replacement = ReplDlg_->ReplaceText(&replaced);
    if (!replaced.Empty()) {
        ShowReplacedNotice(replaced);
    }
    TSearchOptions options =
        ReplDlg_->Options() |
        (closedWith == TReplDlg::ReplaceAll ? editor::seReplaceAll : editor::seReplace);
    const bool forward = (options & editor::seBackward) == 0;
    std::int32_t result = Editor1->Search(findText, replacement, options);
    // Global starts the walk at the start (or end) of the text once; from then on it goes on
    // from the caret, or an occurrence answered No would be found and asked about forever.
    options &= static_cast<TSearchOptions>(~editor::seGlobal);
    bool cancelled = false;
    while (result != -1 && Editor1->SelectionAvailable()) {
        const TMsgButton answer =
            ui_->MessageBox("Confirm", "Replace this occurrence?", TMsgIcon::Confirmation,
                            {TMsgButton::Yes, TMsgButton::No, TMsgButton::Cancel});
        if (answer == TMsgButton::Yes) {
            result = Editor1->Search(findText, replacement, options);
            continue;
        }
        // A skipped occurrence no longer matches the selection, so the search moves past it.
        Editor1->CollapseSelection(forward);
        if (answer == TMsgButton::No) {
            result = Editor1->Search(findText, replacement, options);
        } else {
            cancelled = true;
            result = -1;
        }
    }
    if (result == -1 && !cancelled) {
        ShowNotFound(ReplDlg_->Edit1->text());
    }
}

void TEditForm::GotoLine1Click() {
    const std::int32_t lineCount = Editor1->LineCount();
    const std::optional<std::string> answer = ui_->InputBox(
        "Go to Line Number", "Enter Line Number (1 to " + std::to_string(lineCount) + ")", "1");
    if (!answer) {
        return;
    }
    // Anything but a line of the text is ignored without a message.
    const std::optional<int> line = WholeNumber(*answer);
    if (!line || *line < 1 || *line > lineCount) {
        return;
    }
    Editor1->SetCaretPosition(*line, 1);
    Editor1->SetTopLine(*line);
}

}  // namespace tomery::app
