#include "EditMain_Logo.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>

namespace tomery::app {

TLogoLayout CenterLogo(QSize client, QSize picture, int labelHeight) {
    // Integer division truncates toward zero, as the window's layout always has.
    const int pictureLeft = (client.width() - picture.width()) / 2;
    const int pictureTop = (client.height() - (picture.height() + labelHeight)) / 2;
    return {QRect(QPoint(pictureLeft, pictureTop), picture),
            QRect(0, pictureTop + picture.height(), client.width(), labelHeight)};
}

QPixmap ProgramPicture() {
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // The handheld.
    painter.setPen(QPen(QColor(40, 40, 60), 2));
    painter.setBrush(QColor(90, 100, 120));
    painter.drawRoundedRect(QRectF(10, 2, 44, 60), 6, 6);
    painter.setBrush(QColor(200, 215, 190));
    painter.drawRect(QRectF(15, 8, 34, 38));
    // The open book on its screen.
    painter.setPen(QPen(QColor(0, 0, 128), 1.5));
    painter.setBrush(Qt::white);
    QPainterPath left;
    left.moveTo(32, 16);
    left.cubicTo(27, 13, 21, 13, 18, 15);
    left.lineTo(18, 38);
    left.cubicTo(21, 36, 27, 36, 32, 39);
    left.closeSubpath();
    painter.drawPath(left);
    QPainterPath right;
    right.moveTo(32, 16);
    right.cubicTo(37, 13, 43, 13, 46, 15);
    right.lineTo(46, 38);
    right.cubicTo(43, 36, 37, 36, 32, 39);
    right.closeSubpath();
    painter.drawPath(right);
    for (int row = 0; row < 4; ++row) {
        const qreal y = 21 + row * 4;
        painter.drawLine(QPointF(21, y), QPointF(29, y + 1));
        painter.drawLine(QPointF(35, y + 1), QPointF(43, y));
    }
    // The buttons.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 45));
    for (int button = 0; button < 4; ++button) {
        painter.drawEllipse(QPointF(18 + button * 9.3, 54), 3, 3);
    }
    return picture;
}

}  // namespace tomery::app
