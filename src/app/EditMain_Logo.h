// The logo shown while no document is open: the program's picture above its name.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>

namespace tomery::app {

struct TLogoLayout {
    QRect picture;
    QRect label;
};

inline constexpr int kLogoLabelHeight = 39;

/// Centres the picture in the client area with the label right below it; the label spans
/// the whole width (its text is centred) and keeps its left edge at 0.
TLogoLayout CenterLogo(QSize client, QSize picture, int labelHeight = kLogoLabelHeight);

/// The program's 64 by 64 picture: an open book on a handheld, drawn at run time.
QPixmap ProgramPicture();

}  // namespace tomery::app
