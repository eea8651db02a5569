#include "platform/LhaArchive.h"
#include "platform/LhaFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kov::platform;
namespace fs = std::filesystem;

namespace {

std::string packedText()
{
    std::string s;
    char line[64];
    for (int i = 0; i < 200; ++i) {
        std::snprintf(line, sizeof line, "line %03d of the packed text\n", i);
        s += line;
    }
    return s;
}

std::string text(const std::vector<std::uint8_t>& b) { return std::string(b.begin(), b.end()); }

std::vector<std::uint8_t> fixture(const std::string& name)
{
    std::vector<std::uint8_t> bytes;
    FILE* f = std::fopen(kov::test::testData("lha/" + name).c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<std::uint8_t>(c));
    std::fclose(f);
    return bytes;
}

TEST(LhaArchive, CompressedMembersOfEveryHeaderLevelDecode)
{
    for (const char* name : {"text-level0.lzh", "text-level1.lzh", "text-level2.lzh"}) {
        SCOPED_TRACE(name);
        const LhaReadResult r = readLhaFile(kov::test::testData(std::string("lha/") + name));
        ASSERT_TRUE(r.ok()) << r.message;
        ASSERT_EQ(r.members.size(), 1u);
        EXPECT_EQ(r.members[0].path, "packed.txt");
        EXPECT_EQ(r.members[0].method, "-lh5-");
        EXPECT_EQ(text(r.members[0].bytes), packedText());
    }
}

TEST(LhaArchive, FoldersAreListedWithoutBytesAndTheirFilesKeepTheirPath)
{
    const LhaReadResult r = readLhaArchive(fixture("with-folder.lzh"));
    ASSERT_TRUE(r.ok()) << r.message;
    ASSERT_EQ(r.members.size(), 3u);
    EXPECT_EQ(r.members[0].path, "packed.txt");
    EXPECT_TRUE(r.members[1].directory);
    EXPECT_TRUE(r.members[1].bytes.empty());
    EXPECT_EQ(r.members[2].path, "sub/inner.txt");
    EXPECT_EQ(text(r.members[2].bytes), "inside the folder\n");
}

TEST(LhaArchive, HostileMemberNamesAreReadIntoMemoryAndWriteNothing)
{
    kov::test::TempFolder work;
    const fs::path before = fs::current_path();
    fs::current_path(work.path());
    const LhaReadResult r = readLhaFile(kov::test::testData("lha/hostile-names.lzh"));
    fs::current_path(before);

    ASSERT_TRUE(r.ok()) << r.message;
    ASSERT_EQ(r.members.size(), 4u);
    for (const auto& m : r.members) EXPECT_EQ(text(m.bytes), "inside the folder\n") << m.path;
    // Reading wrote no file anywhere: not in the working folder, not beside it, not at the absolute name.
    EXPECT_TRUE(fs::is_empty(work.path()));
    EXPECT_FALSE(fs::exists(work.path().parent_path() / "escape.txt"));
    EXPECT_FALSE(fs::exists("/tmp/kovira-lha-absolute.txt"));
    // Whatever the reader hands back, a member gets no place outside the folder it would go to.
    const fs::path folder = work.path() / "unpack";
    int refused = 0;
    for (const auto& m : r.members) {
        const auto relative = safeMemberPath(m.path);
        if (!relative) {
            ++refused;
            continue;
        }
        const fs::path target = (folder / *relative).lexically_normal();
        EXPECT_EQ(target.lexically_relative(folder).begin()->string().rfind("..", 0), std::string::npos) << m.path;
    }
    EXPECT_GE(refused, 1) << "the absolute name is refused";
    EXPECT_FALSE(safeMemberPath(r.members[1].path).has_value());
    EXPECT_EQ(safeMemberPath(r.members[3].path)->string(), "inside.txt");
}

TEST(LhaArchive, MemberPathsOnlyEverNameAPlaceInsideTheFolder)
{
    struct Case {
        const char* name;
        const char* stored;
        const char* expected; // nullptr: refused
    };
    const Case cases[] = {
        {"plain name", "kovlsav.qvt", "kovlsav.qvt"},
        {"sub-folder", "sub/inner.txt", "sub/inner.txt"},
        {"dot segments are dropped", "./a/./b", "a/b"},
        {"backslash separated", "sub\\inner.txt", "sub/inner.txt"},
        {"parent", "../x", nullptr},
        {"parent deeper", "a/../../x", nullptr},
        {"parent after backslash", "a\\..\\x", nullptr},
        {"absolute", "/etc/x", nullptr},
        {"absolute backslash", "\\x", nullptr},
        {"drive letter", "C:x", nullptr},
        {"empty", "", nullptr},
        {"only separators", "//", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto p = safeMemberPath(c.stored);
        if (!c.expected) {
            EXPECT_FALSE(p.has_value()) << p->string();
        } else {
            ASSERT_TRUE(p.has_value());
            EXPECT_EQ(p->generic_string(), c.expected);
        }
    }
}

TEST(LhaArchive, DamagedOrForeignBytesAreRefusedWithAReason)
{
    const std::vector<std::uint8_t> good = fixture("text-level1.lzh");
    ASSERT_FALSE(good.empty());
    std::vector<std::uint8_t> flipped = good;
    flipped[good.size() / 2] ^= 0x5A;
    const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    std::vector<std::uint8_t> storedBadCrc = kov::test::storedLhaArchive({{"a.txt", kov::test::bytesOf("abcdef")}});
    storedBadCrc[storedBadCrc.size() - 3] ^= 1; // a data byte

    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::vector<LhaErrc> accepted;
    };
    const Case cases[] = {
        {"empty", {}, {LhaErrc::NotArchive}},
        {"text", kov::test::bytesOf("KOVIRA-ARCHIVE 1\n{KOVDATA\n"), {LhaErrc::NotArchive}},
        {"flipped compressed byte", flipped, {LhaErrc::BadCrc, LhaErrc::Damaged}},
        {"cut in half", cut, {LhaErrc::Damaged, LhaErrc::BadCrc}},
        {"stored byte changed", storedBadCrc, {LhaErrc::BadCrc}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LhaReadResult r = readLhaArchive(c.bytes);
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.message.empty());
        EXPECT_NE(std::find(c.accepted.begin(), c.accepted.end(), r.error), c.accepted.end())
            << static_cast<int>(r.error) << " " << r.message;
    }
}

TEST(LhaArchive, LimitsStopOversizedArchivesBeforeTheyAreDecoded)
{
    const auto two
        = kov::test::storedLhaArchive({{"a", kov::test::bytesOf("0123456789")}, {"b", kov::test::bytesOf("x")}});

    LhaLimits small;
    small.maxMemberSize = 5;
    EXPECT_EQ(readLhaArchive(two, small).error, LhaErrc::TooLarge);

    LhaLimits oneMember;
    oneMember.maxMembers = 1;
    const LhaReadResult r = readLhaArchive(two, oneMember);
    EXPECT_EQ(r.error, LhaErrc::TooManyMembers);
    EXPECT_EQ(r.members.size(), 1u) << "what was read before the fault stays";

    LhaLimits total;
    total.maxTotalSize = 10;
    EXPECT_EQ(readLhaArchive(two, total).error, LhaErrc::TooLarge);

    // A header that announces 4 GiB over a few real bytes is refused, not allocated.
    const auto huge = kov::test::storedLhaArchive({{"a", kov::test::bytesOf("abc"), 0xFFFFFFF0u}});
    EXPECT_EQ(readLhaArchive(huge).error, LhaErrc::TooLarge);
}

TEST(LhaArchive, MissingFileAndKnownChecksum)
{
    kov::test::TempFolder temp;
    EXPECT_EQ(readLhaFile(temp.file("none.lzh")).error, LhaErrc::CannotRead);
    const std::string check = "123456789";
    EXPECT_EQ(lhaCrc16(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0xBB3D);
}

} // namespace
