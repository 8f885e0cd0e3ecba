#include "OvcEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <utility>

#include "OvcCharset.h"

namespace tomery::editor {

namespace {

constexpr std::uint16_t kDefaultUndoBufferSize = 8192;
constexpr int kMarkerGlyphSize = 12;

/// The glyphs of bookmarks 0 to 9, 12 pixels each, side by side.
QImage MakeMarkerGlyphs() {
    QImage image(kMarkerGlyphSize * 10, kMarkerGlyphSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font;
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    for (int i = 0; i < 10; ++i) {
        const QRect cell(i * kMarkerGlyphSize, 0, kMarkerGlyphSize, kMarkerGlyphSize);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x00, 0x66, 0x99));
        painter.drawRoundedRect(cell.adjusted(0, 0, -1, -1), 3, 3);
        painter.setPen(Qt::white);
        painter.drawText(cell, Qt::AlignCenter, QString::number(i));
    }
    return image;
}

/// An arrow pointing up and to the right, the cursor for selecting whole lines.
QCursor MakeMarginCursor() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QPolygon arrow({QPoint(15, 0), QPoint(15, 9), QPoint(12, 6), QPoint(5, 13), QPoint(2, 10),
                          QPoint(9, 3), QPoint(6, 0)});
    painter.setPen(Qt::white);
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
    return QCursor(pixmap, 15, 0);
}

}  // namespace

TOvcCustomEditor::TOvcCustomEditor(QWidget* parent)
    : TOvcEditBase(parent),
      paraList_(std::make_unique<TParaList>(static_cast<TParaListClient*>(this), false,
                                            kDefaultUndoBufferSize)),
      caret_(
          std::make_unique<TOvcCaretPair>([this](const QRect& rect) { viewport()->update(rect); })),
      markers_(MakeMarkerGlyphs()),
      marginCursor_(MakeMarginCursor()) {
    fixedFont_.OnChange = [this] {
        layout();
        if (hasFocus()) {
            positionCaret();
        }
    };
    highlightColors_.OnChange = [this] { requestFullRepaint(); };
    setFocusPolicy(Qt::StrongFocus);
    // Dead keys, compose sequences and input methods deliver their characters to a widget
    // that takes composed input only.
    setAttribute(Qt::WA_InputMethodEnabled);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &TOvcCustomEditor::vertScrollAction);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            &TOvcCustomEditor::horzScrollAction);
    connect(&autoScrollTimer_, &QTimer::timeout, this, &TOvcCustomEditor::autoScrollTick);
    resize(200, 150);
    layout();
}

TOvcCustomEditor::~TOvcCustomEditor() = default;

// Properties.

void TOvcCustomEditor::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    setFrameShape(style == TBorderStyle::bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TOvcCustomEditor::SetByteLimit(std::int32_t limit) {
    paraList_->SetByteLimit(limit);
}

void TOvcCustomEditor::SetCharacterSet(const charset::TCharacterSet& set) {
    if (&set != characterSet_) {
        characterSet_ = &set;
        requestFullRepaint();
    }
}

QColor TOvcCustomEditor::Color() const {
    return color_.isValid() ? color_ : palette().color(QPalette::Base);
}

void TOvcCustomEditor::SetColor(const QColor& color) {
    color_ = color;
    requestFullRepaint();
}

void TOvcCustomEditor::SetHideSelection(bool hide) {
    hideSelection_ = hide;
    requestFullRepaint();
}

void TOvcCustomEditor::SetInsertMode(bool insert) {
    if (insert == insertMode_) {
        return;
    }
    insertMode_ = insert;
    caret_->SetInsertMode(insert);
    positionCaret();
}

void TOvcCustomEditor::SetLeftMargin(std::int32_t pixels) {
    if (pixels >= 0 && pixels != leftMargin_) {
        leftMargin_ = pixels;
        layout();
    }
}

void TOvcCustomEditor::SetRightMargin(std::int32_t pixels) {
    if (pixels >= 0 && pixels != rightMargin_) {
        rightMargin_ = pixels;
        layout();
    }
}

void TOvcCustomEditor::SetParaLengthLimit(std::int32_t limit) {
    if (limit >= 1 && limit <= 32767) {
        paraList_->SetParaLengthLimit(limit);
        updateHorzScrollBar();
    }
}

void TOvcCustomEditor::SetParaLimit(std::int32_t limit) {
    paraList_->SetParaLimit(limit);
}

void TOvcCustomEditor::SetScrollBars(TScrollStyle bars) {
    scrollBars_ = bars;
    if (bars == TScrollStyle::ssNone) {
        scrollBarsAlways_ = false;
    }
    recreateWindow();
}

void TOvcCustomEditor::SetScrollBarsAlways(bool always) {
    if (always && scrollBars_ == TScrollStyle::ssNone) {
        return;
    }
    scrollBarsAlways_ = always;
    recreateWindow();
}

void TOvcCustomEditor::SetScrollPastEnd(bool on) {
    scrollPastEnd_ = on;
    if (on) {
        SetWordWrap(false);
    }
}

void TOvcCustomEditor::SetShowBookmarks(bool show) {
    if (show == showBookmarks_) {
        return;
    }
    showBookmarks_ = show;
    markers_ = show ? MakeMarkerGlyphs() : QImage();
    requestFullRepaint();
}

void TOvcCustomEditor::SetTabSize(std::uint8_t size) {
    if (size == 0) {
        return;
    }
    tabSize_ = size;
    paraList_->SetTabSize(size);
    requestFullRepaint();
}

void TOvcCustomEditor::SetTabType(TTabType type) {
    tabType_ = type;
    requestFullRepaint();
}

void TOvcCustomEditor::SetUndoBufferSize(std::uint16_t bytes) {
    paraList_->SetUndoBufferSize(bytes);
}

void TOvcCustomEditor::SetWordWrap(bool on) {
    paraList_->SetWordWrap(on);
    if (paraList_->WordWrap()) {
        wrapAtLeft_ = true;
        scrollPastEnd_ = false;
    }
}

void TOvcCustomEditor::SetWrapAtLeft(bool on) {
    if (on || !WordWrap()) {
        wrapAtLeft_ = on;
    }
}

void TOvcCustomEditor::SetWrapColumn(std::int32_t column) {
    paraList_->SetWrapColumn(column);
}

void TOvcCustomEditor::SetWrapToWindow(bool on) {
    wrapToWindow_ = on;
    wrapToWindow();
}

// Events.

void TOvcCustomEditor::DoOnDrawLine(TEditorDrawLineArgs& args) {
    if (OnDrawLine) {
        OnDrawLine(*this, args);
    }
}

void TOvcCustomEditor::DoOnChange() {
    if (OnChange) {
        OnChange(*this);
    }
}

void TOvcCustomEditor::DoOnError(TEditorErrorCode code) {
    if (code == kErrorNone) {
        return;
    }
    if (OnError) {
        OnError(*this, code);
        return;
    }
    throw EEditorError(code);
}

void TOvcCustomEditor::DoOnShowStatus(std::int32_t line, std::int32_t column) {
    if (OnShowStatus) {
        OnShowStatus(*this, line, column);
    }
    emit StatusShown(line, column);
}

void TOvcCustomEditor::DoOnTopLineChanged(std::int32_t line) {
    if (OnTopLineChanged) {
        OnTopLineChanged(*this, line);
    }
}

void TOvcCustomEditor::DoOnUserCommand(CommandCode command) {
    if (OnUserCommand) {
        OnUserCommand(*this, command);
    }
}

void TOvcCustomEditor::DoOnCharactersReplaced(const charset::TReplacementLog& log) {
    if (OnCharactersReplaced) {
        OnCharactersReplaced(*this, log);
    }
}

// Text access.

std::string_view TOvcCustomEditor::GetPara(std::int32_t para) {
    const TParaNode* node = paraList_->GetPara(para);
    if (node == nullptr) {
        throw EInvalidLineOrPara();
    }
    return node->Text();
}

const char* TOvcCustomEditor::GetParaPointer(std::int32_t para) {
    return GetPara(para).data();
}

char* TOvcCustomEditor::GetLine(std::int32_t line, char* dest, std::uint16_t capacity) {
    if (line < 1 || line > LineCount()) {
        throw EInvalidLineOrPara();
    }
    const std::string_view text = paraList_->GetLine(line).Text;
    const std::size_t count = std::min<std::size_t>(text.size(), capacity);
    std::memcpy(dest, text.data(), count);
    dest[count] = '\0';
    return dest;
}

std::int32_t TOvcCustomEditor::GetPrintableLine(std::int32_t line, char* dest,
                                                std::uint16_t capacity) {
    const std::string expanded = GetStringLine(line);
    const std::size_t count = std::min<std::size_t>(expanded.size(), capacity);
    std::memcpy(dest, expanded.data(), count);
    dest[count] = '\0';
    return static_cast<std::int32_t>(count);
}

std::string TOvcCustomEditor::GetStringLine(std::int32_t line) {
    if (line < 1 || line > LineCount()) {
        throw EInvalidLineOrPara();
    }
    return ExpandTabs(paraList_->GetLine(line).Text, tabSize_);
}

std::int32_t TOvcCustomEditor::LineLength(std::int32_t line) {
    if (line < 1 || line > LineCount()) {
        throw EInvalidLineOrPara();
    }
    return paraList_->GetLineLength(line);
}

std::int32_t TOvcCustomEditor::VisibleColumns() {
    HandleNeeded();
    return visibleCols_;
}

void TOvcCustomEditor::ParaToLine(std::int32_t& para, std::int32_t& pos) {
    if (para < 1 || para > ParaCount()) {
        throw EInvalidLineOrPara();
    }
    const TLineAndColumn lc = paraList_->ParaToLine(para, pos);
    para = lc.Line;
    pos = lc.Column;
}

void TOvcCustomEditor::SetModified(bool modified) {
    if (modified != paraList_->Modified()) {
        paraList_->SetModified(modified);
        requestFullRepaint();
    }
}

// Caret and selection entry points.

std::int32_t TOvcCustomEditor::GetCaretPosition(std::int32_t& column) const {
    column = caretCol_;
    return caretLine_;
}

void TOvcCustomEditor::SetCaretPosition(std::int32_t line, std::int32_t column) {
    if (line < 1 || line > LineCount() || column < 1) {
        throw EInvalidLineOrPara();
    }
    MoveCaretTo(line, column, false);
}

void TOvcCustomEditor::SetTopLine(std::int32_t line) {
    if (line < 1 || line > LineCount()) {
        throw EInvalidLineOrPara();
    }
    Scroll(0, line - topLine_);
}

void TOvcCustomEditor::MoveCaretTo(std::int32_t line, std::int32_t column, bool extend) {
    moveCaret(column - caretCol_, line - caretLine_, true, extend, false);
}

void TOvcCustomEditor::MoveCaretToPara(std::int32_t para, std::int32_t pos, bool extend) {
    const TLineAndColumn lc = paraList_->ParaToLine(para, pos);
    MoveCaretTo(lc.Line, lc.Column, extend);
}

bool TOvcCustomEditor::GetSelection(std::int32_t& line1, std::int32_t& col1, std::int32_t& line2,
                                    std::int32_t& col2) const {
    if (!SelectionAvailable()) {
        return false;
    }
    line1 = selBeginLine_;
    col1 = selBeginCol_;
    line2 = selEndLine_;
    col2 = selEndCol_;
    return true;
}

void TOvcCustomEditor::SetSelection(std::int32_t line1, std::int32_t col1, std::int32_t line2,
                                    std::int32_t col2, bool caretAtEnd) {
    if (TextLength() == 0) {
        return;
    }
    const auto clampPoint = [this](std::int32_t& line, std::int32_t& col) {
        line = std::clamp(line, 1, LineCount());
        col = std::clamp(col, 1, paraList_->GetLineLength(line) + 1);
    };
    clampPoint(line1, col1);
    clampPoint(line2, col2);
    if (caretAtEnd) {
        MoveCaretTo(line1, col1, false);
        MoveCaretTo(line2, col2, true);
    } else {
        MoveCaretTo(line2, col2, false);
        MoveCaretTo(line1, col1, true);
    }
}

void TOvcCustomEditor::selectParaRange(TParaPos from, TParaPos to, bool caretAtEnd) {
    const TLineAndColumn a = displayOf(from);
    const TLineAndColumn b = displayOf(to);
    SetSelection(a.Line, a.Column, b.Line, b.Column, caretAtEnd);
}

void TOvcCustomEditor::SelectAll(bool caretAtEnd) {
    SetSelection(1, 1, LineCount(), paraList_->GetLineLength(LineCount()) + 1, caretAtEnd);
}

void TOvcCustomEditor::CollapseSelection(bool toEnd) {
    if (SelectionAvailable()) {
        const TParaPos target = toEnd ? selEnd_ : selBegin_;
        MoveCaretToPara(target.Para, target.Pos, false);
    }
}

// Editing.

TEditorErrorCode TOvcCustomEditor::deleteSelection() {
    const TParaPos from = selBegin_;
    const TParaPos to = selEnd_;
    TEditorErrorCode code = kErrorNone;
    if (from.Para == to.Para) {
        paraList_->DeleteText(from.Para, from.Pos, to.Pos - from.Pos);
        repaintChangedLines();
    } else {
        code = paraList_->DeleteRange(from, to);
        updateVertScrollBar();
        requestFullRepaint();
    }
    MoveCaretToPara(from.Para, from.Pos, false);
    return code;
}

void TOvcCustomEditor::deleteForward() {
    if (GetReadOnly()) {
        return;
    }
    if (SelectionAvailable()) {
        DoOnError(deleteSelection());
        return;
    }
    const TParaPos at = caretPos();
    const std::int32_t length = paraList_->GetParaLength(at.Para);
    TEditorErrorCode code = kErrorNone;
    if (at.Pos <= length) {
        paraList_->DeleteText(at.Para, at.Pos, 1);
        repaintChangedLines();
    } else if (at.Para < paraList_->ParaCount()) {
        if (length == 0 && at.Pos == 1) {
            paraList_->DeletePara(at.Para);
        } else {
            code = paraList_->JoinParas(at.Para, at.Pos);
        }
        updateVertScrollBar();
        requestFullRepaint();
    }
    if (code != kErrorNone) {
        DoOnError(code);
        return;
    }
    MoveCaretToPara(at.Para, at.Pos, false);
}

TEditorErrorCode TOvcCustomEditor::InsertString(std::string_view text) {
    if (GetReadOnly()) {
        return kErrorNone;
    }
    std::optional<TUndoGroupGuard> group;
    if (SelectionAvailable() || text.size() > kInsertChunk) {
        group.emplace(paraList_->UndoBuffer());
    }
    TEditorErrorCode code = SelectionAvailable() ? deleteSelection() : kErrorNone;
    if (code != kErrorNone || text.empty()) {
        return code;
    }
    TParaPos at = caretPos();
    while (!text.empty() && code == kErrorNone) {
        const std::size_t length = InsertChunkLength(text);
        code = paraList_->InsertLines(at, text.substr(0, length), trimBlanks());
        text.remove_prefix(length);
    }
    updateVertScrollBar();
    repaintChangedLines();
    MoveCaretToPara(at.Para, at.Pos, false);
    return code;
}

void TOvcCustomEditor::typeCharacter(char c) {
    if (GetReadOnly()) {
        return;
    }
    std::optional<TUndoGroupGuard> group;
    bool insert = insertMode_;
    TEditorErrorCode code = kErrorNone;
    if (SelectionAvailable()) {
        group.emplace(paraList_->UndoBuffer());
        code = deleteSelection();
        insert = true;
    }
    const TParaPos at = caretPos();
    const std::int32_t lineBefore = caretLine_;
    if (code == kErrorNone) {
        const std::string_view typed(&c, 1);
        code = insert || at.Pos > paraList_->GetParaLength(at.Para)
                   ? paraList_->InsertText(at.Para, at.Pos, typed)
                   : paraList_->ReplaceText(at.Para, at.Pos, 1, typed);
    }
    group.reset();
    if (code != kErrorNone) {
        DoOnError(code);
        return;
    }
    repaintChangedLines();
    if (paraList_->LastChangedLine() == kMaxInt32) {
        updateVertScrollBar();
    }
    MoveCaretToPara(at.Para, at.Pos + 1, false);
    if (caretLine_ > lineBefore && horzOffset_ != 0) {
        Scroll(-horzOffset_, 0);
    }
}

TEditorErrorCode TOvcCustomEditor::AppendLine(std::string_view text) {
    const std::int32_t linesBefore = LineCount();
    const TEditorErrorCode code = paraList_->AppendLine(text, trimBlanks());
    if (code == kErrorNone && linesBefore <= visibleLines_ && LineCount() > visibleLines_) {
        updateVertScrollBar();
        requestFullRepaint();
    }
    return code;
}

std::unique_ptr<TParaList> TOvcCustomEditor::NewParaList() {
    auto list = std::make_unique<TParaList>(static_cast<TParaListClient*>(this),
                                            paraList_->WordWrap(), paraList_->UndoBufferSize());
    list->SetByteLimit(paraList_->ByteLimit());
    list->SetParaLimit(paraList_->ParaLimit());
    list->SetParaLengthLimit(paraList_->ParaLengthLimit());
    list->SetWrapColumn(paraList_->WrapColumn());
    list->SetTabSize(tabSize_);
    return list;
}

void TOvcCustomEditor::SwapParaList(std::unique_ptr<TParaList> list) {
    paraList_ = std::move(list);
    const std::int32_t oldTop = topLine_;
    caretLine_ = caretCol_ = caretPara_ = 1;
    caretLineOffset_ = 0;
    topLine_ = topPara_ = 1;
    topLineOffset_ = 0;
    horzOffset_ = 0;
    collapseSelection(false);
    if (oldTop != 1) {
        DoOnTopLineChanged(1);
    }
}

void TOvcCustomEditor::ResetText(bool repaint) {
    SwapParaList(NewParaList());
    if (repaint && HandleAllocated()) {
        RefreshAll(true);
    }
}

// Clipboard.

QString TOvcCustomEditor::selectedText() {
    return BytesToText(SelectedText(*paraList_, selBegin_, selEnd_), *characterSet_);
}

void TOvcCustomEditor::CopyToClipboard() {
    if (!SelectionAvailable()) {
        return;
    }
    QString text;
    try {
        text = selectedText();
    } catch (const std::bad_alloc&) {
        DoOnError(kErrorOutOfMemory);
        return;
    }
    QGuiApplication::clipboard()->setText(text);
}

void TOvcCustomEditor::CutToClipboard() {
    if (SelectionAvailable() && !GetReadOnly()) {
        CopyToClipboard();
        DoOnError(deleteSelection());
    }
    updateVertScrollBar();
    Scroll(0, 0);
}

void TOvcCustomEditor::PasteFromClipboard() {
    if (GetReadOnly()) {
        return;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return;
    }
    pasteText(data->text());
}

void TOvcCustomEditor::pasteText(const QString& text) {
    // All of the text goes in, zero characters too: the editor keeps byte 0 as any other.
    charset::TReplacementLog log;
    const std::string bytes = TextToBytes(text, *characterSet_, &log);
    const TEditorErrorCode code = InsertString(bytes);
    if (!log.Empty()) {
        DoOnCharactersReplaced(log);
    }
    DoOnError(code);
    updateVertScrollBar();
    Scroll(0, 0);
}

void TOvcCustomEditor::SetPrimarySelection(std::shared_ptr<TPrimarySelection> selection) {
    if (selection != nullptr) {
        primarySelection_ = std::move(selection);
    }
}

void TOvcCustomEditor::offerSelectionLater() {
    // A drag or a run of Shift+arrow keys extends the selection many times; the text is
    // offered once, after the operation.
    if (std::exchange(selectionOfferPending_, true) || !primarySelection_->Available()) {
        return;
    }
    QTimer::singleShot(0, this, [this] {
        selectionOfferPending_ = false;
        if (SelectionAvailable()) {
            primarySelection_->SetText(selectedText());
        }
    });
}

// Undo and redo.

bool TOvcCustomEditor::CanUndo() const {
    return !GetReadOnly() && paraList_->UndoBuffer().UndoCount() > 0;
}

bool TOvcCustomEditor::CanRedo() const {
    return !GetReadOnly() && paraList_->UndoBuffer().RedoCount() > 0;
}

void TOvcCustomEditor::Undo() {
    if (!CanUndo()) {
        QApplication::beep();
        return;
    }
    TParaPos at;
    paraList_->UndoReplay(at);
    setCaretFromPara(at);
    updateVertScrollBar();
    Scroll(0, 0);
    collapseSelection(false);
    requestFullRepaint();
    if (!caretVisible()) {
        MoveCaretTo(caretLine_, caretCol_, false);
    }
}

void TOvcCustomEditor::Redo() {
    if (!CanRedo()) {
        QApplication::beep();
        return;
    }
    TParaPos at;
    paraList_->RedoReplay(at);
    setCaretFromPara(at);
    updateVertScrollBar();
    collapseSelection(false);
    requestFullRepaint();
    if (!caretVisible()) {
        MoveCaretTo(caretLine_, caretCol_, false);
    } else {
        positionCaret();
    }
}

// Bookmarks.

void TOvcCustomEditor::SetMarker(std::size_t index) {
    if (index < kMarkerCount) {
        paraList_->SetMarker(index, caretPara_, CaretParaPos());
        requestFullRepaint();
    }
}

void TOvcCustomEditor::SetMarkerAt(std::size_t index, std::int32_t line, std::int32_t column) {
    if (index >= kMarkerCount) {
        return;
    }
    if (line < 1 || line > LineCount() || column < 1) {
        throw EInvalidLineOrCol();
    }
    paraList_->SetMarkerAtLine(index, line, column);
    requestFullRepaint();
}

void TOvcCustomEditor::GotoMarker(std::size_t index) {
    const TParaPos marker = paraList_->Marker(index);
    if (marker.Para != 0 && marker.Pos != 0) {
        MoveCaretToPara(marker.Para, marker.Pos, false);
    }
}

// The store's reports.

template <typename Adjust>
void TOvcCustomEditor::followChange(Adjust adjust) {
    adjust(selBegin_);
    adjust(selEnd_);
    adjust(selMovingEnd_);
    if (deferred_.has_value()) {
        adjust(deferred_->Top);
        adjust(deferred_->Caret);
        return;
    }
    TParaPos top{topPara_, topLineOffset_ + 1};
    adjust(top);
    TParaPos caret = caretPos();
    adjust(caret);
    followPositions(top, caret);
}

void TOvcCustomEditor::followPositions(TParaPos top, TParaPos caret) {
    const std::int32_t oldTop = topLine_;
    topLine_ = paraList_->ParaToLine(top.Para, top.Pos).Line;
    const TLineStart start = paraList_->LineToPara(topLine_);
    topPara_ = start.Para;
    topLineOffset_ = start.Offset;
    setCaretFromPara(caret);
    updateSelectionDisplay();
    if (topLine_ != oldTop) {
        DoOnTopLineChanged(topLine_);
    }
}

void TOvcCustomEditor::deferFollowing() {
    deferred_ = TDeferredPositions{{topPara_, topLineOffset_ + 1}, caretPos()};
}

void TOvcCustomEditor::endDeferredFollowing() {
    if (const std::optional<TDeferredPositions> deferred = std::exchange(deferred_, std::nullopt)) {
        followPositions(deferred->Top, deferred->Caret);
    }
}

void TOvcCustomEditor::ParaDeleted(std::int32_t para) {
    const bool selectionInPara = selBegin_.Para == para && selEnd_.Para == para;
    const std::int32_t count = ParaCount();
    followChange([para, count](TParaPos& pos) { AdjustCaretForParaDeleted(pos, para, count); });
    if (selectionInPara) {
        collapseSelection(false);
    }
}

void TOvcCustomEditor::TextDeleted(std::int32_t para, std::int32_t pos, std::int32_t count) {
    followChange([=](TParaPos& at) { AdjustCaretForTextDeleted(at, para, pos, count); });
}

void TOvcCustomEditor::ParaSplit(std::int32_t para, std::int32_t pos, std::int32_t indent) {
    followChange([=](TParaPos& at) { AdjustMarkerForParaSplit(at, para, pos, indent); });
}

void TOvcCustomEditor::TextInserted(std::int32_t para, std::int32_t pos, std::int32_t count) {
    followChange([=](TParaPos& at) { AdjustMarkerForTextInserted(at, para, pos, count); });
}

void TOvcCustomEditor::ParasJoined(std::int32_t para, std::int32_t pos) {
    followChange([=](TParaPos& at) { AdjustMarkerForParasJoined(at, para, pos); });
}

void TOvcCustomEditor::Reposition() {
    setCaretFromPara(caretPos());
    const std::int32_t oldTop = topLine_;
    topLine_ = paraList_->ParaToLine(topPara_, topLineOffset_ + 1).Line;
    const TLineStart start = paraList_->LineToPara(topLine_);
    topPara_ = start.Para;
    topLineOffset_ = start.Offset;
    updateSelectionDisplay();
    updateHorzScrollBar();
    horzOffset_ = std::min(horzOffset_, horizontalScrollBar()->maximum());
    if (topLine_ != oldTop) {
        DoOnTopLineChanged(topLine_);
    }
    RefreshAll(false);
}

void TOvcCustomEditor::BusyChanged(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace tomery::editor
