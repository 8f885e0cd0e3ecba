// Text on the character grid: every character drawn in a cell of its own, whatever advance
// the font gives it.
#pragma once

#include <QFont>
#include <QRawFont>
#include <QString>

class QPainter;
class QPointF;

namespace tomery::editor {

/// Draws runs of characters so that character i starts exactly i cells after the run's
/// start. A font's own advance is fractional (7.8 pixels, say) while the caret, the selection
/// and the mouse count whole cells; laying text out with the font's advance would let the
/// glyphs drift away from their cells along a line. Characters the font draws with no width
/// (the soft hyphen) keep their cell as well.
class TCellTextPainter {
  public:
    /// The font and the cell width in pixels; called on every font or layout change.
    void SetFont(const QFont& font, int cellWidth);
    int CellWidth() const { return cellWidth_; }

    /// Draws `text` with its first character's cell at `origin`.x and the base line at
    /// `origin`.y, in the painter's pen colour.
    void Draw(QPainter& painter, const QPointF& origin, const QString& text) const;

  private:
    QFont font_;
    QRawFont rawFont_;
    int cellWidth_ = 1;
};

/// The character the screen shows for a soft hyphen, which fonts draw with no ink: the user
/// should see that it is there.
inline constexpr char16_t kShownSoftHyphen = u'-';

}  // namespace tomery::editor
