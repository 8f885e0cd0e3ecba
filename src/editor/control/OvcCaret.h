// The editor's carets: shapes, their place in a character cell, and the caret the control
// draws itself (the toolkit has none) with its blinking.
#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

class QPainter;

namespace tomery::editor {

enum class TOvcCaretShape { csBlock, csHalfBlock, csVertLine, csHorzLine, csCustom, csBitmap };
enum class TOvcCaretAlign { caLeft, caTop, caRight, caBottom, caCenter };

/// One caret shape. Shared by the carets that use it (std::shared_ptr); every change calls
/// OnChange, which its current user sets.
class TOvcCaret {
  public:
    TOvcCaretShape Shape() const { return shape_; }
    /// Block and vertical line align left, half block and horizontal line align at the
    /// bottom; a vertical line becomes 2 pixels wide, a horizontal one 2 pixels high; a bitmap
    /// caret takes the bitmap's size.
    void SetShape(TOvcCaretShape shape);
    TOvcCaretAlign Align() const { return align_; }
    void SetAlign(TOvcCaretAlign align);
    /// Milliseconds the caret stays on (and off); 0: the toolkit's blink time.
    std::uint16_t BlinkTime() const { return blinkTime_; }
    void SetBlinkTime(std::uint16_t milliseconds);
    bool IsGray() const { return isGray_; }
    void SetIsGray(bool gray);
    const QImage& Bitmap() const { return bitmap_; }
    void SetBitmap(const QImage& bitmap);
    int BitmapHotSpotX() const { return hotSpotX_; }
    int BitmapHotSpotY() const { return hotSpotY_; }
    void SetBitmapHotSpot(int x, int y);
    /// Pixels; values below 1 are ignored.
    int CaretHeight() const { return height_; }
    void SetCaretHeight(int pixels);
    int CaretWidth() const { return width_; }
    void SetCaretWidth(int pixels);

    std::function<void()> OnChange;

  private:
    void changed();

    TOvcCaretShape shape_ = TOvcCaretShape::csVertLine;
    TOvcCaretAlign align_ = TOvcCaretAlign::caLeft;
    std::uint16_t blinkTime_ = 0;
    bool isGray_ = false;
    QImage bitmap_;
    int hotSpotX_ = 0;
    int hotSpotY_ = 0;
    int height_ = 10;
    int width_ = 2;
};

/// Size of a shape fitted to a character cell and its offset inside the cell (pixels).
struct TCaretGeometry {
    int Width = 0;
    int Height = 0;
    int OffsetX = 0;
    int OffsetY = 0;
};
TCaretGeometry FitCaretToCell(const TOvcCaret& caret, int cellWidth, int cellHeight);

/// The caret of one window: exists while the window has the focus, drawn by the window's
/// paint handler when shown and in the visible phase of its blinking. Coordinates are the
/// window's pixels; a negative cell coordinate means off screen.
class TOvcSingleCaret : public QObject {
    Q_OBJECT
  public:
    /// `invalidate` asks the window to repaint a rectangle (where the caret was or is).
    explicit TOvcSingleCaret(std::function<void(const QRect&)> invalidate);
    ~TOvcSingleCaret() override;

    void SetCellSize(int height, int width);
    int CellHeight() const { return cellHeight_; }
    int CellWidth() const { return cellWidth_; }
    /// The top left corner of the caret's character cell.
    void PositionCaret(int x, int y);
    QPoint CellPosition() const { return cell_; }
    /// Focus gained (true) or lost (false).
    void SetExists(bool exists);
    bool Exists() const { return exists_; }
    void SetShown(bool shown);
    bool Shown() const { return shown_; }

    const TOvcCaret& CaretInUse() const { return *caret_; }
    /// Where the caret is drawn; empty while it does not exist or is off screen.
    QRect Rect() const;
    /// Drawn now: exists, shown, on screen and in the visible phase of the blink.
    bool Visible() const;
    /// Milliseconds per blink phase.
    int BlinkInterval() const;
    /// Inverts the caret's pixels when visible, between the text's two colours: over the
    /// background it shows in the text colour, and a character under a block caret in the
    /// background colour, in any palette.
    void Paint(QPainter& painter, const QColor& background, const QColor& text) const;

  protected:
    void UseCaret(std::shared_ptr<TOvcCaret> caret);

  private:
    void refit();
    void restartBlink();
    void blink();

    std::function<void(const QRect&)> invalidate_;
    std::shared_ptr<TOvcCaret> caret_;
    TCaretGeometry geometry_;
    int cellHeight_ = 10;
    int cellWidth_ = 10;
    QPoint cell_{-1, -1};
    bool exists_ = false;
    bool shown_ = false;
    bool phaseOn_ = true;
    QTimer blinkTimer_;
};

/// The insert and the overwrite caret of the editor; the mode picks the one in use.
class TOvcCaretPair : public TOvcSingleCaret {
    Q_OBJECT
  public:
    /// A vertical line for inserting and a block for overwriting.
    explicit TOvcCaretPair(std::function<void(const QRect&)> invalidate);
    ~TOvcCaretPair() override;

    TOvcCaret& CaretIns() { return *ins_; }
    TOvcCaret& CaretOvr() { return *ovr_; }
    /// Replaces a shape; the pair shares it with the caller.
    void SetCaretIns(std::shared_ptr<TOvcCaret> caret);
    void SetCaretOvr(std::shared_ptr<TOvcCaret> caret);
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool insert);

  private:
    void adopt(TOvcCaret& caret);

    std::shared_ptr<TOvcCaret> ins_;
    std::shared_ptr<TOvcCaret> ovr_;
    bool insertMode_ = true;
};

}  // namespace tomery::editor
