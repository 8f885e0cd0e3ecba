#include "PathText.h"

#include "Utf8.h"

#include <QUrl>

namespace tomery::app {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  ///< + byte 0x80..0xFF: the byte, escaped
constexpr char32_t kReplacement = 0xFFFD;

bool IsEscapedByte(char16_t unit) {
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

}  // namespace

QString PathToQt(std::string_view path) {
    QString text;
    text.reserve(static_cast<qsizetype>(path.size()));
    std::size_t i = 0;
    while (i < path.size()) {
        const std::size_t start = i;
        if (const auto c = charset::NextUtf8(path, i)) {
            text += QString::fromUcs4(&*c, 1);
        } else {
            // NextUtf8 consumed one byte, and a byte that fails is never ASCII.
            text +=
                QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(path[start])));
        }
    }
    return text;
}

std::string PathFromQt(const QString& path) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(path.size()));
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            charset::AppendUtf8(QChar::surrogateToUcs4(unit, path[i + 1].unicode()), bytes);
            ++i;
        } else if (IsEscapedByte(unit)) {
            bytes += static_cast<char>(unit - kEscapeBase);
        } else {
            charset::AppendUtf8(QChar::isSurrogate(unit) ? kReplacement : unit, bytes);
        }
    }
    return bytes;
}

std::string PathFromUrl(const QUrl& url) {
    // A file on another host is not this system's file, whatever its path.
    if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == u"localhost")) {
        return {};
    }
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

QString PathForDisplay(std::string_view path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

}  // namespace tomery::app
