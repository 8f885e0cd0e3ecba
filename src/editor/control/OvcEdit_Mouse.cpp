// The editor and the mouse: selecting by pressing and dragging, with auto-scrolling outside
// the window, whole lines from the left margin, words and paragraphs by double click.
#include <QDateTime>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>

#include "OvcEdit.h"

namespace tomery::editor {

namespace {

constexpr int kAutoScrollPollMs = 10;

}  // namespace

TLineAndColumn TOvcCustomEditor::pointToLineCol(QPoint point) {
    std::int32_t line;
    if (point.y() < 0) {
        line = topLine_ - 1;
    } else if (point.y() >= viewport()->height()) {
        line = topLine_ + visibleLines_;
    } else {
        line = topLine_ + std::min(point.y() / lineHeight_, visibleLines_ - 1);
    }
    line = std::clamp(line, 1, LineCount());
    std::int32_t displayColumn;
    if (point.x() >= leftMargin_ + visibleCols_ * charWidth_) {
        displayColumn = visibleCols_ + horzOffset_;
    } else {
        displayColumn = (point.x() + charWidth_ / 2 - leftMargin_) / charWidth_ + horzOffset_ + 1;
    }
    std::int32_t column = std::max(1, lineCharColumn(line, std::max(1, displayColumn)));
    if (!scrollPastEnd_) {
        column = std::min(column, paraList_->GetLineLength(line) + 1);
    }
    return {line, column};
}

void TOvcCustomEditor::mouseStep(QPoint point, bool firstStep) {
    const TLineAndColumn at = pointToLineCol(point);
    if (!firstStep && at.Line == mouseLast_.Line &&
        (marginSelecting_ || at.Column == mouseLast_.Column)) {
        return;
    }
    mouseLast_ = at;
    if (!marginSelecting_) {
        MoveCaretTo(at.Line, at.Column, mouseShift_ || !firstStep);
        return;
    }
    if (at.Line < mouseAnchor_.Line || point.y() < 0) {
        SetSelection(at.Line, 1, mouseAnchor_.Line, mouseAnchor_.Column, false);
    } else if (at.Line < LineCount()) {
        SetSelection(mouseAnchor_.Line, mouseAnchor_.Column, at.Line + 1, 1, true);
    } else {
        SetSelection(mouseAnchor_.Line, mouseAnchor_.Column, at.Line,
                     paraList_->GetLineLength(at.Line) + 1, true);
    }
}

bool TOvcCustomEditor::activateByClick() {
    if (hasFocus()) {
        return true;
    }
    // While an error is being reported, a click neither activates the control nor reaches it.
    if (Controller() != nullptr && Controller()->ErrorPending()) {
        return false;
    }
    setFocus(Qt::MouseFocusReason);
    return true;
}

void TOvcCustomEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && primarySelection_->Available()) {
        pastePrimaryAt(event->position().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) {
        TOvcEditBase::mousePressEvent(event);
        return;
    }
    if (!activateByClick()) {
        return;
    }
    if (TextLength() == 0) {
        return;
    }
    const QPoint point = event->position().toPoint();
    updateCursor(point);
    mouseCaptured_ = true;
    mouseShift_ = (event->modifiers() & Qt::ShiftModifier) != 0;
    marginSelecting_ = mouseInMargin_;
    mousePoint_ = point;
    if (marginSelecting_) {
        const TLineAndColumn at = pointToLineCol(point);
        mouseAnchor_ = {at.Line, 1};
        if (mouseShift_ && SelectionAvailable()) {
            mouseAnchor_ = at.Line < selBeginLine_ ? TLineAndColumn{selEndLine_, selEndCol_}
                                                   : TLineAndColumn{selBeginLine_, selBeginCol_};
        }
    }
    mouseStep(point, true);
    lastAutoScrollMs_ = QDateTime::currentMSecsSinceEpoch();
    autoScrollTimer_.start(kAutoScrollPollMs);
}

void TOvcCustomEditor::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (!mouseCaptured_) {
        updateCursor(point);
        return;
    }
    mousePoint_ = point;
    if (point.y() >= 0 && point.y() < viewport()->height()) {
        mouseStep(point, false);
    }
}

void TOvcCustomEditor::autoScrollTick() {
    if (!mouseCaptured_) {
        autoScrollTimer_.stop();
        return;
    }
    const int y = mousePoint_.y();
    const int height = viewport()->height();
    if (y >= 0 && y < height) {
        return;
    }
    // The farther the pointer is from the window, the faster the text scrolls.
    const int distance = y < 0 ? -y : y - height + 1;
    const int barHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastAutoScrollMs_ >= 3 * barHeight - distance) {
        lastAutoScrollMs_ = now;
        mouseStep(mousePoint_, false);
        mouseLast_ = {-1, -1};
    }
}

void TOvcCustomEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        mouseCaptured_ = false;
        autoScrollTimer_.stop();
    }
    TOvcEditBase::mouseReleaseEvent(event);
}

void TOvcCustomEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || TextLength() == 0) {
        return;
    }
    const QPoint point = event->position().toPoint();
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (mouseInMargin_) {
        selectParagraphAt(point, shift);
    } else {
        selectWordAt(point, shift);
    }
    mouseCaptured_ = false;
    autoScrollTimer_.stop();
}

void TOvcCustomEditor::selectWordAt(QPoint point, bool shift) {
    const TLineAndColumn at = pointToLineCol(point);
    const TLineStart start = paraList_->LineToPara(at.Line);
    const std::string_view text = paraList_->GetPara(start.Para)->Text();
    const auto length = static_cast<std::int32_t>(text.size());
    const auto delimiter = [&](std::int32_t index) {
        return IsWordDelimiter(static_cast<unsigned char>(text[index]));
    };
    std::int32_t first = std::clamp(start.Offset + at.Column, 1, std::max(1, length)) - 1;
    if (length > 0) {
        while (first > 0 && delimiter(first)) {
            --first;
        }
        while (first > 0 && !delimiter(first - 1)) {
            --first;
        }
    }
    std::int32_t last = first;
    while (last < length && !delimiter(last)) {
        ++last;
    }
    while (last < length && IsBlank(text[last])) {
        ++last;
    }
    TParaPos from{start.Para, first + 1};
    TParaPos to{start.Para, last + 1};
    bool caretAtEnd = true;
    if (shift && SelectionAvailable()) {
        if (selBegin_ < from) {
            from = selBegin_;
        } else {
            to = selEnd_;
            caretAtEnd = false;
        }
    }
    selectParaRange(from, to, caretAtEnd);
}

void TOvcCustomEditor::selectParagraphAt(QPoint point, bool shift) {
    const std::int32_t para = paraList_->LineToPara(pointToLineCol(point).Line).Para;
    TParaPos from{para, 1};
    TParaPos to{para, paraList_->GetParaLength(para) + 1};
    bool caretAtEnd = true;
    const bool withinPara = selBegin_.Para == para && selEnd_.Para == para;
    if (shift && SelectionAvailable() && !withinPara) {
        if (para <= selBegin_.Para) {
            to = selEnd_;
            caretAtEnd = false;
        } else {
            from = selBegin_;
        }
    }
    selectParaRange(from, to, caretAtEnd);
}

void TOvcCustomEditor::pastePrimaryAt(QPoint point) {
    if (!activateByClick()) {
        return;
    }
    if (GetReadOnly()) {
        return;
    }
    const QString text = primarySelection_->Text();
    if (text.isEmpty()) {
        return;
    }
    // The text goes in at the click, not over this control's own selection, which is
    // usually what was selected to be pasted.
    const TLineAndColumn at = pointToLineCol(point);
    MoveCaretTo(at.Line, at.Column, false);
    pasteText(text);
    DoOnChange();
}

void TOvcCustomEditor::updateCursor(QPoint point) {
    const bool inMargin = point.x() <= leftMargin_ && viewport()->rect().contains(point);
    if (inMargin != mouseInMargin_) {
        mouseInMargin_ = inMargin;
        viewport()->setCursor(inMargin ? marginCursor_ : QCursor(Qt::IBeamCursor));
    }
}

}  // namespace tomery::editor
