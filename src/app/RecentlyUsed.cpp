#include "RecentlyUsed.h"

#include "FileAccess.h"
#include "FileReplacement.h"
#include "PathText.h"

#include <QDateTime>
#include <QMimeDatabase>
#include <QStringDecoder>
#include <QStringList>
#include <QXmlStreamReader>

#include <cstdlib>
#include <filesystem>

namespace tomery::app {

namespace {

const QString kBookmarkNamespace =
    QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNamespace =
    QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kMetadataOwner = QStringLiteral("http://freedesktop.org");
const QString kApplicationName = QStringLiteral("Tomery");
const QString kApplicationExec = QStringLiteral("'tomery %u'");

/// An empty list as other programs start one.
constexpr char kEmptyList[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
    ">\n"
    "</xbel>\n";

QString Escaped(const QString& value) {
    QString escaped = value.toHtmlEscaped();  // & < > "
    return escaped.replace(QLatin1Char('\''), QStringLiteral("&apos;"));
}

QString Attribute(const QString& name, const QString& value) {
    return QLatin1Char(' ') + name + QStringLiteral("=\"") + Escaped(value) + QLatin1Char('"');
}

/// Where an element stands in the text: offsets in characters.
struct TElement {
    qsizetype start = -1;        ///< its "<"
    qsizetype startTagEnd = -1;  ///< just after its start tag (after "/>" when it has no end tag)
    qsizetype endTagStart = -1;  ///< its end tag's "<"; `end` when it has none
    qsizetype end = -1;          ///< just after the element
    QString name;                ///< as written, with its prefix
    QString prefix;
    QXmlStreamAttributes attributes;
    QXmlStreamNamespaceDeclarations declarations;

    bool Found() const { return start >= 0; }
    bool SelfClosing() const { return end == startTagEnd; }
};

/// What noting a use needs to know of a list: the root, and this file's entry down to this
/// program's record, as far as they exist.
struct TListFacts {
    TElement root;
    QString bookmarkPrefix;  ///< bound on the root; empty when not
    QString mimePrefix;
    TElement bookmark, info, metadata, applications, application;
};

enum class TKind { Other, Root, Bookmark, Info, Metadata, Applications, Application };

bool NamesFile(const QString& href, const std::string& path) {
    const QByteArray decoded = QByteArray::fromPercentEncoding(href.toUtf8());
    return decoded.startsWith("file://") &&
           decoded.mid(7) == QByteArray(path.data(), static_cast<qsizetype>(path.size()));
}

/// What an element is, from its parent's kind and itself; the first of each kind only.
TKind KindOf(const QXmlStreamReader& reader, TKind parent, const TListFacts& facts,
             const std::string& path) {
    const auto name = reader.name();
    const auto attributes = reader.attributes();
    const bool plain = reader.namespaceUri().isEmpty();
    switch (parent) {
        case TKind::Root:
            return plain && name == u"bookmark" && !facts.bookmark.Found() &&
                           NamesFile(attributes.value(QLatin1String("href")).toString(), path)
                       ? TKind::Bookmark
                       : TKind::Other;
        case TKind::Bookmark:
            return plain && name == u"info" && !facts.info.Found() ? TKind::Info : TKind::Other;
        case TKind::Info:
            return plain && name == u"metadata" && !facts.metadata.Found() &&
                           attributes.value(QLatin1String("owner")) == kMetadataOwner
                       ? TKind::Metadata
                       : TKind::Other;
        case TKind::Metadata:
            return reader.namespaceUri() == kBookmarkNamespace && name == u"applications" &&
                           !facts.applications.Found()
                       ? TKind::Applications
                       : TKind::Other;
        case TKind::Applications:
            return reader.namespaceUri() == kBookmarkNamespace && name == u"application" &&
                           !facts.application.Found() &&
                           attributes.value(QLatin1String("name")) == kApplicationName
                       ? TKind::Application
                       : TKind::Other;
        default:
            return TKind::Other;
    }
}

TElement* ElementOf(TKind kind, TListFacts& facts) {
    switch (kind) {
        case TKind::Root:
            return &facts.root;
        case TKind::Bookmark:
            return &facts.bookmark;
        case TKind::Info:
            return &facts.info;
        case TKind::Metadata:
            return &facts.metadata;
        case TKind::Applications:
            return &facts.applications;
        case TKind::Application:
            return &facts.application;
        default:
            return nullptr;
    }
}

/// The list's facts; nothing when it is not well-formed XML under an "xbel" root.
std::optional<TListFacts> ReadListFacts(const QString& text, const std::string& path) {
    QXmlStreamReader reader(text);
    TListFacts facts;
    std::vector<TKind> open;
    // The reader's offset is exact after a tag, but after text it has taken the next tag's
    // "<" already: a tag starts at the last "<" at or before the offset it was read from.
    for (qsizetype before = 0; !reader.atEnd(); before = reader.characterOffset()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            TKind kind = TKind::Other;
            if (open.empty()) {
                if (reader.name() != QLatin1String("xbel") || !reader.namespaceUri().isEmpty()) {
                    return std::nullopt;
                }
                kind = TKind::Root;
                for (const QXmlStreamNamespaceDeclaration& declared :
                     reader.namespaceDeclarations()) {
                    if (declared.namespaceUri() == kBookmarkNamespace) {
                        facts.bookmarkPrefix = declared.prefix().toString();
                    } else if (declared.namespaceUri() == kMimeNamespace) {
                        facts.mimePrefix = declared.prefix().toString();
                    }
                }
            } else {
                kind = KindOf(reader, open.back(), facts, path);
            }
            if (TElement* element = ElementOf(kind, facts)) {
                *element = {text.lastIndexOf(QLatin1Char('<'), before),
                            reader.characterOffset(),
                            -1,
                            -1,
                            reader.qualifiedName().toString(),
                            reader.prefix().toString(),
                            reader.attributes(),
                            reader.namespaceDeclarations()};
            }
            open.push_back(kind);
        } else if (token == QXmlStreamReader::EndElement) {
            if (TElement* element = ElementOf(open.back(), facts)) {
                element->end = reader.characterOffset();
                // An element closed by its start tag ("/>") has no end tag to read.
                element->endTagStart = element->end == element->startTagEnd
                                           ? element->end
                                           : text.lastIndexOf(QLatin1Char('<'), before);
            }
            open.pop_back();
        }
    }
    if (reader.hasError() || !facts.root.Found()) {
        return std::nullopt;
    }
    return facts;
}

/// An element's lines, indented two spaces a level from 0.
using TLines = QStringList;

TLines Indented(const TLines& lines) {
    TLines indented;
    for (const QString& line : lines) {
        indented << QStringLiteral("  ") + line;
    }
    return indented;
}

/// The lines of the new elements, with the prefixes the list binds, or with bindings of their
/// own on the outermost one where it binds none.
class TEntryWriter {
  public:
    TEntryWriter(const TListFacts& facts, const TRecentUse& use) : use_(use) {
        bookmark_ =
            facts.bookmarkPrefix.isEmpty() ? QStringLiteral("bookmark") : facts.bookmarkPrefix;
        mime_ = facts.mimePrefix.isEmpty() ? QStringLiteral("mime") : facts.mimePrefix;
        if (facts.bookmarkPrefix.isEmpty()) {
            unboundBookmark_ = Attribute(QStringLiteral("xmlns:") + bookmark_, kBookmarkNamespace);
        }
        if (facts.mimePrefix.isEmpty()) {
            unboundMime_ = Attribute(QStringLiteral("xmlns:") + mime_, kMimeNamespace);
        }
    }

    /// This program's record; `prefix` is the one its parent was written with.
    QString Application(const QString& prefix, int count) const {
        const QString tag = prefix.isEmpty() ? QStringLiteral("application")
                                             : prefix + QStringLiteral(":application");
        return QLatin1Char('<') + tag + Attribute(QStringLiteral("name"), kApplicationName) +
               Attribute(QStringLiteral("exec"), kApplicationExec) +
               TimeAttribute(QStringLiteral("modified")) +
               Attribute(QStringLiteral("count"), QString::number(count)) + QStringLiteral("/>");
    }

    TLines Applications(const QString& bindings) const {
        return TLines{QStringLiteral("<%1:applications%2>").arg(bookmark_, bindings)}
               << Indented({Application(bookmark_, 1)})
               << QStringLiteral("</%1:applications>").arg(bookmark_);
    }
    TLines Applications() const { return Applications(unboundBookmark_); }

    TLines Metadata(const QString& bindings) const {
        return TLines{QStringLiteral("<metadata owner=\"%1\"%2>").arg(kMetadataOwner, bindings)}
               << Indented(TLines{QLatin1Char('<') + mime_ + QStringLiteral(":mime-type") +
                                  Attribute(QStringLiteral("type"),
                                            QString::fromStdString(use_.mimeType)) +
                                  QStringLiteral("/>")}
                           << Applications(QString()))
               << QStringLiteral("</metadata>");
    }
    TLines Metadata() const { return Metadata(unboundBookmark_ + unboundMime_); }

    TLines Info(const QString& bindings) const {
        return TLines{QStringLiteral("<info%1>").arg(bindings)} << Indented(Metadata(QString()))
                                                                << QStringLiteral("</info>");
    }
    TLines Info() const { return Info(unboundBookmark_ + unboundMime_); }

    TLines Bookmark() const {
        return TLines{
                   QStringLiteral("<bookmark") +
                   Attribute(QStringLiteral("href"), QString::fromStdString(FileUri(use_.path))) +
                   TimeAttribute(QStringLiteral("added")) +
                   TimeAttribute(QStringLiteral("modified")) +
                   TimeAttribute(QStringLiteral("visited")) + unboundBookmark_ + unboundMime_ +
                   QLatin1Char('>')}
               << Indented(Info(QString())) << QStringLiteral("</bookmark>");
    }

    /// The start tag of the file's entry as it was, its times those of this use.
    QString BookmarkStartTag(const TElement& bookmark) const {
        QString tag = QLatin1Char('<') + bookmark.name;
        for (const QXmlStreamNamespaceDeclaration& declared : bookmark.declarations) {
            tag += Attribute(declared.prefix().isEmpty()
                                 ? QStringLiteral("xmlns")
                                 : QStringLiteral("xmlns:") + declared.prefix().toString(),
                             declared.namespaceUri().toString());
        }
        for (const QXmlStreamAttribute& attribute : bookmark.attributes) {
            const auto name = attribute.qualifiedName();
            if (name != u"modified" && name != u"visited") {
                tag += Attribute(name.toString(), attribute.value().toString());
            }
        }
        return tag + TimeAttribute(QStringLiteral("modified")) +
               TimeAttribute(QStringLiteral("visited")) + QLatin1Char('>');
    }

  private:
    QString TimeAttribute(const QString& name) const {
        return Attribute(name, QString::fromStdString(use_.time));
    }

    const TRecentUse& use_;
    QString bookmark_;
    QString mime_;
    QString unboundBookmark_;  ///< the binding an outermost new element needs, or ""
    QString unboundMime_;
};

/// `lines` on one line, for a place where the list does not break lines.
QString Compact(const TLines& lines) {
    QString compact;
    for (const QString& line : lines) {
        compact += line.trimmed();
    }
    return compact;
}

/// Puts `child` at the end of `parent`: on lines of their own, indented one level below the
/// parent's end tag, when that tag starts its line; else right before it.
void AppendChild(QString& text, const TElement& parent, const TLines& child) {
    if (parent.SelfClosing()) {
        text.replace(parent.startTagEnd - 2, 2,
                     QLatin1Char('>') + Compact(child) + QStringLiteral("</") + parent.name +
                         QLatin1Char('>'));
        return;
    }
    const qsizetype lineStart = text.lastIndexOf(QLatin1Char('\n'), parent.endTagStart - 1) + 1;
    const QString indent = text.mid(lineStart, parent.endTagStart - lineStart);
    if (!indent.trimmed().isEmpty()) {
        text.insert(parent.endTagStart, Compact(child));
        return;
    }
    QString lines;
    for (const QString& line : child) {
        lines += indent + QStringLiteral("  ") + line + QLatin1Char('\n');
    }
    text.insert(lineStart, lines);
}

/// The file's entry noted again: its times, and this program's record.
void UpdateEntry(QString& text, const TListFacts& facts, const TEntryWriter& writer) {
    // The later places first, so that the earlier offsets still hold.
    if (facts.application.Found()) {
        const int count = facts.application.attributes.value(QLatin1String("count")).toInt();
        text.replace(facts.application.start, facts.application.end - facts.application.start,
                     writer.Application(facts.application.prefix, std::max(count, 0) + 1));
    } else if (facts.applications.Found()) {
        AppendChild(text, facts.applications, {writer.Application(facts.applications.prefix, 1)});
    } else if (facts.metadata.Found()) {
        AppendChild(text, facts.metadata, writer.Applications());
    } else if (facts.info.Found()) {
        AppendChild(text, facts.info, writer.Metadata());
    } else if (!facts.bookmark.SelfClosing()) {
        AppendChild(text, facts.bookmark, writer.Info());
    }
    const TElement& bookmark = facts.bookmark;
    QString startTag = writer.BookmarkStartTag(bookmark);
    if (bookmark.SelfClosing()) {
        startTag +=
            Compact(writer.Info()) + QStringLiteral("</") + bookmark.name + QLatin1Char('>');
    }
    text.replace(bookmark.start, bookmark.startTagEnd - bookmark.start, startTag);
}

bool WellFormed(const QString& text) {
    QXmlStreamReader reader(text);
    while (!reader.atEnd()) {
        reader.readNext();
    }
    return !reader.hasError();
}

}  // namespace

std::string FileUri(std::string_view path) {
    // The characters a path keeps in a file URI; every other byte is percent-encoded.
    static const QByteArray kKept = "!$&'()*+,;=:@/";
    return "file://" + QByteArray(path.data(), static_cast<qsizetype>(path.size()))
                           .toPercentEncoding(kKept)
                           .toStdString();
}

std::optional<std::string> NoteRecentUse(std::string_view list, const TRecentUse& use) {
    if (list.empty()) {
        list = kEmptyList;
    }
    // The text is changed as characters; valid UTF-8 comes back byte for byte.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder(QByteArrayView(list.data(), static_cast<qsizetype>(list.size())));
    if (decoder.hasError()) {
        return std::nullopt;
    }
    const std::optional<TListFacts> facts = ReadListFacts(text, use.path);
    if (!facts) {
        return std::nullopt;
    }
    const TEntryWriter writer(*facts, use);
    if (facts->bookmark.Found()) {
        UpdateEntry(text, *facts, writer);
    } else {
        AppendChild(text, facts->root, writer.Bookmark());
    }
    if (!WellFormed(text)) {
        return std::nullopt;
    }
    return text.toUtf8().toStdString();
}

std::string RecentlyUsedPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') {
        return std::string(data) + "/recently-used.xbel";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share/recently-used.xbel";
}

void AddToRecentlyUsed(const std::string& path) {
    const std::string listPath = RecentlyUsedPath();
    std::error_code error;
    std::string list;
    if (std::filesystem::exists(listPath, error)) {
        const auto bytes = ReadWholeFile(listPath);
        if (!bytes || bytes->empty()) {
            return;  // unreadable, or emptied by someone: not ours to fill
        }
        list.assign(bytes->begin(), bytes->end());
    }
    const QString qtPath = PathToQt(path);
    const TRecentUse use{path, QMimeDatabase().mimeTypeForFile(qtPath).name().toStdString(),
                         QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString()};
    const std::optional<std::string> noted = NoteRecentUse(list, use);
    if (!noted) {
        return;
    }
    std::filesystem::create_directories(FolderOfPath(listPath), error);
    FileReplacement file(listPath);
    if (file.Write(noted->data(), noted->size())) {
        file.Commit();
    }
}

}  // namespace tomery::app
