// The new-line command with automatic indentation, and the tab command with its three tab
// types.
#include <optional>

#include "OvcEdit.h"

namespace tomery::editor {

namespace {

/// The column where the next word starts in `line` (tabs expanded) seen from `column`: none
/// (0) in an empty line, `column` itself when the line ends before it, else the column after
/// the rest of the word at `column` and the blanks that follow (at most length + 1).
std::int32_t NextWordStart(std::string_view line, std::int32_t column) {
    const auto length = static_cast<std::int32_t>(line.size());
    if (length == 0) {
        return 0;
    }
    if (length < column) {
        return column;
    }
    std::int32_t i = column - 1;
    while (i < length && line[i] != ' ') {
        ++i;
    }
    while (i < length && line[i] == ' ') {
        ++i;
    }
    return i + 1;
}

}  // namespace

std::int32_t TOvcCustomEditor::indentWidthAtCaret() {
    const std::string_view line = paraList_->GetLine(caretLine_).Text;
    const auto before = std::min<std::size_t>(line.size(), static_cast<std::size_t>(caretCol_ - 1));
    std::size_t blanks = 0;
    while (blanks < before && IsBlank(line[blanks])) {
        ++blanks;
    }
    return paraList_->TextWidth(line.data(), static_cast<std::int32_t>(blanks));
}

bool TOvcCustomEditor::endLineAtCut(TParaPos at) {
    // Where loading cut a long line, the two paragraphs already show as two lines: Enter puts
    // the line end between them that the file lacks, rather than an empty line.
    std::int32_t next = at.Para;
    if (at.Pos > 1 || !paraList_->ContinuesLine(next)) {
        next = at.Para + 1;
        if (at.Pos <= paraList_->GetParaLength(at.Para) || !paraList_->ContinuesLine(next)) {
            return false;
        }
    }
    paraList_->SetContinuesLine(next, false);
    MoveCaretToPara(next, 1, false);
    DoOnChange();
    return true;
}

void TOvcCustomEditor::newLine() {
    bool changed = false;
    if (SelectionAvailable() && !GetReadOnly()) {
        TEditorErrorCode code = kErrorNone;
        {
            const TUndoGroupGuard group(paraList_->UndoBuffer());
            code = deleteSelection();
        }
        if (code != kErrorNone) {
            DoOnError(code);
            return;
        }
        changed = true;
    }
    const bool split = insertMode_ && !GetReadOnly();
    const TParaPos at = caretPos();
    if (split && endLineAtCut(at)) {
        return;
    }
    std::int32_t indent = 0;
    if (split) {
        indent = autoIndent_ ? indentWidthAtCaret() : 0;
        TEditorErrorCode code = paraList_->CheckLimits(at.Para, 1, indent + 2);
        if (code == kErrorNone) {
            code = paraList_->SplitPara(at.Para, at.Pos, trimBlanks(), indent,
                                        tabType_ == TTabType::ttReal ? tabSize_ : 0);
        }
        if (code != kErrorNone) {
            DoOnError(code);
            return;
        }
        changed = true;
    }
    updateVertScrollBar();
    requestFullRepaint();
    if (split || at.Para < ParaCount()) {
        MoveCaretToPara(at.Para + 1, indent + 1, false);
    } else {
        MoveCaretTo(LineCount(), paraList_->GetLineLength(LineCount()) + 1, false);
    }
    if (changed) {
        DoOnChange();
    }
}

void TOvcCustomEditor::tab() {
    if (GetReadOnly()) {
        return;
    }
    if (SelectionAvailable()) {
        deleteForward();
    }
    switch (tabType_) {
        case TTabType::ttReal:
            typeCharacter('\t');
            break;
        case TTabType::ttFixed:
            insertBlanks(fixedTabBlanks());
            break;
        case TTabType::ttSmart:
            insertBlanks(smartTabBlanks());
            break;
    }
}

std::int32_t TOvcCustomEditor::fixedTabBlanks() const {
    return tabSize_ * ((caretCol_ - 1) / tabSize_ + 1) - caretCol_ + 1;
}

std::int32_t TOvcCustomEditor::smartTabBlanks() {
    if (caretPara_ == 1) {
        return fixedTabBlanks();
    }
    std::int32_t target = NextWordStart(GetStringLine(caretLine_ - 1), caretCol_);
    if (target == 0 && caretLine_ < LineCount()) {
        target = NextWordStart(GetStringLine(caretLine_ + 1), caretCol_);
    }
    return target > caretCol_ ? target - caretCol_ : fixedTabBlanks();
}

void TOvcCustomEditor::insertBlanks(std::int32_t count) {
    const TParaPos at = caretPos();
    TEditorErrorCode code = kErrorNone;
    {
        std::optional<TUndoGroupGuard> group;
        if (!insertMode_) {
            group.emplace(paraList_->UndoBuffer());
            paraList_->DeleteText(at.Para, at.Pos, count);
        }
        code = paraList_->CheckLimits(at.Para, 0, count);
        if (code == kErrorNone) {
            code = paraList_->InsertText(at.Para, at.Pos,
                                         std::string(static_cast<std::size_t>(count), ' '));
        }
    }
    if (code != kErrorNone) {
        DoOnError(code);
        return;
    }
    repaintChangedLines();
    MoveCaretToPara(at.Para, at.Pos + count, false);
}

}  // namespace tomery::editor
