// Paths between the system's bytes and Qt's strings: exact both ways, readable on screen.
#include "PathText.h"

#include <QUrl>

#include <gtest/gtest.h>

#include <random>

namespace tomery::app {
namespace {

TEST(PathText, KeepsEveryNamesBytesAndShowsItReadable) {
    const struct {
        std::string bytes;
        QString shown;
    } cases[] = {
        {"/tmp/caf\xE9.txt", QString::fromUtf16(u"/tmp/caf\uFFFD.txt")},  // Latin-1
        {"\xFF", QString::fromUtf16(u"\uFFFD")},                          // never in UTF-8
        {"a\xC3(b", QString::fromUtf16(u"a\uFFFD(b")},                // a lead without its follower
        {"\xC0\xAF", QString::fromUtf16(u"\uFFFD\uFFFD")},            // an overlong "/"
        {"\xED\xA0\x80", QString::fromUtf16(u"\uFFFD\uFFFD\uFFFD")},  // an encoded surrogate
        {"end\xE2\x82", QString::fromUtf16(u"end\uFFFD\uFFFD")},      // cut short
        {"/books/caf\xC3\xA9 & co.txt", QString::fromUtf16(u"/books/café & co.txt")},
        {"\xF0\x9F\x93\x96 read me.pdb", QString::fromUtf16(u"\U0001F4D6 read me.pdb")},
    };
    for (const auto& c : cases) {
        const QString forQt = PathToQt(c.bytes);
        EXPECT_EQ(PathFromQt(forQt), c.bytes) << c.bytes;
        EXPECT_EQ(PathForDisplay(c.bytes), c.shown) << c.bytes;
        // Valid UTF-8 reaches Qt as the characters it shows.
        EXPECT_EQ(forQt == c.shown, !c.shown.contains(QChar(0xFFFD))) << c.bytes;
    }
}

TEST(PathText, AnyBytesSurviveTheRoundTrip) {
    std::mt19937 random(24);
    std::uniform_int_distribution<int> length(0, 12);
    // High bytes dominate, so that runs of valid and broken sequences mix.
    std::uniform_int_distribution<int> byte(1, 255);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(static_cast<std::size_t>(length(random)), '\0');
        for (char& b : bytes) {
            b = static_cast<char>(byte(random));
        }
        ASSERT_EQ(PathFromQt(PathToQt(bytes)), bytes);
    }
}

TEST(PathText, TypedNamesAreUtf8AndAStraySurrogateCannotForgeABrokenName) {
    EXPECT_EQ(PathFromQt(QString::fromUtf16(u"/home/ann/Crème ☃.txt")),
              "/home/ann/Cr\xC3\xA8me \xE2\x98\x83.txt");
    EXPECT_EQ(PathFromQt(QString(QChar(0xD83D)) + QLatin1Char('x')), "\xEF\xBF\xBDx");
    EXPECT_EQ(PathFromQt(QString(QChar(0xDC41))), "\xEF\xBF\xBD") << "not an escaped byte";
}

TEST(PathText, DroppedFilesKeepTheBytesOfTheirUrl) {
    const struct {
        QUrl url;
        std::string path;
    } cases[] = {
        {QUrl(QStringLiteral("file:///tmp/caf%E9.txt")), "/tmp/caf\xE9.txt"},
        {QUrl(QStringLiteral("file:///tmp/caf%C3%A9%20%26%20co.txt")), "/tmp/caf\xC3\xA9 & co.txt"},
        {QUrl::fromLocalFile(QStringLiteral("/tmp/a b#1%.txt")), "/tmp/a b#1%.txt"},
        {QUrl(QStringLiteral("file://localhost/tmp/x%FF")), "/tmp/x\xFF"},
        {QUrl(QStringLiteral("file://server/share/a.txt")), ""},
        {QUrl(QStringLiteral("https://example.org/a.txt")), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathFromUrl(c.url), c.path) << c.url.toString().toStdString();
    }
}

}  // namespace
}  // namespace tomery::app
