// The editor's fixed-pitch font and its highlight colours.
#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <functional>

#include "OvcExcept.h"

namespace tomery::editor {

class EFixedFontError : public EOvcException {
  public:
    using EOvcException::EOvcException;
};

class EInvalidFixedFont : public EFixedFontError {
  public:
    EInvalidFixedFont() : EFixedFontError("Invalid font assignment. Font must be a fixed font") {}
};

class EInvalidFontParam : public EFixedFontError {
  public:
    EInvalidFontParam()
        : EFixedFontError("Invalid font assignemnt. Font must be a TFont or TOvcFixedFont") {}
};

/// The fixed-pitch font families of the screen, enumerated once per run.
const QStringList& FixedPitchFamilies();
/// The family of the list that equals `name` without regard to case, or an empty string.
QString FindFixedPitchFamily(const QString& name);

/// Font style bits.
enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

/// A font restricted to the fixed-pitch families. Every change calls OnChange.
class TOvcFixedFont {
  public:
    static constexpr int kDefaultSize = 10;

    /// The first fixed-pitch family (the toolkit's fixed font when there is none), size 10,
    /// without a colour of its own.
    TOvcFixedFont();

    const QFont& Font() const { return font_; }
    /// The colour set for the text, or an invalid colour while none is: then the text takes
    /// the text colour of the editor's palette, whatever theme the desktop has.
    QColor Color() const { return color_; }
    /// An invalid colour gives the text back to the palette.
    void SetColor(const QColor& color);
    QString Name() const { return font_.family(); }
    /// Ignored unless `name` is a fixed-pitch family.
    void SetName(const QString& name);
    /// Points; values below 1 are ignored.
    int Size() const { return font_.pointSize(); }
    void SetSize(int points);
    TFontStyles Style() const;
    void SetStyle(TFontStyles style);

    void Assign(const TOvcFixedFont& source);
    /// Copies the font when its family is fixed pitch, else raises EInvalidFixedFont and
    /// changes nothing.
    void Assign(const QFont& source);
    /// A QFont or a TOvcFixedFont pointer as above; anything else raises EInvalidFontParam.
    void Assign(const QVariant& source);

    std::function<void()> OnChange;

  private:
    void changed();

    QFont font_;
    QColor color_;
};

/// The colours of selected text. UseDefault holds while both are the system's: the highlight
/// colours of the palette, followed when the palette changes.
class TOvcColors {
  public:
    QColor BackColor() const;
    void SetBackColor(const QColor& color);
    QColor TextColor() const;
    void SetTextColor(const QColor& color);
    bool UseDefault() const { return useDefault_; }
    /// True restores both defaults.
    void SetUseDefault(bool useDefault);

    std::function<void()> OnChange;

  private:
    void set(const QColor& back, const QColor& text);
    void changed();

    QColor backColor_;
    QColor textColor_;
    bool useDefault_ = true;
};

}  // namespace tomery::editor

Q_DECLARE_METATYPE(tomery::editor::TOvcFixedFont*)
