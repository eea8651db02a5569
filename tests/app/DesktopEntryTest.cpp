// The desktop entry and the MIME type that `cmake --install` puts in place, checked as the desktop's
// own tools read them.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path resourceFile(const std::string& name)
{
    return (kov::test::testData("") / ".." / ".." / "res" / name).lexically_normal();
}

std::string textOf(const fs::path& file)
{
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool haveTool(const char* name)
{
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

TEST(DesktopEntry, OpensKvrFilesThroughTheTypeTheMimeFileDeclares)
{
    const std::string desktop = textOf(resourceFile("kovira.desktop"));
    const std::string mime = textOf(resourceFile("kovira-mime.xml"));
    ASSERT_FALSE(desktop.empty());
    ASSERT_FALSE(mime.empty());

    std::smatch type;
    ASSERT_TRUE(std::regex_search(mime, type, std::regex("<mime-type type=\"([^\"]+)\"")));
    EXPECT_NE(mime.find("<glob pattern=\"*.kvr\"/>"), std::string::npos);
    EXPECT_TRUE(std::regex_search(desktop, std::regex("(^|\n)MimeType=([^\n]*;)?" + type[1].str() + ";")))
        << "the desktop entry must name " << type[1];
    // The file manager hands the chosen file over as the one argument.
    EXPECT_TRUE(std::regex_search(desktop, std::regex("(^|\n)Exec=kovira %[fF]\n")));
}

TEST(DesktopEntry, TheDesktopToolsAcceptBothFiles)
{
    if (haveTool("desktop-file-validate")) {
        EXPECT_EQ(std::system(("desktop-file-validate " + quoted(resourceFile("kovira.desktop"))).c_str()), 0);
    }
    if (!haveTool("update-mime-database")) GTEST_SKIP() << "shared-mime-info is not installed";
    kov::test::TempFolder temp;
    const fs::path packages = temp.path() / "mime" / "packages";
    fs::create_directories(packages);
    fs::copy_file(resourceFile("kovira-mime.xml"), packages / "kovira.xml");
    ASSERT_EQ(std::system(("update-mime-database " + quoted(temp.path() / "mime") + " >/dev/null 2>&1").c_str()), 0);
    EXPECT_NE(textOf(temp.path() / "mime" / "globs2").find("application/x-kovira:*.kvr"), std::string::npos);
}

} // namespace
