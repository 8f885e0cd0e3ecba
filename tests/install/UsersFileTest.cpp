// users.dat as the install command reads it: user records, the default user and the end
// marker scan, and damaged files.
#include "AutoInst.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tomery::install {
namespace {

struct User {
    std::uint16_t id;
    std::string name;
    std::string folder;
    std::string trailer = std::string("\x05\x01\x80", 3);  ///< bytes after the ignored one
};

/// A users.dat image; the last user's trailer is left out, as nothing after it is read.
std::string UsersDat(const std::vector<User>& users) {
    std::string bytes(1, static_cast<char>(users.size()));
    bytes += std::string(12, 'x');
    for (std::size_t i = 0; i < users.size(); ++i) {
        const User& user = users[i];
        bytes += static_cast<char>(user.id & 0xFF);
        bytes += static_cast<char>(user.id >> 8);
        bytes += "\x07\x07";
        bytes += static_cast<char>(user.name.size());
        bytes += user.name;
        bytes += static_cast<char>(user.folder.size());
        bytes += user.folder;
        bytes += '\x00';  // read and ignored
        if (i + 1 < users.size()) {
            bytes += user.trailer;
        }
    }
    return bytes;
}

TEST(UsersFile, ReadsEveryUserAndTakesTheLastMatchOfTheLastUserNameAsDefault) {
    const std::string three = UsersDat({{1, "Ann", "AnnF"}, {2, "Bob", "BobF"}, {3, "Cy", "CyF"}});
    struct Case {
        std::string bytes;
        const char* lastUser;
        std::int32_t defaultIndex;
    };
    const Case cases[] = {
        {three, "Cy", 2},
        {three, "Nobody", 0},
        {three, "cy", 0},  // names match byte for byte
        {UsersDat({{1, "Ann", "A"}, {2, "Bob", "B"}, {3, "Bob", "C"}, {4, "Di", "D"}}), "Bob", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseUsersFile(c.bytes, c.lastUser).defaultIndex, c.defaultIndex) << c.lastUser;
    }
    const TUsersFile read = ParseUsersFile(three, "");
    ASSERT_EQ(read.users.size(), 3u);
    EXPECT_EQ(read.users[1].id, 2);
    EXPECT_EQ(read.users[1].name, "Bob");
    EXPECT_EQ(read.users[2].folder, "CyF");
}

TEST(UsersFile, ReadsTheIdLittleEndianAndCutsLongFieldsTo31Bytes) {
    const TUsersFile read = ParseUsersFile(UsersDat({{0x1234, std::string(40, 'n'), "F"}}), "");
    EXPECT_EQ(read.users[0].id, 4660);
    EXPECT_EQ(read.users[0].name, std::string(31, 'n'));
    EXPECT_EQ(read.users[0].folder, "F");
}

TEST(UsersFile, PairsEveryOneWithTheByteAfterItWhileScanningForTheEndMarker) {
    // 01 01 80: the second 01 is the first one's partner, so the record goes on to the next
    // 01 80 that starts on a scanned byte.
    const std::string trailer = std::string("\x01\x01\x80\x02\x01\x80", 6);
    const TUsersFile read =
        ParseUsersFile(UsersDat({{1, "Ann", "A", trailer}, {2, "Bob", "B"}}), "");
    ASSERT_EQ(read.users.size(), 2u);
    EXPECT_EQ(read.users[1].name, "Bob");
}

TEST(UsersFile, RefusesEveryFileCutShortWithAMessageNamingTheUser) {
    const std::string whole = UsersDat({{1, "Ann", "A"}, {2, "Bob", "B"}});
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_THROW(ParseUsersFile(whole.substr(0, size), ""), EUsersFileError) << size;
    }
    try {
        ParseUsersFile(UsersDat({{1, "Ann", "A", "\x05\x05"}, {2, "Bob", "B"}}), "");
        FAIL() << "a user without its end marker was accepted";
    } catch (const EUsersFileError& error) {
        EXPECT_STREQ(error.what(), "user 1 of 2 has no end marker (01 80)");
    }
    EXPECT_TRUE(ParseUsersFile(std::string(13, '\0'), "").users.empty());
}

}  // namespace
}  // namespace tomery::install
