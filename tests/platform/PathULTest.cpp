#include "platform/PathUL.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

TEST(PathUL, ModuleFileNameIsThisProgram)
{
    const std::string exe = CPathUL::GetModuleFileNameA();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.front(), '/');
    EXPECT_TRUE(std::filesystem::is_regular_file(exe));
    EXPECT_EQ(std::filesystem::path(exe).filename(), "kov_platform_tests");
}

TEST(PathUL, LastSeparatePathIsTheFolder)
{
    struct Case { const char* path; const char* folder; };
    const Case cases[] = {
        {"/usr/bin/kovira", "/usr/bin"},
        {"/home/u/data/", "/home/u/data"},
        {"/kovira", "/"},
        {"kovira", ""},
        {"", ""},
        {"a/b", "a"},
        {"/home/u/部品/窓.mgp", "/home/u/部品"},
    };
    for (const auto& c : cases) EXPECT_EQ(CPathUL::GetLastSeparatePath(c.path), c.folder) << c.path;
}

TEST(PathUL, MixPathJoinsWithExactlyOneSlash)
{
    struct Case { const char* folder; const char* name; const char* joined; };
    const Case cases[] = {
        {"/opt/kovira", "data", "/opt/kovira/data"},
        {"/opt/kovira/", "data", "/opt/kovira/data"},
        {"/opt/kovira//", "data", "/opt/kovira/data"},
        {"/opt/kovira", "/kovtex.txt", "/opt/kovira/kovtex.txt"},
        {"/", "Tmps", "/Tmps"},
        {"rel", "x/y.mgp", "rel/x/y.mgp"},
        {"/共通", "kovroom.txt", "/共通/kovroom.txt"},
        // No folder: the bare name, never a file in the root folder.
        {"", "kovtex.txt", "kovtex.txt"},
        {"/opt/kovira", "", "/opt/kovira/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPathUL::MixPath(c.folder, c.name), c.joined) << '"' << c.folder << "\" + \"" << c.name << '"';
}

TEST(PathUL, CreateMultiDirectoryMakesParentsAndAcceptsExistingFolders)
{
    kov::test::TempFolder temp;
    const std::string deep = (temp.path() / "a" / "b" / "部品").string();
    EXPECT_EQ(CPathUL::CreateMultiDirectory(deep), 1);
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_EQ(CPathUL::CreateMultiDirectory(deep), 1);
    EXPECT_EQ(CPathUL::CreateMultiDirectory(deep + "/"), 1);

    std::ofstream(temp.file("file")) << "x";
    EXPECT_EQ(CPathUL::CreateMultiDirectory(temp.file("file").string()), 0);
    EXPECT_EQ(CPathUL::CreateMultiDirectory((temp.file("file") / "below").string()), 0);
    EXPECT_EQ(CPathUL::CreateMultiDirectory(""), 0);
}

TEST(PathUL, CompanyKeyIsFixed)
{
    EXPECT_STREQ(CULReg::GetCompanyKey(), "KoviraSoft");
}

} // namespace
