// The deleting commands besides Delete itself: backspace, to the start or end of the line,
// the whole line and the word at the caret.
#include "OvcEdit.h"

namespace tomery::editor {

void TOvcCustomEditor::backspace() {
    if (GetReadOnly()) {
        caretLeft(false);
        return;
    }
    if (!SelectionAvailable()) {
        if (CaretParaPos() == 1 && (caretLine_ == 1 || !wrapAtLeft_)) {
            return;
        }
        caretLeft(false);
    }
    deleteForward();
}

void TOvcCustomEditor::deleteToLineStart() {
    if (GetReadOnly() || paraList_->GetLineLength(caretLine_) == 0 || caretCol_ == 1) {
        return;
    }
    SetSelection(caretLine_, 1, caretLine_, caretCol_, false);
    deleteForward();
}

void TOvcCustomEditor::deleteToLineEnd() {
    const std::int32_t length = paraList_->GetLineLength(caretLine_);
    if (GetReadOnly() || length == 0 || caretCol_ > length) {
        return;
    }
    SetSelection(caretLine_, caretCol_, caretLine_, length + 1, true);
    deleteForward();
}

void TOvcCustomEditor::deleteLine() {
    if (GetReadOnly()) {
        return;
    }
    const TLineStart start = paraList_->LineToPara(caretLine_);
    const TParaPos from{start.Para, start.Offset + 1};
    TEditorErrorCode code = kErrorNone;
    {
        const TUndoGroupGuard group(paraList_->UndoBuffer());
        if (caretLine_ == LineCount()) {
            const std::int32_t length = paraList_->GetLineLength(caretLine_);
            if (length == 0) {
                return;
            }
            paraList_->DeleteText(from.Para, from.Pos, length);
        } else {
            const TLineStart next = paraList_->LineToPara(caretLine_ + 1);
            code = paraList_->DeleteRange(from, {next.Para, next.Offset + 1});
        }
    }
    updateVertScrollBar();
    requestFullRepaint();
    if (code != kErrorNone) {
        DoOnError(code);
        return;
    }
    MoveCaretToPara(from.Para, from.Pos, false);
}

void TOvcCustomEditor::deleteWord() {
    if (GetReadOnly()) {
        return;
    }
    if (SelectionAvailable()) {
        deleteForward();
        return;
    }
    const TParaPos at = caretPos();
    const std::string_view text = paraList_->GetPara(at.Para)->Text();
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t end = at.Pos - 1;  // 0-based index of the first character kept
    while (end < length && !IsWordDelimiter(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    while (end < length && IsBlank(text[end])) {
        ++end;
    }
    if (end <= at.Pos - 1) {
        // A delimiter other than a blank, or the end of the paragraph: as Delete.
        deleteForward();
        return;
    }
    paraList_->DeleteText(at.Para, at.Pos, end - (at.Pos - 1));
    repaintChangedLines();
    MoveCaretToPara(at.Para, at.Pos, false);
}

}  // namespace tomery::editor
