// The desktop's recently used list: new entries, noting a file again, others' entries kept.
#include "RecentlyUsed.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace tomery::app {
namespace {

constexpr char kBookmarkNs[] = "http://www.freedesktop.org/standards/desktop-bookmarks";
constexpr char kMimeNs[] = "http://www.freedesktop.org/standards/shared-mime-info";

/// One bookmark as a reader that knows the namespaces sees it.
struct TSeenBookmark {
    std::string added, modified, visited, mimeType;
    std::map<std::string, std::pair<std::string, int>> applications;  ///< name: exec, count
};

/// The list's bookmarks by href; fails the test when the list is not well-formed.
std::map<std::string, TSeenBookmark> Bookmarks(const std::string& list) {
    std::map<std::string, TSeenBookmark> bookmarks;
    QXmlStreamReader reader(QByteArray::fromStdString(list));
    TSeenBookmark* current = nullptr;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto text = [&](const char* name) {
            return reader.attributes().value(QLatin1String(name)).toString().toStdString();
        };
        const QString ns = reader.namespaceUri().toString();
        if (reader.name() == QLatin1String("bookmark") && ns.isEmpty()) {
            current = &bookmarks[text("href")];
            *current = {text("added"), text("modified"), text("visited"), "", {}};
        } else if (current != nullptr && ns == QLatin1String(kMimeNs) &&
                   reader.name() == QLatin1String("mime-type")) {
            current->mimeType = text("type");
        } else if (current != nullptr && ns == QLatin1String(kBookmarkNs) &&
                   reader.name() == QLatin1String("application")) {
            current->applications[text("name")] = {text("exec"), std::stoi(text("count"))};
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << "\n" << list;
    return bookmarks;
}

const TRecentUse kUse{"/home/ann/My Books/caf\xC3\xA9 & co.txt", "text/plain",
                      "2026-12-09T00:42:17Z"};
const std::string kUri = "file:///home/ann/My%20Books/caf%C3%A9%20&%20co.txt";
const std::string kUriInXml = "file:///home/ann/My%20Books/caf%C3%A9%20&amp;%20co.txt";

// As another program writes the list: the file already listed by it, and an entry of its own.
const std::string kOthers =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
    ">\n";
const std::string kOtherEntry =
    "  <bookmark href=\"file:///tmp/other%20file.pdf\" added=\"2020-01-01T00:00:00.000001Z\" "
    "modified=\"2020-01-01T00:00:00Z\" visited=\"2020-01-01T00:00:00Z\">\n"
    "    <info>\n      <metadata owner=\"http://freedesktop.org\">\n"
    "        <mime:mime-type type=\"application/pdf\"/>\n"
    "        <bookmark:groups><bookmark:group>Viewer &amp; Co</bookmark:group></bookmark:groups>\n"
    "        <bookmark:applications>\n"
    "          <bookmark:application name=\"Viewer\" exec=\"&apos;viewer %u&apos;\" "
    "modified=\"2020-01-01T00:00:00Z\" count=\"7\"/>\n"
    "        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n";
const std::string kSharedEntry =
    "  <bookmark href=\"" + kUriInXml +
    "\" added=\"2021-05-05T05:05:05Z\" modified=\"2021-05-05T05:05:05Z\" "
    "visited=\"2021-05-05T05:05:05Z\">\n"
    "    <info>\n      <metadata owner=\"http://freedesktop.org\">\n"
    "        <mime:mime-type type=\"text/plain\"/>\n"
    "        <bookmark:applications>\n"
    "          <bookmark:application name=\"Writer\" exec=\"&apos;writer %u&apos;\" "
    "modified=\"2021-05-05T05:05:05Z\" count=\"2\"/>\n"
    "        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n";

TEST(RecentlyUsed, EncodesPathsAsFileUris) {
    EXPECT_EQ(FileUri(kUse.path), kUri);
    EXPECT_EQ(FileUri("/x/\xFF#?%[1].txt"), "file:///x/%FF%23%3F%25%5B1%5D.txt");
}

TEST(RecentlyUsed, StartsAListAndCountsEachUse) {
    const std::optional<std::string> first = NoteRecentUse("", kUse);
    ASSERT_TRUE(first);
    auto seen = Bookmarks(*first);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[kUri].added, kUse.time);
    EXPECT_EQ(seen[kUri].visited, kUse.time);
    EXPECT_EQ(seen[kUri].mimeType, "text/plain");
    EXPECT_EQ(seen[kUri].applications["Tomery"], std::make_pair(std::string("'tomery %u'"), 1));

    TRecentUse later = kUse;
    later.time = "2026-12-10T08:00:00Z";
    const std::optional<std::string> second = NoteRecentUse(*first, later);
    ASSERT_TRUE(second);
    seen = Bookmarks(*second);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[kUri].added, kUse.time);
    EXPECT_EQ(seen[kUri].modified, later.time);
    EXPECT_EQ(seen[kUri].applications["Tomery"].second, 2);
}

TEST(RecentlyUsed, KeepsEveryOtherEntryByteForByte) {
    for (const bool shared : {false, true}) {
        const std::string list = kOthers + kOtherEntry + (shared ? kSharedEntry : "") + "</xbel>";
        const std::optional<std::string> noted = NoteRecentUse(list, kUse);
        ASSERT_TRUE(noted);
        EXPECT_EQ(noted->substr(0, kOthers.size() + kOtherEntry.size()), kOthers + kOtherEntry);
        EXPECT_EQ(noted->substr(noted->size() - 7), "</xbel>");
        auto seen = Bookmarks(*noted);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen["file:///tmp/other%20file.pdf"].applications["Viewer"].second, 7);
        EXPECT_EQ(seen[kUri].applications["Tomery"].second, 1);
        EXPECT_EQ(seen[kUri].added, shared ? "2021-05-05T05:05:05Z" : kUse.time);
        EXPECT_EQ(seen[kUri].modified, kUse.time);
        EXPECT_EQ(seen[kUri].applications.count("Writer"), shared ? 1u : 0u);
    }
}

TEST(RecentlyUsed, AddsWhatTheFilesEntryLacksWithBindingsWhereTheListHasNone) {
    // Entries down to each level, in a list whose root binds no prefixes, partly on one line.
    const std::string open =
        "<xbel version=\"1.0\"><bookmark href=\"" + kUriInXml + "\" added=\"A\">";
    const std::string lacking[] = {
        "",
        "<info/>",
        "<info><metadata owner=\"http://freedesktop.org\"></metadata></info>",
        "<info><metadata owner=\"http://freedesktop.org\"><b:applications "
        "xmlns:b=\"http://www.freedesktop.org/standards/desktop-bookmarks\">\n"
        "  </b:applications></metadata></info>",
    };
    for (const std::string& inner : lacking) {
        const std::optional<std::string> noted =
            NoteRecentUse(open + inner + "</bookmark></xbel>", kUse);
        ASSERT_TRUE(noted) << inner;
        auto seen = Bookmarks(*noted);
        EXPECT_EQ(seen[kUri].added, "A") << inner;
        EXPECT_EQ(seen[kUri].applications["Tomery"].second, 1) << *noted;
    }
    const std::optional<std::string> bare = NoteRecentUse("<xbel version=\"1.0\"/>", kUse);
    ASSERT_TRUE(bare);
    EXPECT_EQ(Bookmarks(*bare)[kUri].applications["Tomery"].second, 1) << *bare;
}

TEST(RecentlyUsed, LeavesADamagedListAlone) {
    const std::string damaged[] = {
        kOthers + kOtherEntry,                             // cut off
        kOthers + "<bookmark href='x'></xbel>",            // badly nested
        "<?xml version=\"1.0\"?><bookmarks></bookmarks>",  // another format
        kOthers + "<!-- caf\xE9 -->\n</xbel>",             // not UTF-8
        "not xml at all",
    };
    for (const std::string& list : damaged) {
        EXPECT_FALSE(NoteRecentUse(list, kUse)) << list;
    }
}

}  // namespace
}  // namespace tomery::app
