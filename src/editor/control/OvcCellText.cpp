#include "OvcCellText.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPointF>
#include <QVector>

namespace tomery::editor {

void TCellTextPainter::SetFont(const QFont& font, int cellWidth) {
    if (font != font_ || !rawFont_.isValid()) {
        font_ = font;
        rawFont_ = QRawFont::fromFont(font);
    }
    cellWidth_ = cellWidth;
}

void TCellTextPainter::Draw(QPainter& painter, const QPointF& origin, const QString& text) const {
    if (text.isEmpty()) {
        return;
    }
    // Screen text holds no surrogates (it comes from 8-bit characters), so there is one glyph
    // index for every character.
    const QList<quint32> glyphs =
        rawFont_.isValid() ? rawFont_.glyphIndexesForString(text) : QList<quint32>();
    QList<quint32> found;
    QList<QPointF> positions;
    found.reserve(text.size());
    positions.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QPointF cell(origin.x() + static_cast<qreal>(i) * cellWidth_, origin.y());
        if (i < glyphs.size() && glyphs[i] != 0) {
            found.append(glyphs[i]);
            positions.append(cell);
        } else {
            // A character the font lacks comes from the toolkit's fallback fonts, still in
            // its own cell.
            painter.drawText(cell, QString(text[i]));
        }
    }
    if (found.isEmpty()) {
        return;
    }
    QGlyphRun run;
    run.setRawFont(rawFont_);
    run.setGlyphIndexes(found);
    run.setPositions(positions);
    run.setUnderline(font_.underline());
    run.setStrikeOut(font_.strikeOut());
    painter.drawGlyphRun(QPointF(0, 0), run);
}

}  // namespace tomery::editor
