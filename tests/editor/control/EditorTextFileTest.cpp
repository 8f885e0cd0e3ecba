// Loading and saving plain text files through the text file editor.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string_view>

#include "EditorFixture.h"
#include "FileEncoding.h"
#include "OvcTextFile.h"
#include "TempFolder.h"

namespace tomery::editor::testing {
namespace {

using tomery::testing::ReadFile;
using tomery::testing::TempFolder;
using tomery::testing::WriteFile;

class TextFileEditorTest : public EditorTest {
  protected:
    /// Loads `bytes` from a file and saves the text to another; returns what was saved.
    std::string RoundTrip(const std::string& bytes) {
        WriteFile(folder_.Path("in.txt"), bytes);
        Editor().LoadFromFile(folder_.Path("in.txt"));
        Editor().SaveToFile(folder_.Path("out.txt"));
        return ReadFile(folder_.Path("out.txt"));
    }
    std::vector<std::string> Paragraphs() {
        std::vector<std::string> paras;
        for (std::int32_t p = 1; p <= Editor().ParaCount(); ++p) {
            paras.emplace_back(Editor().GetPara(p));
        }
        return paras;
    }

    TempFolder folder_;
};

TEST_F(TextFileEditorTest, AFileWithCrLfLineEndsIsSavedBackByteForByte) {
    const std::string text = "first line\r\n\r\n\tindented\r\nlast \xE9\x80 line\r\n";
    EXPECT_EQ(RoundTrip(text), text);
    EXPECT_EQ(Paragraphs(),
              (std::vector<std::string>{"first line", "", "\tindented", "last \xE9\x80 line", ""}));
    EXPECT_TRUE(Editor().IsOpen());
    EXPECT_FALSE(Editor().Modified());
}

TEST_F(TextFileEditorTest, EmptyFilesAndLoneLineBreaks) {
    EXPECT_EQ(RoundTrip(""), "");
    EXPECT_EQ(Editor().ParaCount(), 1);
    EXPECT_EQ(RoundTrip("\r\n"), "\r\n");
    EXPECT_EQ(Editor().ParaCount(), 2);
}

TEST_F(TextFileEditorTest, TheLastLineGainsALineBreak) {
    EXPECT_EQ(RoundTrip("one\r\ntwo"), "one\r\ntwo\r\n");
}

TEST_F(TextFileEditorTest, CarriageReturnsEndLinesAndLineFeedsAloneStayInThem) {
    EXPECT_EQ(RoundTrip("a\rb\nc\r\n"), "a\r\nb\nc\r\n");
    EXPECT_EQ(Paragraphs(), (std::vector<std::string>{"a", "b\nc", ""}));
}

TEST_F(TextFileEditorTest, LinuxTextFilesKeepTheirLineFeedsAndOthersGetCrLf) {
    struct Case {
        std::string in, out;
        TLineBreak lineBreak;
    };
    const std::vector<Case> cases = {
        {"one\ntwo\n\n\tthree\n", "one\ntwo\n\n\tthree\n", TLineBreak::Lf},
        {"one\ntwo", "one\ntwo\n", TLineBreak::Lf},
        {"\n", "\n", TLineBreak::Lf},
        {"one\ntwo\r\n", "one\ntwo\r\n", TLineBreak::CrLf},  // one CR: the text-file rules
        {"no line end", "no line end\r\n", TLineBreak::CrLf},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundTrip(c.in), c.out) << c.in;
        EXPECT_EQ(Editor().LineBreak(), c.lineBreak) << c.in;
    }
    EXPECT_EQ(Paragraphs(), (std::vector<std::string>{"no line end", ""}));
    Editor().NewFile("Untitled");
    EXPECT_EQ(Editor().LineBreak(), TLineBreak::CrLf);
}

TEST_F(TextFileEditorTest, UnicodeFilesAreSavedBackByteForByteInTheirEncodingAndLineEnds) {
    using charset::TFileEncoding;
    const std::string crLf = "\u201CCaf\u00E9\u201D \u2014 \u20AC\r\nline two\r\n";
    const std::string lf = "caf\u00E9\nLF only\n";
    struct Case {
        std::string file;
        TFileEncoding encoding;
        TLineBreak lineBreak;
    };
    const Case cases[] = {
        {crLf, TFileEncoding::Utf8, TLineBreak::CrLf},
        {lf, TFileEncoding::Utf8, TLineBreak::Lf},
        {"\xEF\xBB\xBF" + lf, TFileEncoding::Utf8Bom, TLineBreak::Lf},
        {"\xFF\xFE" + charset::Utf8ToUtf16(crLf, false), TFileEncoding::Utf16Le, TLineBreak::CrLf},
        {"\xFE\xFF" + charset::Utf8ToUtf16(lf, true), TFileEncoding::Utf16Be, TLineBreak::Lf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(RoundTrip(c.file), c.file);
        EXPECT_EQ(Editor().FileEncoding(), c.encoding);
        EXPECT_EQ(Editor().LineBreak(), c.lineBreak);
        EXPECT_TRUE(Editor().LoadReplacements().Empty());
        EXPECT_EQ(Editor().GetPara(1), c.lineBreak == TLineBreak::Lf ? "caf\xE9"
                                                                     : "\x93"
                                                                       "Caf\xE9\x94 \x97 \x80");
    }
    Editor().NewFile("Untitled");
    EXPECT_EQ(Editor().FileEncoding(), TFileEncoding::Bytes);
}

TEST_F(TextFileEditorTest, EveryByteOfEverySetSurvivesASaveInEachUnicodeEncoding) {
    using charset::TFileEncoding;
    std::string line;  // CR and LF end lines
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n') {
            line += static_cast<char>(byte);
        }
    }
    for (const charset::TCharacterSet* set : charset::AllCharacterSets()) {
        for (const TFileEncoding encoding : {TFileEncoding::Utf8, TFileEncoding::Utf8Bom,
                                             TFileEncoding::Utf16Le, TFileEncoding::Utf16Be}) {
            SCOPED_TRACE(set->Name() + " " + std::string(charset::EncodingName(encoding)));
            Editor().SetCharacterSet(*set);
            SetLines({line});
            Editor().SetFileEncoding(encoding);
            Editor().SaveToFile(folder_.Path("out.txt"));
            Editor().LoadFromFile(folder_.Path("out.txt"));
            EXPECT_EQ(Editor().GetPara(1), line);
            EXPECT_EQ(Editor().FileEncoding(), encoding);
            EXPECT_TRUE(Editor().LoadReplacements().Empty());
        }
    }
}

TEST_F(TextFileEditorTest, TypingAtTheStartOfAFileWithAMarkChangesOnlyTheText) {
    const std::string body = "caf\u00E9 \u2019n\u2019 more\r\n";
    WriteFile(folder_.Path("in.txt"), "\xEF\xBB\xBF" + body);
    Editor().LoadFromFile(folder_.Path("in.txt"));
    Editor().SetCaretPosition(1, 1);
    QTest::keyClicks(&Editor(), QString::fromUtf8("\u00D8 "));
    Editor().SaveToFile(folder_.Path("out.txt"));
    EXPECT_EQ(ReadFile(folder_.Path("out.txt")), "\xEF\xBB\xBF\u00D8 " + body);
}

TEST_F(TextFileEditorTest, CharactersTheSetLacksAreTransliteratedAndLoggedWithTheirLines) {
    WriteFile(folder_.Path("in.txt"), "plain\r\nt\u0159i \u017Eluv\r\n\u0416\u0443\u043A\r\n");
    Editor().LoadFromFile(folder_.Path("in.txt"));
    EXPECT_EQ(Paragraphs(), (std::vector<std::string>{"plain", "tri \x9Eluv", "Zhuk", ""}));
    const charset::TReplacementLog& log = Editor().LoadReplacements();
    EXPECT_EQ(log.Count(), 4u);
    ASSERT_EQ(log.First().size(), 2u);
    EXPECT_EQ(log.First()[0].Line, 2);
    EXPECT_EQ(log.First()[1].Line, 3);
    EXPECT_EQ(log.First()[1].Shown, "Zhuk");
}

TEST_F(TextFileEditorTest, AForcedEncodingWinsOverWhatTheBytesTell) {
    using charset::TFileEncoding;
    const std::string utf8 =
        "\xEF\xBB\xBF"
        "caf\u00E9\r\n";
    WriteFile(folder_.Path("in.txt"), utf8);
    Editor().LoadFromFileAs(folder_.Path("in.txt"), TFileEncoding::Bytes);
    EXPECT_EQ(Editor().GetPara(1),
              "\xEF\xBB\xBF"
              "caf\xC3\xA9");
    EXPECT_EQ(Editor().FileEncoding(), TFileEncoding::Bytes);
    Editor().SaveToFile(folder_.Path("out.txt"));
    EXPECT_EQ(ReadFile(folder_.Path("out.txt")), utf8);

    Editor().LoadFromFileAs(folder_.Path("in.txt"), TFileEncoding::Utf8);
    EXPECT_EQ(Editor().GetPara(1), "caf\xE9");
    EXPECT_EQ(Editor().FileEncoding(), TFileEncoding::Utf8Bom);

    WriteFile(folder_.Path("in.txt"), "caf\xE9\r\n");
    Editor().LoadFromFileAs(folder_.Path("in.txt"), TFileEncoding::Utf8);
    EXPECT_EQ(Editor().GetPara(1), "caf?");
    EXPECT_EQ(Editor().LoadReplacements().Count(), 1u);
}

TEST_F(TextFileEditorTest, OnlyAFinalControlZEndsTheText) {
    EXPECT_EQ(RoundTrip("one\r\ntw\x1Ao\r\nthree\r\n"), "one\r\ntw\x1Ao\r\nthree\r\n");
    EXPECT_EQ(RoundTrip("one\r\n\x1A"), "one\r\n");
    EXPECT_EQ(RoundTrip("a\x1A\nb\x1A"), "a\x1A\nb\n");
    EXPECT_EQ(RoundTrip("\x1A"), "");
    EXPECT_EQ(RoundTrip("\x1A\x1A"), "\x1A\r\n");
}

/// A text handed out in pieces of 1 to 7 bytes, as a decoder hands on what it decoded.
class TPiecewiseText : public TTextStream {
  public:
    TPiecewiseText(std::string_view text, unsigned seed) : rest_(text), random_(seed) {}

    std::size_t Read(char* dest, std::size_t capacity) override {
        const std::size_t size = std::min({capacity, rest_.size(), 1 + random_() % 7});
        std::copy_n(rest_.data(), size, dest);
        rest_.remove_prefix(size);
        return size;
    }
    std::uint64_t WorkDone() const override { return 0; }
    std::uint64_t WorkTotal() const override { return 1; }

  private:
    std::string_view rest_;
    std::mt19937 random_;
};

TEST_F(TextFileEditorTest, AStreamInAnyPiecesLoadsAsTheFileOfItsBytesWould) {
    std::mt19937 random(5);
    std::vector<std::string> texts = {"",   "\x1A", "\x1A\x1A", "one\r\n\x1A", "a\x1A\r\nb\x1A",
                                      "x\r"};
    for (int round = 0; round < 200; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) {
            c = "ab \r\n\x1A"[random() % 6];
        }
        texts.push_back(text + "\r");  // a CR keeps the text-file rules a decoded text follows
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        WriteFile(folder_.Path("in.txt"), texts[i]);
        Editor().LoadFromFile(folder_.Path("in.txt"));
        const std::vector<std::string> fromFile = Paragraphs();
        TPiecewiseText stream(texts[i], static_cast<unsigned>(i));
        Editor().LoadFromStream(folder_.Path("streamed.txt"), stream);
        EXPECT_EQ(Paragraphs(), fromFile) << "text " << i;
        EXPECT_EQ(Editor().LineBreak(), TLineBreak::CrLf);
        EXPECT_EQ(Editor().FileName(), folder_.Path("streamed.txt"));
    }
}

TEST_F(TextFileEditorTest, ACancelledLoadOrSaveLeavesTextFilesAndFlagsAsTheyWere) {
    WriteFile(folder_.Path("old.txt"), "old\r\n");
    Editor().LoadFromFile(folder_.Path("old.txt"));
    Editor().InsertString("typed ");
    std::string big;
    while (big.size() < 3 * TTextFileReader::kProgressStep) {
        big += "A line of a long text.\r\n";
    }
    WriteFile(folder_.Path("big.txt"), big);
    std::vector<std::uint64_t> reports;
    const auto cancelAtSecondReport = [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_LE(done, total);
        reports.push_back(done);
        return reports.size() < 2;
    };
    EXPECT_THROW(
        Editor().LoadWithProgress(folder_.Path("big.txt"), std::nullopt, cancelAtSecondReport),
        EWorkCancelled);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(Paragraphs(), (std::vector<std::string>{"typed old", ""}));
    EXPECT_EQ(Editor().FileName(), folder_.Path("old.txt"));
    EXPECT_TRUE(Editor().Modified());

    Editor().LoadFromFile(folder_.Path("big.txt"));
    Editor().InsertString("typed ");
    Editor().SetMakeBackup(true);
    reports.clear();
    EXPECT_THROW(Editor().SaveWithProgress(folder_.Path("old.txt"), cancelAtSecondReport),
                 EWorkCancelled);
    EXPECT_EQ(ReadFile(folder_.Path("old.txt")), "old\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("old.BAK")));
    EXPECT_TRUE(Editor().Modified());
}

TEST_F(TextFileEditorTest, ABinaryFileKeepsEveryByteThatTheLineRulesAllow) {
    // Every byte but CR, in lines ended by LF and without blanks to trim at their ends: a
    // copy through the editor is the same file.
    Editor().SetTrimWhiteSpace(false);
    std::string bytes;
    for (int round = 0; round < 600; ++round) {
        for (int b = 0; b < 256; ++b) {
            const auto c = static_cast<char>((b * 37 + round) % 256);
            if (c != '\r') {
                bytes += c;
            }
        }
    }
    bytes += '\n';
    ASSERT_GT(bytes.size(), TTextFileReader::kBufferSize * 4);
    EXPECT_EQ(RoundTrip(bytes), bytes);

    TTextFileReader reader(TInMemoryText{bytes}, charset::DefaultCharacterSet());
    std::string line;
    std::size_t total = 0;
    while (reader.ReadLine(line)) {
        total += line.size() + 1;
    }
    EXPECT_EQ(total, bytes.size());
}

TEST_F(TextFileEditorTest, TrailingBlanksAreTrimmedOnLoad) {
    EXPECT_EQ(RoundTrip("blanks  \t\r\nkept\r\n"), "blanks\r\nkept\r\n");
    Editor().SetTrimWhiteSpace(false);
    EXPECT_EQ(RoundTrip("blanks  \t\r\n"), "blanks  \t\r\n");
}

TEST_F(TextFileEditorTest, ALineTooLongForAParagraphOpensCutAndSavesByteForByte) {
    std::string words;
    while (words.size() < 200000) {
        words += "word ";
    }
    words.resize(200000);
    words.back() = 's';  // trailing blanks would be trimmed
    const std::string bytes =
        "short\r\n" + words + "\r\n" + std::string(200000, 'x') + "\r\nend\r\n";
    EXPECT_EQ(RoundTrip(bytes), bytes);
    EXPECT_GT(Editor().ParaCount(), 14);
    for (std::int32_t p = 1; p <= Editor().ParaCount(); ++p) {
        EXPECT_LE(Editor().GetPara(p).size(), 32767u);
    }
    EXPECT_EQ(Editor().LoadSplitLines().Count, 2);
    EXPECT_EQ(Editor().LoadSplitLines().FirstLine, 2);
    EXPECT_FALSE(Editor().Modified());
    Editor().NewFile("Untitled");
    EXPECT_EQ(Editor().LoadSplitLines().Count, 0);
}

/// What opening a file and saving it changes on purpose, each with an example. Files read
/// as Unicode (a byte order mark, or valid UTF-8 beyond ASCII) are converted through the
/// character set instead, which the Unicode tests cover.
struct TOnPurpose {
    const char* Change;
    std::string File;
    std::string Saved;
};
const TOnPurpose kOnPurpose[] = {
    {"trailing blanks and tabs of a line are trimmed", "a \t\r\n \r\n", "a\r\n\r\n"},
    {"the last line gains a line end", "a\r\nb", "a\r\nb\r\n"},
    {"a lone CR ends a line and becomes CR LF", "a\rb\n\r\r\n", "a\r\nb\n\r\n\r\n"},
    {"a Ctrl-Z that is the very last byte is dropped", "a\x1A\r\n\x1A", "a\x1A\r\n"},
};

/// The bytes that opening `file` and saving it writes: the same but for kOnPurpose. A file
/// with LF but no CR has LF line ends; any other ends its lines at CR, an LF right after it
/// belonging to the line end.
std::string ExpectedSave(std::string_view file) {
    if (!file.empty() && file.back() == '\x1A') {
        file.remove_suffix(1);
    }
    const bool lf = file.find('\r') == std::string_view::npos && !file.empty() &&
                    file.find('\n') != std::string_view::npos;
    std::string saved;
    while (!file.empty()) {
        const std::size_t end = file.find(lf ? '\n' : '\r');
        const std::string_view line = file.substr(0, end);
        saved += line.substr(0, line.find_last_not_of(" \t") + 1);
        saved += lf ? "\n" : "\r\n";
        if (end == std::string_view::npos) {
            break;
        }
        file.remove_prefix(end + 1);
        if (!lf && !file.empty() && file.front() == '\n') {
            file.remove_prefix(1);
        }
    }
    return saved;
}

/// A seeded file of lines short and long (some longer than a paragraph), blanks, tabs, NUL,
/// Ctrl-Z and high bytes, ended by CR LF, CR, LF or LF CR, or by LF alone.
std::string RandomFile(std::mt19937& random) {
    const auto between = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    static const std::string kAlphabet = std::string("ab  \t\t-\x1A\xE9\xFF\x80", 11) + '\0';
    static const char* const kEnds[] = {"\r\n", "\r", "\n", "\n\r", " \r\n"};
    const bool lfOnly = between(0, 3) == 0;
    std::string file;
    for (int line = between(0, 6); line > 0; --line) {
        const int length = between(0, 9) == 0 ? between(32000, 70000) : between(0, 60);
        for (int i = 0; i < length; ++i) {
            file += between(0, 3) == 0 ? kAlphabet[static_cast<std::size_t>(between(0, 11))]
                                       : static_cast<char>(between('c', 'z'));
        }
        file += lfOnly ? "\n" : kEnds[between(0, 4)];
    }
    if (between(0, 2) == 0) {
        file.resize(file.size() - std::min<std::size_t>(file.size(), between(0, 3)));
    }
    if (between(0, 5) == 0) {
        file += '\x1A';
    }
    return file;
}

bool ReadsAsBytes(std::string_view file) {
    charset::TEncodingSniffer sniffer;
    sniffer.Feed(file);
    return sniffer.Result() == charset::TFileEncoding::Bytes;
}

TEST_F(TextFileEditorTest, OpeningAndSavingWritesTheFileBackButForWhatChangesOnPurpose) {
    for (const TOnPurpose& change : kOnPurpose) {
        EXPECT_EQ(ExpectedSave(change.File), change.Saved) << change.Change;
        EXPECT_EQ(RoundTrip(change.File), change.Saved) << change.Change;
    }
    std::mt19937 random(24);
    int unicode = 0;
    for (int n = 0; n < 300; ++n) {
        const std::string file = RandomFile(random);
        if (!ReadsAsBytes(file)) {
            ++unicode;
            continue;
        }
        // Small paragraphs cut short lines too, and at blanks, tabs and NUL bytes.
        Editor().SetParaLengthLimit(n % 3 == 0 ? 7 : 32767);
        ASSERT_EQ(RoundTrip(file), ExpectedSave(file)) << "file " << n;
    }
    EXPECT_LT(unicode, 15);
}

TEST_F(TextFileEditorTest, AFailedLoadLeavesTextNameAndEncodingAsTheyWere) {
    WriteFile(folder_.Path("good.txt"), "pr\u00E9cieux \u0159\r\n");
    Editor().LoadFromFile(folder_.Path("good.txt"));
    try {
        Editor().LoadFromFile(folder_.Path("missing.txt"));
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    EXPECT_EQ(Editor().GetPara(1),
              "pr\xE9"
              "cieux r");
    EXPECT_EQ(Editor().FileName(), folder_.Path("good.txt"));
    EXPECT_TRUE(Editor().IsOpen());

    WriteFile(folder_.Path("many.txt"), "1\r\n2\r\n3\r\n4\r\n5\r\n");
    Editor().SetParaLimit(3);
    try {
        Editor().LoadFromFile(folder_.Path("many.txt"));
        FAIL() << "no error";
    } catch (const EEditorError& error) {
        EXPECT_STREQ(error.what(),
                     "Current operation will exceed the maximum number of allowed paragraphs");
    }
    EXPECT_EQ(Editor().GetPara(1),
              "pr\xE9"
              "cieux r");
    EXPECT_EQ(Editor().FileName(), folder_.Path("good.txt"));
    EXPECT_EQ(Editor().FileEncoding(), charset::TFileEncoding::Utf8);
    EXPECT_EQ(Editor().LoadReplacements().Count(), 1u);
}

TEST_F(TextFileEditorTest, SavingIntoAFolderThatIsNotThereRaisesFileNotFound) {
    Editor().InsertString("text");
    EXPECT_THROW(Editor().SaveToFile(folder_.Path("no/such.txt")), EInOutError);
    EXPECT_TRUE(Editor().Modified());
}

TEST_F(TextFileEditorTest, AFailedSaveLeavesTheFileOnDiskWhole) {
    WriteFile(folder_.Path("doc.txt"), "the only copy\r\n");
    ::chmod(folder_.Path("doc.txt").c_str(), 0444);
    Editor().InsertString("changed ");
    try {
        Editor().SaveToFile(folder_.Path("doc.txt"));
        FAIL() << "a read-only file was written";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
    EXPECT_EQ(ReadFile(folder_.Path("doc.txt")), "the only copy\r\n");
    EXPECT_TRUE(Editor().Modified());
    ::chmod(folder_.Path("doc.txt").c_str(), 0644);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Root()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file stays behind";
}

TEST_F(TextFileEditorTest, ABackupCopyKeepsThePreviousFile) {
    WriteFile(folder_.Path("doc.txt"), "old\r\n");
    Editor().LoadFromFile(folder_.Path("doc.txt"));
    Editor().InsertString("new ");
    Editor().SetMakeBackup(true);
    Editor().SaveToFile(folder_.Path("doc.txt"));
    EXPECT_EQ(ReadFile(folder_.Path("doc.BAK")), "old\r\n");
    EXPECT_EQ(ReadFile(folder_.Path("doc.txt")), "new old\r\n");

    Editor().SaveToFile(folder_.Path("copy.BAK"));
    Editor().SaveToFile(folder_.Path("copy.BAK"));
    EXPECT_EQ(ReadFile(folder_.Path("copy.BAK")), "new old\r\n");
}

TEST_F(TextFileEditorTest, FileNameAndIsOpen) {
    WriteFile(folder_.Path("a.txt"), "alpha\r\n");
    Editor().SetFileName(folder_.Path("a.txt."));
    EXPECT_EQ(Editor().FileName(), folder_.Path("a.txt"));
    EXPECT_FALSE(Editor().IsOpen());
    Editor().SetIsOpen(true);
    EXPECT_EQ(Editor().GetPara(1), "alpha");
    WriteFile(folder_.Path("a.txt"), "changed\r\n");
    Editor().SetFileName(folder_.Path("A.TXT"));
    Editor().SetIsOpen(true);
    EXPECT_EQ(Editor().GetPara(1), "alpha");  // same name in other case: no reload
    Editor().SetIsOpen(false);
    EXPECT_EQ(Editor().TextLength(), 0);

    Editor().NewFile("Untitled");
    EXPECT_EQ(Editor().FileName(), "Untitled");
    EXPECT_FALSE(Editor().IsOpen());
}

}  // namespace
}  // namespace tomery::editor::testing
