#include "OvcCaret.h"

#include <QApplication>
#include <QPainter>
#include <climits>

namespace tomery::editor {

namespace {

/// Thin vertical carets stand between two characters, one pixel left of the cell.
bool StandsBetweenCharacters(const TOvcCaret& caret, int width) {
    switch (caret.Shape()) {
        case TOvcCaretShape::csBlock:
        case TOvcCaretShape::csHalfBlock:
        case TOvcCaretShape::csHorzLine:
            return false;
        default:
            return width <= 4;
    }
}

}  // namespace

void TOvcCaret::changed() {
    if (OnChange) {
        OnChange();
    }
}

void TOvcCaret::SetShape(TOvcCaretShape shape) {
    shape_ = shape;
    switch (shape) {
        case TOvcCaretShape::csBlock:
            align_ = TOvcCaretAlign::caLeft;
            break;
        case TOvcCaretShape::csHalfBlock:
            align_ = TOvcCaretAlign::caBottom;
            break;
        case TOvcCaretShape::csVertLine:
            align_ = TOvcCaretAlign::caLeft;
            width_ = 2;
            break;
        case TOvcCaretShape::csHorzLine:
            align_ = TOvcCaretAlign::caBottom;
            height_ = 2;
            break;
        case TOvcCaretShape::csBitmap:
            if (!bitmap_.isNull()) {
                height_ = bitmap_.height();
                width_ = bitmap_.width();
            }
            break;
        case TOvcCaretShape::csCustom:
            break;
    }
    changed();
}

void TOvcCaret::SetAlign(TOvcCaretAlign align) {
    align_ = align;
    changed();
}

void TOvcCaret::SetBlinkTime(std::uint16_t milliseconds) {
    blinkTime_ = milliseconds;
    changed();
}

void TOvcCaret::SetIsGray(bool gray) {
    isGray_ = gray;
    changed();
}

void TOvcCaret::SetBitmap(const QImage& bitmap) {
    bitmap_ = bitmap;
    if (shape_ == TOvcCaretShape::csBitmap && !bitmap_.isNull()) {
        height_ = bitmap_.height();
        width_ = bitmap_.width();
    }
    changed();
}

void TOvcCaret::SetBitmapHotSpot(int x, int y) {
    hotSpotX_ = x;
    hotSpotY_ = y;
    changed();
}

void TOvcCaret::SetCaretHeight(int pixels) {
    if (pixels >= 1) {
        height_ = pixels;
        changed();
    }
}

void TOvcCaret::SetCaretWidth(int pixels) {
    if (pixels >= 1) {
        width_ = pixels;
        changed();
    }
}

TCaretGeometry FitCaretToCell(const TOvcCaret& caret, int cellWidth, int cellHeight) {
    TCaretGeometry g{caret.CaretWidth(), caret.CaretHeight(), 0, 0};
    switch (caret.Shape()) {
        case TOvcCaretShape::csBlock:
            g.Height = cellHeight;
            g.Width = cellWidth;
            break;
        case TOvcCaretShape::csHalfBlock:
            g.Height = cellHeight / 2;
            g.Width = cellWidth;
            break;
        case TOvcCaretShape::csVertLine:
            g.Height = cellHeight;
            break;
        case TOvcCaretShape::csHorzLine:
            g.Width = cellWidth;
            break;
        case TOvcCaretShape::csCustom:
        case TOvcCaretShape::csBitmap:
            break;
    }
    switch (caret.Align()) {
        case TOvcCaretAlign::caLeft:
            g.OffsetY = (cellHeight - g.Height) / 2;
            break;
        case TOvcCaretAlign::caTop:
            g.OffsetX = (cellWidth - g.Width) / 2;
            break;
        case TOvcCaretAlign::caRight:
            g.OffsetX = cellWidth - g.Width;
            g.OffsetY = (cellHeight - g.Height) / 2;
            break;
        case TOvcCaretAlign::caBottom:
            g.OffsetX = (cellWidth - g.Width) / 2;
            g.OffsetY = cellHeight - g.Height;
            break;
        case TOvcCaretAlign::caCenter:
            g.OffsetX = (cellWidth - g.Width) / 2;
            g.OffsetY = (cellHeight - g.Height) / 2;
            break;
    }
    if (caret.Shape() == TOvcCaretShape::csBitmap) {
        g.OffsetX -= caret.BitmapHotSpotX();
        g.OffsetY -= caret.BitmapHotSpotY();
    }
    if (StandsBetweenCharacters(caret, g.Width)) {
        g.OffsetX -= 1;
    }
    return g;
}

TOvcSingleCaret::TOvcSingleCaret(std::function<void(const QRect&)> invalidate)
    : invalidate_(std::move(invalidate)) {
    connect(&blinkTimer_, &QTimer::timeout, this, &TOvcSingleCaret::blink);
}

TOvcSingleCaret::~TOvcSingleCaret() = default;

void TOvcSingleCaret::UseCaret(std::shared_ptr<TOvcCaret> caret) {
    const QRect old = Rect();
    caret_ = std::move(caret);
    refit();
    invalidate_(old);
    invalidate_(Rect());
}

void TOvcSingleCaret::refit() {
    geometry_ = FitCaretToCell(*caret_, cellWidth_, cellHeight_);
    if (exists_) {
        restartBlink();
    }
}

void TOvcSingleCaret::SetCellSize(int height, int width) {
    const QRect old = Rect();
    cellHeight_ = height;
    cellWidth_ = width;
    refit();
    invalidate_(old);
    invalidate_(Rect());
}

void TOvcSingleCaret::PositionCaret(int x, int y) {
    if (QPoint(x, y) == cell_) {
        return;
    }
    const QRect old = Rect();
    cell_ = QPoint(x, y);
    if (exists_) {
        restartBlink();
    }
    invalidate_(old);
    invalidate_(Rect());
}

void TOvcSingleCaret::SetExists(bool exists) {
    if (exists == exists_) {
        return;
    }
    const QRect old = Rect();
    exists_ = exists;
    if (exists_) {
        restartBlink();
    } else {
        blinkTimer_.stop();
    }
    invalidate_(old);
    invalidate_(Rect());
}

void TOvcSingleCaret::SetShown(bool shown) {
    if (shown != shown_) {
        shown_ = shown;
        invalidate_(Rect());
    }
}

QRect TOvcSingleCaret::Rect() const {
    if (!exists_ || cell_.x() < 0 || cell_.y() < 0 || cell_.x() == INT_MAX) {
        return {};
    }
    return QRect(cell_.x() + geometry_.OffsetX, cell_.y() + geometry_.OffsetY, geometry_.Width,
                 geometry_.Height);
}

bool TOvcSingleCaret::Visible() const {
    return shown_ && phaseOn_ && !Rect().isEmpty();
}

int TOvcSingleCaret::BlinkInterval() const {
    if (caret_->BlinkTime() != 0) {
        return caret_->BlinkTime();
    }
    return QApplication::cursorFlashTime() / 2;
}

void TOvcSingleCaret::restartBlink() {
    phaseOn_ = true;
    const int interval = BlinkInterval();
    if (interval > 0) {
        blinkTimer_.start(interval);
    } else {
        blinkTimer_.stop();
    }
}

void TOvcSingleCaret::blink() {
    phaseOn_ = !phaseOn_;
    invalidate_(Rect());
}

void TOvcSingleCaret::Paint(QPainter& painter, const QColor& background, const QColor& text) const {
    if (!Visible()) {
        return;
    }
    const QRect rect = Rect();
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (caret_->Shape() == TOvcCaretShape::csBitmap && !caret_->Bitmap().isNull()) {
        painter.drawImage(rect.topLeft(), caret_->Bitmap());
    } else {
        const QRgb inversion = (background.rgb() ^ text.rgb()) | 0xFF000000u;
        painter.fillRect(rect, caret_->IsGray() ? QColor(0x80, 0x80, 0x80) : QColor(inversion));
    }
    painter.restore();
}

TOvcCaretPair::TOvcCaretPair(std::function<void(const QRect&)> invalidate)
    : TOvcSingleCaret(std::move(invalidate)),
      ins_(std::make_shared<TOvcCaret>()),
      ovr_(std::make_shared<TOvcCaret>()) {
    ovr_->SetShape(TOvcCaretShape::csBlock);
    adopt(*ins_);
    UseCaret(ins_);
}

TOvcCaretPair::~TOvcCaretPair() {
    ins_->OnChange = nullptr;
    ovr_->OnChange = nullptr;
}

void TOvcCaretPair::adopt(TOvcCaret& caret) {
    caret.OnChange = [this, &caret] {
        if (&caret == (insertMode_ ? ins_.get() : ovr_.get())) {
            UseCaret(insertMode_ ? ins_ : ovr_);
        }
    };
}

void TOvcCaretPair::SetCaretIns(std::shared_ptr<TOvcCaret> caret) {
    if (caret == nullptr || caret == ins_) {
        return;
    }
    ins_->OnChange = nullptr;
    ins_ = std::move(caret);
    adopt(*ins_);
    if (insertMode_) {
        UseCaret(ins_);
    }
}

void TOvcCaretPair::SetCaretOvr(std::shared_ptr<TOvcCaret> caret) {
    if (caret == nullptr || caret == ovr_) {
        return;
    }
    ovr_->OnChange = nullptr;
    ovr_ = std::move(caret);
    adopt(*ovr_);
    if (!insertMode_) {
        UseCaret(ovr_);
    }
}

void TOvcCaretPair::SetInsertMode(bool insert) {
    if (insert != insertMode_) {
        insertMode_ = insert;
        UseCaret(insertMode_ ? ins_ : ovr_);
    }
}

}  // namespace tomery::editor
