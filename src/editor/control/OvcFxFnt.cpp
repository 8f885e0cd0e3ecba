#include "OvcFxFnt.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>

namespace tomery::editor {

namespace {

QColor DefaultHighlight() {
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

QColor DefaultHighlightedText() {
    return QGuiApplication::palette().color(QPalette::Active, QPalette::HighlightedText);
}

}  // namespace

const QStringList& FixedPitchFamilies() {
    static const QStringList families = [] {
        QStringList list;
        for (const QString& family : QFontDatabase::families()) {
            if (QFontDatabase::isFixedPitch(family)) {
                list.push_back(family);
            }
        }
        return list;
    }();
    return families;
}

QString FindFixedPitchFamily(const QString& name) {
    for (const QString& family : FixedPitchFamilies()) {
        if (family.compare(name, Qt::CaseInsensitive) == 0) {
            return family;
        }
    }
    return {};
}

TOvcFixedFont::TOvcFixedFont() {
    const QStringList& families = FixedPitchFamilies();
    font_ = families.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                               : QFont(families.front());
    font_.setPointSize(kDefaultSize);
    font_.setStyleHint(QFont::TypeWriter);
}

void TOvcFixedFont::changed() {
    if (OnChange) {
        OnChange();
    }
}

void TOvcFixedFont::SetColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        changed();
    }
}

void TOvcFixedFont::SetName(const QString& name) {
    const QString family = FindFixedPitchFamily(name);
    if (!family.isEmpty() && family != font_.family()) {
        font_.setFamily(family);
        changed();
    }
}

void TOvcFixedFont::SetSize(int points) {
    if (points >= 1 && points != font_.pointSize()) {
        font_.setPointSize(points);
        changed();
    }
}

TFontStyles TOvcFixedFont::Style() const {
    return (font_.bold() ? fsBold : 0) | (font_.italic() ? fsItalic : 0) |
           (font_.underline() ? fsUnderline : 0) | (font_.strikeOut() ? fsStrikeOut : 0);
}

void TOvcFixedFont::SetStyle(TFontStyles style) {
    if (style == Style()) {
        return;
    }
    font_.setBold((style & fsBold) != 0);
    font_.setItalic((style & fsItalic) != 0);
    font_.setUnderline((style & fsUnderline) != 0);
    font_.setStrikeOut((style & fsStrikeOut) != 0);
    changed();
}

void TOvcFixedFont::Assign(const TOvcFixedFont& source) {
    if (&source == this) {
        return;
    }
    font_ = source.font_;
    color_ = source.color_;
    changed();
}

void TOvcFixedFont::Assign(const QFont& source) {
    const QString family = FindFixedPitchFamily(source.family());
    if (family.isEmpty()) {
        throw EInvalidFixedFont();
    }
    font_ = source;
    font_.setFamily(family);
    changed();
}

void TOvcFixedFont::Assign(const QVariant& source) {
    if (source.metaType() == QMetaType::fromType<QFont>()) {
        Assign(source.value<QFont>());
    } else if (source.metaType() == QMetaType::fromType<TOvcFixedFont*>() &&
               source.value<TOvcFixedFont*>() != nullptr) {
        Assign(*source.value<TOvcFixedFont*>());
    } else {
        throw EInvalidFontParam();
    }
}

QColor TOvcColors::BackColor() const {
    return useDefault_ ? DefaultHighlight() : backColor_;
}

QColor TOvcColors::TextColor() const {
    return useDefault_ ? DefaultHighlightedText() : textColor_;
}

void TOvcColors::changed() {
    if (OnChange) {
        OnChange();
    }
}

void TOvcColors::SetBackColor(const QColor& color) {
    set(color, TextColor());
}

void TOvcColors::SetTextColor(const QColor& color) {
    set(BackColor(), color);
}

void TOvcColors::set(const QColor& back, const QColor& text) {
    if (back == BackColor() && text == TextColor()) {
        return;
    }
    backColor_ = back;
    textColor_ = text;
    useDefault_ = back == DefaultHighlight() && text == DefaultHighlightedText();
    changed();
}

void TOvcColors::SetUseDefault(bool useDefault) {
    if (useDefault && !useDefault_) {
        useDefault_ = true;
        changed();
    }
}

}  // namespace tomery::editor
