// The editor's view: layout, caret movement, scrolling, the selection and the scroll bars.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QInputMethod>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "OvcEdit.h"

namespace tomery::editor {

namespace {

/// Where the caret stands when it is out of view.
constexpr int kOffScreen = 32767;

/// The status notification, posted so that it arrives after the operation that positioned
/// the caret.
class TShowStatusEvent : public QEvent {
  public:
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    TShowStatusEvent(std::int32_t line, std::int32_t column)
        : QEvent(Kind()), Line(line), Column(column) {}
    const std::int32_t Line;
    const std::int32_t Column;
};

}  // namespace

void TOvcCustomEditor::CreateWnd() {
    TOvcEditBase::CreateWnd();
    recreateWindow();
}

bool TOvcCustomEditor::event(QEvent* event) {
    if (event->type() == TShowStatusEvent::Kind()) {
        const auto* status = static_cast<TShowStatusEvent*>(event);
        DoOnShowStatus(status->Line, status->Column);
        return true;
    }
    if (event->type() == QEvent::KeyPress && wantTab_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return TOvcEditBase::event(event);
}

// Layout.

void TOvcCustomEditor::layout() {
    if (inLayout_) {
        return;
    }
    inLayout_ = true;
    const QFontMetrics metrics(fixedFont_.Font());
    charWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
    lineHeight_ = metrics.height() + std::max(0, metrics.leading()) + 1;
    cellText_.SetFont(fixedFont_.Font(), charWidth_);
    // Showing or hiding a scroll bar changes the client size.
    for (int pass = 0; pass < 4; ++pass) {
        const QSize client = viewport()->size();
        bool changed = false;
        const std::int32_t cols =
            std::max(1, (client.width() - leftMargin_ - rightMargin_) / charWidth_);
        if (cols != visibleCols_) {
            visibleCols_ = cols;
            changed = true;
            if (client.width() > 0) {
                updateHorzScrollBar();
                if (horizontalScrollBar()->maximum() == 0) {
                    horzOffset_ = 0;
                }
            }
        }
        const std::int32_t lines = std::max(1, client.height() / lineHeight_);
        if (lines != visibleLines_) {
            visibleLines_ = lines;
            changed = true;
            if (client.height() > 0) {
                updateVertScrollBar();
            }
        }
        if (!changed) {
            break;
        }
    }
    caret_->SetCellSize(lineHeight_, charWidth_);
    requestFullRepaint();
    inLayout_ = false;
    wrapToWindow();
}

void TOvcCustomEditor::wrapToWindow() {
    if (wrapToWindow_ && WordWrap() && visibleCols_ - 2 > 0) {
        SetWrapColumn(visibleCols_ - 2);
    }
}

void TOvcCustomEditor::RefreshAll(bool paintNow) {
    updateHorzScrollBar();
    updateVertScrollBar();
    layout();
    requestFullRepaint();
    if (paintNow && viewport()->isVisible()) {
        viewport()->repaint();
    }
}

void TOvcCustomEditor::recreateWindow() {
    hasHorzBar_ = scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth;
    hasVertBar_ = scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth;
    const auto policy = [this](bool has) {
        return !has                ? Qt::ScrollBarAlwaysOff
               : scrollBarsAlways_ ? Qt::ScrollBarAlwaysOn
                                   : Qt::ScrollBarAsNeeded;
    };
    setHorizontalScrollBarPolicy(policy(hasHorzBar_));
    setVerticalScrollBarPolicy(policy(hasVertBar_));
    updateHorzScrollBar();
    updateVertScrollBar();
    layout();
}

void TOvcCustomEditor::resizeEvent(QResizeEvent* event) {
    TOvcEditBase::resizeEvent(event);
    const bool fittedBefore = LineCount() <= visibleLines_;
    layout();
    if (!fittedBefore && LineCount() <= visibleLines_ && topLine_ != 1) {
        Scroll(0, 1 - topLine_);
    }
}

// Display coordinates.

std::int32_t TOvcCustomEditor::lineDisplayColumn(std::int32_t line, std::int32_t column) {
    const std::string_view text = paraList_->GetLine(line).Text;
    return paraList_->PosToColumn(text.data(), static_cast<std::int32_t>(text.size()), column);
}

std::int32_t TOvcCustomEditor::lineCharColumn(std::int32_t line, std::int32_t displayColumn) {
    const std::string_view text = paraList_->GetLine(line).Text;
    return paraList_->ColumnToPos(text.data(), static_cast<std::int32_t>(text.size()),
                                  displayColumn);
}

std::int32_t TOvcCustomEditor::caretDisplayColumn() {
    return lineDisplayColumn(caretLine_, caretCol_);
}

bool TOvcCustomEditor::caretLineVisible() const {
    return caretLine_ >= topLine_ && caretLine_ < topLine_ + visibleLines_;
}

bool TOvcCustomEditor::caretVisible() {
    if (!caretLineVisible()) {
        return false;
    }
    const std::int32_t column = caretDisplayColumn();
    return column > horzOffset_ && column <= horzOffset_ + visibleCols_;
}

std::int32_t TOvcCustomEditor::lastTopLine() const {
    return std::max(1, LineCount() - visibleLines_ + 1);
}

TParaPos TOvcCustomEditor::caretTextPos() {
    const std::int32_t end = paraList_->GetParaLength(caretPara_) + 1;
    return {caretPara_, std::min(CaretParaPos(), end)};
}

TLineAndColumn TOvcCustomEditor::displayOf(TParaPos pos) {
    return paraList_->ParaToLine(pos.Para, pos.Pos);
}

void TOvcCustomEditor::setCaretFromPara(TParaPos pos) {
    const TLineAndColumn lc = displayOf(pos);
    caretLine_ = lc.Line;
    caretCol_ = lc.Column;
    if (WordWrap()) {
        caretCol_ = std::min(caretCol_, paraList_->GetLineLength(caretLine_) + 1);
    }
    const TLineStart start = paraList_->LineToPara(caretLine_);
    caretPara_ = start.Para;
    caretLineOffset_ = start.Offset;
}

// Caret movement.

void TOvcCustomEditor::moveCaret(std::int32_t colDelta, std::int32_t lineDelta, bool absolute,
                                 bool extend, bool keepRow) {
    const std::int32_t oldLine = caretLine_;
    const bool wasVisible = caretLineVisible();
    const std::int32_t oldRow = caretLine_ - topLine_;
    if (lineDelta > 0 && oldLine >= LineCount()) {
        return;
    }
    const std::int32_t newLine = std::clamp(oldLine + lineDelta, 1, LineCount());
    if (newLine != oldLine && !absolute) {
        const std::int32_t screenColumn = lineDisplayColumn(oldLine, caretCol_);
        caretCol_ = lineCharColumn(newLine, screenColumn);
    }
    caretLine_ = newLine;

    const std::int32_t limit = ParaLengthLimit();
    std::int32_t bound = scrollPastEnd_ ? limit + 1 : paraList_->GetLineLength(newLine) + 1;
    if (lineDisplayColumn(newLine, bound) > limit) {
        bound = lineCharColumn(newLine, limit) + 1;
    }
    caretCol_ = std::clamp(caretCol_ + colDelta, 1, std::max(1, bound));
    const TLineStart start = paraList_->LineToPara(caretLine_);
    caretPara_ = start.Para;
    caretLineOffset_ = start.Offset;

    if (extend) {
        extendSelection();
    } else {
        collapseSelection(true);
    }

    const bool keepRowInEffect = keepRow && wasVisible;
    if (!keepRowInEffect && caretVisible()) {
        positionCaret();
        return;
    }
    std::int32_t newTop = topLine_;
    if (keepRowInEffect) {
        newTop = caretLine_ - oldRow;
    } else if (caretLine_ < topLine_) {
        newTop = caretLine_;
    } else if (caretLine_ >= topLine_ + visibleLines_) {
        newTop = caretLine_ - visibleLines_ + 1;
    }
    newTop = std::clamp(newTop, std::max(1, caretLine_ - visibleLines_ + 1), caretLine_);

    const std::int32_t column = caretDisplayColumn();
    std::int32_t newHorz = horzOffset_;
    if (column <= horzOffset_) {
        newHorz = column <= 2 ? 0 : column - 1;
    } else if (column > horzOffset_ + visibleCols_) {
        newHorz = column - visibleCols_;
    }
    // Moving on to a later line goes back to the left edge, as long as the caret stays in
    // view there.
    if (newHorz != horzOffset_ && caretLine_ > oldLine && column <= visibleCols_) {
        newHorz = 0;
    }
    Scroll(newHorz - horzOffset_, newTop - topLine_);
}

void TOvcCustomEditor::positionCaret() {
    caretLine_ = std::min(caretLine_, LineCount());
    const std::int32_t column = caretDisplayColumn();
    int x = kOffScreen;
    int y = kOffScreen;
    if (caretVisible()) {
        x = (column - horzOffset_ - 1) * charWidth_ + leftMargin_;
        y = (caretLine_ - topLine_) * lineHeight_;
    }
    caret_->PositionCaret(x, y);
    if (hasFocus()) {
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    }
    QCoreApplication::postEvent(this, new TShowStatusEvent(caretLine_, column));
}

void TOvcCustomEditor::Scroll(std::int32_t columns, std::int32_t lines) {
    const std::int32_t oldHorz = horzOffset_;
    const std::int32_t oldTop = topLine_;
    horzOffset_ = (columns < 0 && -columns > horzOffset_) ? 0 : horzOffset_ + columns;
    topLine_ = std::clamp(topLine_ + lines, 1, lastTopLine());
    if (horzOffset_ == oldHorz && topLine_ == oldTop) {
        positionCaret();
        return;
    }
    const TLineStart start = paraList_->LineToPara(topLine_);
    topPara_ = start.Para;
    topLineOffset_ = start.Offset;
    updateScrollBarPositions();
    scrollPixels(oldHorz, oldTop);
    positionCaret();
    if (topLine_ != oldTop) {
        DoOnTopLineChanged(topLine_);
    }
}

// Selection.

void TOvcCustomEditor::collapseSelection(bool repaint) {
    const bool had = SelectionAvailable();
    const std::int32_t oldFirst = selBeginLine_;
    const std::int32_t oldLast = selEndLine_;
    const TParaPos at = caretTextPos();
    selBegin_ = selEnd_ = selMovingEnd_ = at;
    selBeginLine_ = selEndLine_ = caretLine_;
    selBeginCol_ = selEndCol_ = caretCol_ - (CaretParaPos() - at.Pos);
    if (repaint && had) {
        repaintLines(oldFirst, oldLast);
    }
}

void TOvcCustomEditor::extendSelection() {
    const std::int32_t oldFirst = selBeginLine_;
    const std::int32_t oldLast = selEndLine_;
    const TParaPos at = caretTextPos();
    if (selMovingEnd_ == selBegin_) {
        selBegin_ = at;
    } else {
        selEnd_ = at;
    }
    if (selEnd_ < selBegin_) {
        std::swap(selBegin_, selEnd_);
    }
    selMovingEnd_ = at;
    updateSelectionDisplay();
    offerSelectionLater();
    repaintLines(std::min({caretLine_, oldFirst, selBeginLine_}),
                 std::max({caretLine_, oldLast, selEndLine_}));
}

void TOvcCustomEditor::updateSelectionDisplay() {
    // The end at the caret keeps the caret's line: at the end of a wrapped line it is shown
    // there, not at the start of the next one.
    const TParaPos caretAt = caretTextPos();
    const auto display = [&](TParaPos pos, std::int32_t& line, std::int32_t& col) {
        if (pos == caretAt) {
            line = caretLine_;
            col = caretCol_ - (CaretParaPos() - caretAt.Pos);
        } else {
            const TLineAndColumn lc = displayOf(pos);
            line = lc.Line;
            col = lc.Column;
        }
    };
    display(selBegin_, selBeginLine_, selBeginCol_);
    display(selEnd_, selEndLine_, selEndCol_);
}

// Scroll bars.

void TOvcCustomEditor::updateHorzScrollBar() {
    horzRange_ = ComputeHorzRange(WordWrap(), WrapColumn(), ParaLengthLimit(), scrollBarsAlways_);
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, HorzBarMax(hasHorzBar_, visibleCols_, horzRange_, scrollBarsAlways_));
    bar->setPageStep(std::max(1, visibleCols_));
    bar->setValue(horzOffset_);
}

void TOvcCustomEditor::updateVertScrollBar() {
    vertScroll_ = ComputeVertScroll(LineCount(), visibleLines_, hasVertBar_, scrollBarsAlways_);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(vertScroll_.Min, vertScroll_.Max);
    bar->setPageStep(std::max(1, visibleLines_ / vertScroll_.Scale));
    bar->setValue(topLine_ / vertScroll_.Scale);
}

void TOvcCustomEditor::updateScrollBarPositions() {
    horizontalScrollBar()->setValue(horzOffset_);
    verticalScrollBar()->setValue(topLine_ / vertScroll_.Scale);
}

void TOvcCustomEditor::vertScrollAction(int action) {
    QScrollBar* bar = verticalScrollBar();
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            Scroll(0, 1);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            Scroll(0, -1);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            Scroll(0, visibleLines_);
            break;
        case QAbstractSlider::SliderPageStepSub:
            Scroll(0, -visibleLines_);
            break;
        case QAbstractSlider::SliderToMinimum:
        case QAbstractSlider::SliderToMaximum:
        case QAbstractSlider::SliderMove:
            Scroll(0,
                   TopLineForThumb(bar->sliderPosition(), vertScroll_, LineCount(), visibleLines_) -
                       topLine_);
            break;
        default:
            return;
    }
    bar->setSliderPosition(topLine_ / vertScroll_.Scale);
}

void TOvcCustomEditor::horzScrollAction(int action) {
    QScrollBar* bar = horizontalScrollBar();
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            Scroll(1, 0);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            Scroll(-1, 0);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            Scroll(visibleCols_ - 1, 0);
            break;
        case QAbstractSlider::SliderPageStepSub:
            Scroll(-(visibleCols_ - 1), 0);
            break;
        case QAbstractSlider::SliderToMinimum:
        case QAbstractSlider::SliderToMaximum:
        case QAbstractSlider::SliderMove:
            horzOffset_ = bar->sliderPosition();
            updateScrollBarPositions();
            requestFullRepaint();
            positionCaret();
            break;
        default:
            return;
    }
    bar->setSliderPosition(horzOffset_);
}

void TOvcCustomEditor::scrollContentsBy(int, int) {
    // The view scrolls itself (Scroll); the bars only report what the user did.
}

void TOvcCustomEditor::wheelEvent(QWheelEvent* event) {
    // Touchpads report a notch (120) in many small deltas: they add up until they make one.
    constexpr int kNotch = 120;
    wheelRemainder_ += event->angleDelta();
    const int across = wheelRemainder_.x() / kNotch;
    const int down = wheelRemainder_.y() / kNotch;
    wheelRemainder_ -= QPoint(across, down) * kNotch;
    const int perNotch = QApplication::wheelScrollLines();
    if (down != 0) {
        Scroll(0, -down * perNotch);
    }
    if (across != 0) {
        // Sideways only as far as the horizontal scroll bar reaches.
        const int target = std::clamp(horzOffset_ - across * perNotch, 0,
                                      std::max(horizontalScrollBar()->maximum(), 0));
        Scroll(target - horzOffset_, 0);
    }
    event->accept();
}

// Repainting.

void TOvcCustomEditor::requestFullRepaint() {
    repaintPending_ = true;
    viewport()->update();
}

void TOvcCustomEditor::repaintLines(std::int32_t first, std::int32_t last) {
    if (repaintPending_) {
        return;
    }
    const std::int32_t firstRow = std::max(first, topLine_) - topLine_;
    const std::int32_t lastVisible = topLine_ + visibleLines_;
    if (last < topLine_ || first > lastVisible) {
        return;
    }
    const int top = firstRow * lineHeight_;
    const int bottom =
        last >= lastVisible ? viewport()->height() : (last - topLine_ + 1) * lineHeight_;
    viewport()->update(QRect(0, top, viewport()->width(), bottom - top));
}

void TOvcCustomEditor::repaintChangedLines() {
    repaintLines(paraList_->FirstChangedLine(), paraList_->LastChangedLine());
}

void TOvcCustomEditor::scrollPixels(std::int32_t oldHorz, std::int32_t oldTop) {
    if (repaintPending_) {
        viewport()->update();
        return;
    }
    const int dx = (oldHorz - horzOffset_) * charWidth_;
    const int dy = (oldTop - topLine_) * lineHeight_;
    const QRect area(leftMargin_, 0, visibleCols_ * charWidth_, visibleLines_ * lineHeight_);
    if (std::abs(dx) >= area.width() || std::abs(dy) >= area.height() || (dx != 0 && dy != 0)) {
        requestFullRepaint();
        return;
    }
    QRect moved = area;
    if (showBookmarks_ && dy != 0) {
        moved.setLeft(0);
    }
    // The caret is painted into the pixels that move; its old place is painted afresh.
    const QRect caretRect = caret_->Rect();
    viewport()->scroll(dx, dy, moved);
    if (!caretRect.isEmpty()) {
        viewport()->update(caretRect);
        viewport()->update(caretRect.translated(dx, dy));
    }
}

// Focus and state.

void TOvcCustomEditor::focusInEvent(QFocusEvent* event) {
    TOvcEditBase::focusInEvent(event);
    if (Controller() != nullptr) {
        insertMode_ = Controller()->InsertMode();
    }
    caret_->SetInsertMode(insertMode_);
    caret_->SetCellSize(lineHeight_, charWidth_);
    caret_->SetExists(true);
    caret_->SetShown(true);
    positionCaret();
    if (hideSelection_) {
        requestFullRepaint();
    }
}

void TOvcCustomEditor::focusOutEvent(QFocusEvent* event) {
    TOvcEditBase::focusOutEvent(event);
    caret_->SetExists(false);
    if (hideSelection_) {
        requestFullRepaint();
    }
    if (Controller() != nullptr) {
        Controller()->SetInsertMode(insertMode_);
    }
}

void TOvcCustomEditor::changeEvent(QEvent* event) {
    TOvcEditBase::changeEvent(event);
    // A desktop switching to a dark theme changes the palette the colours come from.
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange) {
        requestFullRepaint();
    }
}

}  // namespace tomery::editor
