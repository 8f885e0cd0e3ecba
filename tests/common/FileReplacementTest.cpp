// Safe file replacement under the faults users meet: killed saves, folders that refuse new
// files, symbolic links that point nowhere, files that belong to someone else.
#include "ChildProcess.h"
#include "FileAccess.h"
#include "FileReplacement.h"
#include "ProgramFolder.h"
#include "StateFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <random>
#include <set>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>

namespace tomery {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RunInChildProcess;
using testing::RunUnprivileged;
using testing::StartChildProcess;
using testing::TempFolder;
using testing::WriteFile;

bool Save(const std::string& destination, const std::string& bytes) {
    FileReplacement file(destination);
    return file.Write(bytes.data(), bytes.size()) && file.Commit();
}

// Writing out of order, reading back and cutting, as the DOC writer puts a file's front
// before the records it wrote first: "FRO" + "records" + a zero byte + "end".
const std::string kOutOfOrder = std::string("FROrecords") + '\0' + "end";
bool WriteOutOfOrder(FileReplacement& file) {
    char back[4] = {};
    const std::string_view records[] = {"rec", "", "ords"};
    return file.Resize(3) && file.Write(records) && file.WriteAt(12, "!", 1) &&
           file.ReadAt(3, back, 4) && std::string(back, 4) == "reco" && file.WriteAt(0, "FRO", 3) &&
           file.Resize(11) && file.Write("end", 3) && file.Commit();
}

std::set<std::string> FileNames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class Replacement : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string book = folder.Path("book.txt");
};

// A big file is flushed on another thread while it is written: every piece still lands in
// order, and the old contents stay until the commit. Every other mebibyte goes in pieces of
// 700 bytes and empty ones, more than one system call takes.
TEST_F(Replacement, ABigFileFlushedWhileWrittenCommitsEveryByteInOrder) {
    WriteFile(book, "old");
    std::string expected;
    {
        FileReplacement file(book);
        for (int round = 0; round < 12; ++round) {
            std::string bytes(std::size_t{1} << 20, '\0');
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = static_cast<char>('a' + (round + i) % 251);
            }
            std::vector<std::string_view> pieces;
            for (std::size_t at = 0; at < bytes.size(); at += 700) {
                pieces.push_back(std::string_view(bytes).substr(at, 700));
                pieces.emplace_back();
            }
            ASSERT_TRUE(round % 2 == 0 ? file.Write(bytes.data(), bytes.size())
                                       : file.Write(pieces));
            expected += bytes;
        }
        EXPECT_EQ(ReadFile(book), "old");
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_EQ(ReadFile(book), expected);
    EXPECT_EQ(FileNames(folder.Path("")), std::set<std::string>{"book.txt"});
}

TEST_F(Replacement, WritesOutOfOrderReadsBackAndCuts) {
    FileReplacement file(book);
    ASSERT_TRUE(WriteOutOfOrder(file));
    EXPECT_EQ(ReadFile(book), kOutOfOrder);
    char past[2];
    FileReplacement spoilt(book);
    EXPECT_FALSE(spoilt.ReadAt(0, past, 1));  // nothing written yet
    EXPECT_FALSE(spoilt.Write("x", 1) && spoilt.Commit());
    EXPECT_EQ(ReadFile(book), kOutOfOrder);
}

// The system reports a failed write-back to one flush only: the failure of an early flush
// must survive until the commit asks.
TEST(BackgroundFlush, KeepsTheFirstFailureForFinish) {
    TBackgroundFlush flush(-1);
    flush.Request();
    EXPECT_EQ(flush.Finish(), EBADF);
    flush.Request();
    EXPECT_EQ(flush.Finish(), EBADF);
}

TEST_F(Replacement, ASaveSweepsAwayWhatKilledSavesOfTheSameFileLeft) {
    WriteFile(book, std::string("old"));
    // A save killed before its rename: the child ends without any clean-up.
    ASSERT_EQ(RunInChildProcess([&] {
                  // Never destroyed: the process ends as a killed one would.
                  auto* killed = new FileReplacement(book);
                  return killed->Write("half", 4) ? 0 : 1;
              }),
              0);
    const std::set<std::string> left = FileNames(folder.Root());
    ASSERT_EQ(left.size(), 2U);
    EXPECT_EQ(left.begin()->rfind(".book.txt.tomery-", 0), 0U) << *left.begin();
    // Look-alikes that are not stale temporaries of book.txt stay.
    for (const char* name : {".book.txt.tomery-abc", ".other.txt.tomery-abcdef",
                             "book.txt.tomery-abcdef", ".book.txt.tomery-abcdefg"}) {
        WriteFile(folder.Path(name), std::string("keep"));
    }

    FileReplacement running(book);  // a save still in progress keeps its file
    ASSERT_TRUE(Save(book, "new"));
    EXPECT_EQ(FileNames(folder.Root()).size(), 6U);
    ASSERT_TRUE(running.Write("last", 4) && running.Commit());
    EXPECT_EQ(ReadFile(book), "last");
    EXPECT_EQ(FileNames(folder.Root()),
              (std::set<std::string>{"book.txt", ".book.txt.tomery-abc", ".other.txt.tomery-abcdef",
                                     "book.txt.tomery-abcdef", ".book.txt.tomery-abcdefg"}));
}

TEST_F(Replacement, StartUpSweepsTheTemporariesOfKilledSavesInAnyFolder) {
    fs::create_directory(folder.Path("far"));
    const std::string far = folder.Path("far/book.txt");
    ASSERT_EQ(RunInChildProcess([&] {
                  auto* killed = new FileReplacement(far);  // never destroyed: a kill
                  return killed->Write("half", 4) ? 0 : 1;
              }),
              0);
    FileReplacement running(book);  // a save still in progress keeps its file and its note
    ASSERT_TRUE(running.IsOpen());
    const std::string notes = StateFolder() + "saving";
    ASSERT_EQ(FileNames(notes).size(), 2U);

    RemoveStaleSaveTemporaries();
    EXPECT_TRUE(FileNames(folder.Path("far")).empty());
    EXPECT_EQ(FileNames(folder.Root()).size(), 2U);  // far and the running temporary
    EXPECT_EQ(FileNames(notes).size(), 1U);
    ASSERT_TRUE(running.Write("x", 1) && running.Commit());
    EXPECT_TRUE(FileNames(notes).empty());
}

class InPlace : public Replacement {
  protected:
    // A folder that takes no new files holding a file its user may write; the state folder
    // open to the unprivileged user the saves run as.
    void SetUp() override {
        fs::create_directory(locked);
        fs::create_directories(StateFolder());
        for (const std::string& open : {folder.Root(), StateFolder(), folder.StateHome()}) {
            ::chmod(open.c_str(), 0777);
        }
        WriteFile(file, oldText);
        ::chmod(file.c_str(), 0666);
        ::chmod(locked.c_str(), 0555);
    }
    void TearDown() override { ::chmod(locked.c_str(), 0755); }

    std::vector<std::string> Copies() const {
        return StateFiles(StateFolder(), kInPlaceCopyPrefix);
    }

    std::string locked = folder.Path("locked");
    std::string file = locked + "/book.txt";
    std::string oldText = std::string(3 << 20, 'o');
    std::string newText = std::string(2 << 20, 'n') + "end";
};

TEST_F(InPlace, AWritableFileIsRewrittenWhereItIsAndNothingIsLeftBehind) {
    struct stat before {};
    ::stat(file.c_str(), &before);
    const int result = RunUnprivileged([&] {
        FileReplacement replacement(file);
        if (!replacement.WritesInPlace() || !replacement.Write("new", 3) || !replacement.Commit()) {
            return 1;
        }
        FileReplacement refused(locked + "/new.txt");  // nothing to write in place
        return refused.IsOpen() || refused.Error() != EACCES ? 2 : 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile(file), "new");
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(FileNames(locked), std::set<std::string>{"book.txt"});
    EXPECT_TRUE(Copies().empty());
}

TEST_F(InPlace, WritesOutOfOrderReadsBackAndCutsAsATemporaryFileDoes) {
    EXPECT_EQ(RunUnprivileged([&] {
                  FileReplacement replacement(file);
                  return replacement.WritesInPlace() && WriteOutOfOrder(replacement) ? 0 : 1;
              }),
              0);
    EXPECT_EQ(ReadFile(file), kOutOfOrder);
}

TEST_F(InPlace, AKilledRewriteAlwaysLeavesTheFileWholeOrAWholeCopyOfTheOld) {
    const auto save = [&] {
        FileReplacement replacement(file);
        return replacement.WritesInPlace() && replacement.Write(newText.data(), newText.size()) &&
                       replacement.Commit()
                   ? 0
                   : 1;
    };
    // The kills land anywhere in a whole save's time, measured once.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(RunUnprivileged(save), 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    WriteFile(file, oldText);
    std::mt19937 random(24);
    int interrupted = 0;
    int copiesLeft = 0;
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        const pid_t saver = StartChildProcess(save, true);
        // Every other kill waits for the copy to appear, to land during the rewrite itself.
        for (int wait = 0; round % 2 == 1 && wait < 20000 && Copies().empty(); ++wait) {
            ::usleep(100);
        }
        const long span = round % 2 == 1 ? 3000 : static_cast<long>(whole);
        ::usleep(static_cast<useconds_t>(std::uniform_int_distribution<long>(0, span)(random)));
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
        const std::string now = ReadFile(file);
        const std::vector<std::string> copies = Copies();
        if (now != oldText && now != newText) {
            ++interrupted;
            ASSERT_EQ(copies.size(), 1U) << "a mixed file without its copy, round " << round;
        }
        copiesLeft += static_cast<int>(copies.size());
        for (const std::string& copy : copies) {
            const auto kept = ReadStateFile(copy);
            ASSERT_TRUE(kept.has_value());
            EXPECT_EQ(kept->Field(kCopyOfField), file);
            EXPECT_EQ(kept->Body, oldText);
            fs::remove(copy);
        }
        WriteFile(file, oldText);
    }
    std::cout << interrupted << " of " << kRounds << " kills left a mixed file, " << copiesLeft
              << " a copy (a whole save takes " << whole << " microseconds)\n";
    EXPECT_GT(copiesLeft, 0) << "no kill landed while a copy was kept: the test proves nothing";
}

TEST_F(InPlace, NoRoomForTheCopyRefusesTheSaveAndNamesTheFolders) {
    ::chmod(StateFolder().c_str(), 0555);
    const int result = RunUnprivileged([&] {
        FileReplacement replacement(file);
        if (!replacement.Write("new", 3) || replacement.Commit() ||
            !replacement.RefusedWithoutCopy()) {
            return 1;
        }
        const std::string message = replacement.ErrorText();
        return message.find(locked) != std::string::npos &&
                       message.find(StateFolder()) != std::string::npos
                   ? 0
                   : 2;
    });
    ::chmod(StateFolder().c_str(), 0777);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile(file), oldText);
    EXPECT_TRUE(Copies().empty());
}

TEST_F(Replacement, DanglingLinksAreWrittenThroughOrRefused) {
    fs::create_directory(folder.Path("sub"));
    const std::pair<const char*, const char*> links[] = {
        {"relative", "target.txt"}, {"sub/up", "../up.txt"},           {"chain", "chain2"},
        {"chain2", "end.txt"},      {"nowhere", "missing/target.txt"},
    };
    for (const auto& [link, pointsTo] : links) {
        fs::create_symlink(pointsTo, folder.Path(link));
    }
    const std::pair<const char*, const char*> cases[] = {{"relative", "target.txt"},
                                                         {"sub/up", "up.txt"},
                                                         {"chain", "end.txt"},
                                                         {"nowhere", nullptr}};
    for (const auto& [link, written] : cases) {
        SCOPED_TRACE(link);
        EXPECT_EQ(Save(folder.Path(link), "text"), written != nullptr);
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.Path(link))));
        if (written != nullptr) {
            EXPECT_EQ(ReadFile(folder.Path(written)), "text");
        }
    }
    FileReplacement refused(folder.Path("nowhere"));
    EXPECT_EQ(refused.Error(), ENOENT);
    EXPECT_FALSE(fs::exists(folder.Path("missing")));
}

TEST_F(Replacement, ASavedFileKeepsItsOwnerGroupAndPermissions) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another owner needs root";
    }
    WriteFile(book, std::string("old"));
    ASSERT_EQ(::chown(book.c_str(), 12345, 23456), 0);
    ::chmod(book.c_str(), 0640);
    ASSERT_TRUE(Save(book, "new"));
    struct stat after {};
    ::stat(book.c_str(), &after);
    EXPECT_EQ(after.st_uid, 12345U);
    EXPECT_EQ(after.st_gid, 23456U);
    EXPECT_EQ(after.st_mode & 07777, 0640U);
}

TEST(WholeFile, ReadsRegularFilesWholeAndNothingElse) {
    TempFolder folder;
    const std::string big(3 << 20, 'b');  // past any one read's size
    WriteFile(folder.Path("big"), big);
    WriteFile(folder.Path("empty"), "");
    ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
    for (const auto& [name, expected] :
         std::vector<std::pair<std::string, std::optional<std::string>>>{{"big", big},
                                                                         {"empty", ""},
                                                                         {"pipe", std::nullopt},
                                                                         {"missing", std::nullopt},
                                                                         {".", std::nullopt}}) {
        SCOPED_TRACE(name);
        const auto bytes = ReadWholeFile(folder.Path(name));  // a pipe must not block it
        ASSERT_EQ(bytes.has_value(), expected.has_value());
        if (bytes) {
            EXPECT_TRUE(std::string(bytes->begin(), bytes->end()) == *expected);
        }
    }
}

}  // namespace
}  // namespace tomery
