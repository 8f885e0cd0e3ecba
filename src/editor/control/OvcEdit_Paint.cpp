// Painting of the editor: rows with the selection, margins and bookmark glyphs, the caret.
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <climits>
#include <utility>

#include "OvcCellText.h"
#include "OvcEdit.h"

namespace tomery::editor {

namespace {

constexpr char16_t kSoftHyphen = 0xAD;

/// Screen text for 8-bit characters of `set`; control characters show as their control
/// pictures and the soft hyphen as a hyphen, so that every character can be seen in its cell.
/// (The soft hyphen is a character: KOI8-R has a box-drawing piece at its byte.)
QString ScreenText(std::string_view bytes, const charset::TCharacterSet& set) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const char16_t c = set.Character(static_cast<unsigned char>(byte));
        *out++ = QChar(c < 0x20 ? char16_t(0x2400 + c) : c == kSoftHyphen ? kShownSoftHyphen : c);
    }
    return text;
}

}  // namespace

QRect TOvcCustomEditor::textArea() const {
    return QRect(leftMargin_, 0, visibleCols_ * charWidth_, viewport()->height());
}

TOvcCustomEditor::TPaintColors TOvcCustomEditor::paintColors() const {
    const QPalette& colors = palette();
    const QColor fontColor = fixedFont_.Color();
    const bool systemHighlight = highlightColors_.UseDefault();
    return {
        isEnabled() ? (fontColor.isValid() ? fontColor : colors.color(QPalette::Text))
                    : colors.color(QPalette::Disabled, QPalette::Text),
        Color(),
        systemHighlight ? colors.color(QPalette::HighlightedText) : highlightColors_.TextColor(),
        systemHighlight ? colors.color(QPalette::Highlight) : highlightColors_.BackColor()};
}

bool TOvcCustomEditor::selectionShown() const {
    return isEnabled() && SelectionAvailable() && (!hideSelection_ || hasFocus());
}

void TOvcCustomEditor::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect clip = event->rect();
    const QRect area = textArea();
    const int height = viewport()->height();
    const TPaintColors colors = paintColors();
    painter.fillRect(QRect(0, 0, leftMargin_, height) & clip, colors.background);
    painter.fillRect(
        QRect(area.right() + 1, 0, viewport()->width() - area.right() - 1, height) & clip,
        colors.background);
    if (showBookmarks_) {
        paintBookmarks(painter, clip);
    }
    painter.setFont(fixedFont_.Font());
    const bool selection = selectionShown();
    const std::int32_t firstRow = std::max(1, clip.top() / lineHeight_ + 1);
    const std::int32_t lastRow = std::min(visibleLines_, clip.bottom() / lineHeight_ + 1);
    for (std::int32_t row = firstRow; row <= lastRow; ++row) {
        paintRow(painter, row, selection, colors);
    }
    const int below = visibleLines_ * lineHeight_;
    if (below < height) {
        painter.fillRect(QRect(area.left(), below, area.width(), height - below) & clip,
                         colors.background);
    }
    // A full repaint follows a layout change, a re-wrap or a jump of the view, each of which
    // may have moved the caret's cell without a caret move: the caret and the status are
    // placed afresh, so that they show where the next key will land.
    if (std::exchange(repaintPending_, false)) {
        positionCaret();
    }
    caret_->Paint(painter, colors.background, colors.text);
}

void TOvcCustomEditor::paintRow(QPainter& painter, std::int32_t row, bool selectionShown,
                                const TPaintColors& colors) {
    const std::int32_t line = topLine_ + row - 1;
    const QRect rowRect(leftMargin_, (row - 1) * lineHeight_, visibleCols_ * charWidth_,
                        lineHeight_);
    std::string_view text;
    std::string expanded;
    if (line <= LineCount()) {
        text = paraList_->GetLine(line).Text;
        if (text.find('\t') != std::string_view::npos) {
            expanded = ExpandTabs(text, tabSize_);
            text = expanded;
        }
    }
    std::int32_t selFirst = 0;  // the selected display columns on this line, [first, last)
    std::int32_t selLast = 0;
    const bool lineSelected =
        selectionShown && line >= selBeginLine_ && line <= selEndLine_ && line <= LineCount();
    if (lineSelected) {
        selFirst = line == selBeginLine_ ? lineDisplayColumn(line, selBeginCol_) : 1;
        selLast = line == selEndLine_ ? lineDisplayColumn(line, selEndCol_) : INT_MAX;
    }
    if (OnDrawLine) {
        const std::string terminated(text);
        TEditorDrawLineArgs args{
            painter,
            rowRect,
            terminated.c_str(),
            static_cast<std::int32_t>(terminated.size()),
            line,
            horzOffset_,
            visibleCols_,
            selectionShown ? selBeginLine_ : 0,
            selectionShown ? lineDisplayColumn(selBeginLine_, selBeginCol_) : 0,
            selectionShown ? selEndLine_ : 0,
            selectionShown ? lineDisplayColumn(selEndLine_, selEndCol_) : 0};
        DoOnDrawLine(args);
        if (args.WasDrawn) {
            return;
        }
    }
    const std::size_t skip = std::min<std::size_t>(horzOffset_, text.size());
    const std::string_view shown = text.substr(skip, static_cast<std::size_t>(visibleCols_));
    const auto toShown = [&](std::int32_t column) {
        const std::int64_t index = static_cast<std::int64_t>(column) - 1 - horzOffset_;
        return static_cast<std::size_t>(std::clamp<std::int64_t>(index, 0, shown.size()));
    };
    const std::size_t a = lineSelected ? toShown(selFirst) : shown.size();
    const std::size_t b = lineSelected ? std::max(a, toShown(selLast)) : shown.size();

    const int ascent = painter.fontMetrics().ascent();
    const auto drawRun = [&](std::size_t from, std::size_t to, const QColor& fore,
                             const QColor& back) {
        if (from >= to) {
            return;
        }
        const QRect cell(rowRect.left() + static_cast<int>(from) * charWidth_, rowRect.top(),
                         static_cast<int>(to - from) * charWidth_, lineHeight_);
        painter.fillRect(cell, back);
        painter.setPen(fore);
        cellText_.Draw(painter, QPointF(cell.left(), cell.top() + ascent),
                       ScreenText(shown.substr(from, to - from), *characterSet_));
    };
    drawRun(0, a, colors.text, colors.background);
    drawRun(a, b, colors.selectedText, colors.selectedBackground);
    drawRun(b, shown.size(), colors.text, colors.background);
    const int rest = rowRect.left() + static_cast<int>(shown.size()) * charWidth_;
    painter.fillRect(QRect(rest, rowRect.top(), rowRect.right() + 1 - rest, lineHeight_),
                     colors.background);
}

void TOvcCustomEditor::paintBookmarks(QPainter& painter, const QRect& area) {
    const int glyphWidth = markers_.width() / 10;
    if (glyphWidth == 0 || glyphWidth > leftMargin_) {
        return;
    }
    std::array<std::int32_t, kMarkerCount> lines{};
    for (std::size_t i = 0; i < kMarkerCount; ++i) {
        const TParaPos marker = paraList_->Marker(i);
        lines[i] = marker.Para == 0 ? 0 : displayOf(marker).Line;
    }
    const int glyphHeight = markers_.height();
    for (std::int32_t row = 1; row <= visibleLines_; ++row) {
        const int top = (row - 1) * lineHeight_;
        if (top > area.bottom() || top + lineHeight_ <= area.top()) {
            continue;
        }
        const std::int32_t line = topLine_ + row - 1;
        const auto found = std::find(lines.begin(), lines.end(), line);
        if (found == lines.end()) {
            continue;
        }
        const int index = static_cast<int>(found - lines.begin());
        const int y = lineHeight_ >= glyphHeight + 2 ? top + (lineHeight_ - glyphHeight) / 2 : top;
        painter.drawImage(QPoint(1, y), markers_,
                          QRect(index * glyphWidth, 0, glyphWidth, glyphHeight));
    }
}

}  // namespace tomery::editor
