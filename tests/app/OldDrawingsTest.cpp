#include "app/KoviraDoc.h"
#include "app/MergeDrawing.h"
#include "app/OldDrawings.h"

#include "DocumentTestSupport.h"
#include "platform/LhaFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

using namespace kov::app;
namespace fs = std::filesystem;

namespace {

// The bytes of a document holding figures starting at the given x values.
std::vector<std::uint8_t> documentBytes(std::vector<double> xs)
{
    kov::test::DocumentRig source;
    for (double x : xs) source.addLine(x, 0, x, 10);
    EXPECT_EQ(source.doc->WriteDocumentFile(source.file("d.kvr")), 1);
    return kov::test::fileBytes(source.file("d.kvr"));
}

std::set<fs::path> filesUnder(const fs::path& root)
{
    std::set<fs::path> out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file()) out.insert(it->path());
    return out;
}

TEST(OldDrawings, PackedDocumentsOpenFromMemoryWhateverTheMemberIsCalled)
{
    const auto document = documentBytes({7, 9});
    const char* names[] = {"kovlsav.qvt", "KOVLSAV.QVT", "drawing.dat", "../kovlsav.qvt", "/tmp/kovira-old-drawing.qvt",
                           "sub/../../kovlsav.qvt"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        kov::test::DocumentRig rig;
        InstallOldDrawingReader(*rig.doc);
        const fs::path packed = rig.file("work/old.kvr");
        fs::create_directories(packed.parent_path());
        kov::test::writeBytes(packed, kov::test::storedLhaArchive({{name, document}}));
        const auto before = filesUnder(rig.temp.path());

        const fs::path cwd = fs::current_path();
        fs::current_path(packed.parent_path());
        rig.questions.acknowledge(kOldPackedNotice);
        const bool opened = rig.doc->OpenDocumentFile(packed);
        fs::current_path(cwd);

        ASSERT_TRUE(opened);
        EXPECT_EQ(kov::test::lineStarts(rig.doc->m_Unit), (std::vector<double>{7, 9}));
        // Unpacking wrote nothing: no work file, nothing beside or above the archive.
        EXPECT_EQ(filesUnder(rig.temp.path()), before);
        EXPECT_FALSE(fs::exists("/tmp/kovira-old-drawing.qvt"));
    }
}

TEST(OldDrawings, CompressedArchiveMadeByTheLhaTool)
{
    if (std::system("command -v lha >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "the lha tool (jlha-utils) is not installed";
    kov::test::DocumentRig rig;
    InstallOldDrawingReader(*rig.doc);
    const fs::path work = rig.file("pack");
    fs::create_directories(work);
    kov::test::writeBytes(work / "kovlsav.qvt", documentBytes({1, 2, 3}));
    const std::string command = "cd '" + work.string() + "' && lha a old.lzh kovlsav.qvt >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(fs::exists(work / "old.lzh"));

    rig.questions.acknowledge(kOldPackedNotice);
    ASSERT_TRUE(rig.doc->OpenDocumentFile(work / "old.lzh"));
    EXPECT_EQ(kov::test::lineStarts(rig.doc->m_Unit), (std::vector<double>{1, 2, 3}));
}

TEST(OldDrawings, ArchivesWithoutAReadableDocumentFailToOpen)
{
    auto flipped = kov::test::storedLhaArchive({{"kovlsav.qvt", documentBytes({4})}});
    flipped[flipped.size() / 2] ^= 0x20;
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"no document inside", kov::test::storedLhaArchive({{"kovlsav.qvt", kov::test::bytesOf("plain text")}})},
        {"damaged member", flipped},
        {"neither archive nor document", kov::test::bytesOf("just some words")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kov::test::DocumentRig rig;
        InstallOldDrawingReader(*rig.doc);
        rig.addLine(42, 0, 42, 1);
        kov::test::writeBytes(rig.file("old.kvr"), c.bytes);
        rig.questions.reply(kov::platform::Answer::No); // the drawing open before is not saved
        rig.questions.acknowledge(kReadFailedMessage);
        EXPECT_FALSE(rig.doc->OpenDocumentFile(rig.file("old.kvr")));
        EXPECT_TRUE(rig.doc->GetPathName().empty());
    }
}

// The old program unpacked a merge to another fixed name than a document, so merging a packed
// document always failed; the document inside is found by its content.
TEST(OldDrawings, APackedDocumentCanBeMerged)
{
    kov::test::DocumentRig rig;
    rig.addLine(1, 0, 1, 1);
    kov::test::writeBytes(rig.file("old.kvr"), kov::test::storedLhaArchive({{"kovlsav.qvt", documentBytes({5, 6})}}));
    EXPECT_EQ(MergeDocumentFile(*rig.doc, rig.file("old.kvr")), 1);
    EXPECT_EQ(kov::test::lineStarts(rig.doc->m_Unit), (std::vector<double>{1, 5, 6}));
}

TEST(OldDrawings, TheExpectedMemberIsTakenFirstWhenItHoldsADocument)
{
    const auto first = documentBytes({1});
    const auto named = documentBytes({2});
    const auto both = kov::test::storedLhaArchive({{"a.kvr", first}, {"dir/KovLsav.kvr", named}});
    ASSERT_TRUE(UnpackOldDrawing(both, kOldMergeMember));
    EXPECT_EQ(*UnpackOldDrawing(both, kOldMergeMember), named);
    EXPECT_EQ(*UnpackOldDrawing(both, kOldDocumentMember), first);

    const auto namedButEmpty =
        kov::test::storedLhaArchive({{"kovlsav.kvr", kov::test::bytesOf("x")}, {"b.kvr", first}});
    EXPECT_EQ(*UnpackOldDrawing(namedButEmpty, kOldMergeMember), first);
    EXPECT_FALSE(UnpackOldDrawing(kov::test::bytesOf("KOVIRA-ARCHIVE 1\n"), kOldMergeMember));

    // A damaged member after the document does not cost the document.
    auto goodThenBad
        = kov::test::storedLhaArchive({{"kovlsav.qvt", first}, {"extra.txt", kov::test::bytesOf("abcdef")}});
    goodThenBad[goodThenBad.size() - 3] ^= 1;
    ASSERT_TRUE(UnpackOldDrawing(goodThenBad, kOldDocumentMember));
    EXPECT_EQ(*UnpackOldDrawing(goodThenBad, kOldDocumentMember), first);
}

} // namespace
