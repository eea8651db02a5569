// The library folders as the palettes list them, the names users may give, and the one index of
// fittings that the palette and the fitting tool share.

#include "building/PartLibrary.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

using namespace kov::test;
namespace kb = kov::building;
namespace fs = std::filesystem;

namespace {

void touch(const fs::path& file, int minutesAgo = 0)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
}

std::string repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

} // namespace

TEST(PartLibrary, NamesSortInTheLibrarysCodePage)
{
    std::vector<std::string> names = {"b", "ア", "A", "あ", "ｱ", "a", "10", "9"};
    kb::SortLibraryNames(names);
    // Digits, capitals, small letters, half-width kana (one byte), then hiragana before katakana.
    EXPECT_EQ(names, (std::vector<std::string>{"10", "9", "A", "a", "b", "ｱ", "あ", "ア"}));
    EXPECT_LT(kb::CompareLibraryNames("A", "a"), 0);
    EXPECT_EQ(kb::CompareLibraryNames("机", "机"), 0);
}

TEST(PartLibrary, PartFilesOfAFolder)
{
    TempFolder temp;
    for (const char* name : {"b.mgp", "a.mgp", "A.mgp", "c.MGP", "d.mgpx", "e.mgp.bak", "f.txt"}) touch(temp.file(name));
    fs::create_directories(temp.file("folder.mgp"));
    bool found = false;
    EXPECT_EQ(kb::ListPartNames(temp.path(), &found), (std::vector<std::string>{"A", "a", "b"}));
    EXPECT_TRUE(found);
    EXPECT_TRUE(kb::ListPartNames(temp.file("missing"), &found).empty());
    EXPECT_FALSE(found);

    fs::create_directories(temp.file("家具/椅子"));
    fs::create_directories(temp.file(".hidden"));
    fs::create_directories(temp.file("車"));
    EXPECT_EQ(kb::ListLibraryFolders(temp.path()), (std::vector<std::string>{"folder.mgp", "家具", "車"}));
    EXPECT_EQ(kb::ListLibraryFolders(temp.file("家具")), (std::vector<std::string>{"椅子"}));
}

TEST(PartLibrary, NamesThatCannotBeFileNames)
{
    using P = kb::LibraryNameProblem;
    struct Case {
        std::string name;
        P problem;
    };
    const Case cases[] = {
        {"ソファ", P::None},
        {"", P::Empty},
        {"a/b", P::Separator},
        {"a\\b", P::Separator},
        {"..", P::Dots},
        {".", P::Dots},
        {"a\tb", P::Control},
        {"a\nb", P::Control},
        {"\x7f", P::Control},
        {"a\xc2\x85", P::Control},          // U+0085
        {"\xf0\xa0\xae\xb7", P::NotCp932},  // a character the code page lacks
        {"\xff\xfe", P::NotCp932},          // no UTF-8
        {repeat("あ", 16), P::None},        // 32 bytes
        {repeat("あ", 17), P::TooLong},
        {repeat("x", 32), P::None},
        {repeat("x", 33), P::TooLong},
        {repeat("ｱ", 32), P::None},         // half-width kana: one byte each
        {"..a", P::None},
    };
    for (const Case& c : cases) EXPECT_EQ(kb::CheckLibraryName(c.name), c.problem) << c.name;
}

TEST(PartLibrary, OneIndexOfFittingsByNumber)
{
    TempFolder temp;
    const fs::path kind = kb::FittingKindFolder(temp.path(), 3);
    EXPECT_EQ(kind.filename(), "13");
    touch(kind / "11-Sliding.mgp", 60);
    touch(kind / "11-Old.mgp", 0);       // written later: it wins number 1
    touch(kind / "12-Wide.MGP", 5);      // any case of the extension
    touch(kind / "13.mgp", 5);           // no "-": number 3, shown by its whole short name
    touch(kind / "x14-a.mgp", 5);        // no number
    touch(kind / "9-a.mgp", 5);          // a number below 1
    touch(kind / "15-a.mgpx", 5);
    touch(kind / "17-b.mgp", 5);
    touch(kind / "17-a.mgp", 5);         // the same time: the first name in order wins
    fs::last_write_time(kind / "17-a.mgp", fs::last_write_time(kind / "17-b.mgp"));

    const std::vector<kb::FittingEntry> list = kb::ListFittings(kind);
    ASSERT_EQ(list.size(), 4u);
    std::vector<int> numbers;
    std::vector<std::string> labels;
    for (const auto& e : list) {
        numbers.push_back(e.number);
        labels.push_back(e.label);
    }
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 7}));
    EXPECT_EQ(labels, (std::vector<std::string>{"Old", "Wide", "13", "a"}));
    // The fitting tool finds exactly what the palette shows.
    for (const auto& e : list) EXPECT_EQ(kb::FindFittingFile(temp.path(), 3, e.number), e.path);
    EXPECT_TRUE(kb::FindFittingFile(temp.path(), 3, 4).empty());
    EXPECT_TRUE(kb::FindFittingFile(temp.path(), 5, 1).empty());
    EXPECT_TRUE(kb::FindFittingFile(temp.path(), 0, 1).empty());
    EXPECT_TRUE(kb::FindFittingFile({}, 3, 1).empty());
}
