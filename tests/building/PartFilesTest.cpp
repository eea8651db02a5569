// Part files: read whole or not at all, inserted as the drawing's last group on the editing layer,
// written without harming the old file.

#include "LibraryFixtures.h"

#include "building/PartFiles.h"
#include "model/DefFile.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

using namespace kov::test;
namespace kb = kov::building;
namespace fs = std::filesystem;

namespace {

std::vector<char> bytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& file, const std::vector<char>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A part with a line, a wall and a text, a loose figure and a second group.
void writeSofa(const fs::path& file)
{
    Drawing d;
    d.add(rect(0, 0, 600, 300)).add(line(0, 300, 600, 0)).text(10, 20, 2.5, "ソファ");
    auto wall = std::make_unique<CKovWall>();
    wall->MWallID = d.unit.NextWallId();
    wall->MWallPntA = {0, 0};
    wall->MWallPntB = {600, 0};
    wall->MWallGrpID = 1;
    d.unit.m_Groups[0]->MGrpWallID.push_back(wall->MWallID);
    d.unit.m_Walls.Add(std::move(wall));
    auto loose = line(0, 0, 1, 1);
    loose->MLineID = d.unit.NextLineId();
    d.unit.m_Lines.Add(std::move(loose));
    auto other = std::make_unique<CKovGroup>();
    other->MGrpID = 9;
    d.unit.m_Groups.Add(std::move(other));
    d.write(file);
}

} // namespace

TEST(PartFiles, InsertedAsTheLastGroupOnTheEditingLayer)
{
    TempFolder temp;
    const fs::path file = temp.file("ソファ.mgp");
    writeSofa(file);

    CKovUnit target;
    auto existing = std::make_unique<CKovGroup>();
    existing->MGrpID = target.NextGroupId();
    target.m_Groups.Add(std::move(existing));
    CPlotInfo plot;
    plot.m_Layer.m_nCurrentGroup = 3;
    plot.m_Layer.m_nCurrentLayer = 7;
    plot.m_Layer.m_dScale[3] = 50;

    const int id = kb::InsertPartFile(file, target, plot);
    ASSERT_NE(id, 0);
    ASSERT_EQ(target.m_Groups.GetSize(), 2);
    const CKovGroup& g = *std::as_const(target).m_Groups[1];
    EXPECT_EQ(g.MGrpID, id);
    EXPECT_EQ(g.MGrpLayer1, 3);
    EXPECT_EQ(g.MGrpLayer2, 7);
    // Only the group's members come: not the loose figure, not the second group.
    ASSERT_EQ(g.MGrpLineID.size(), 2u);
    EXPECT_EQ(target.m_Lines.GetSize(), 2);
    EXPECT_EQ(target.m_Walls.GetSize(), 1);
    ASSERT_EQ(g.MGrpTextID.size(), 1u);
    const CKovLine& first = *target.FindLine(g.MGrpLineID[0]);
    EXPECT_EQ(first.MLineType, CKovLine::RECTANGLE);
    EXPECT_EQ(first.MLineGrpID, id);
    EXPECT_EQ(first.MLineLayer1, 3);
    EXPECT_EQ(target.FindWall(g.MGrpWallID[0])->MWallGrpID, id);
    // A text drawn for 1:100 keeps its size against the part at 1:50.
    const CKovText& t = *target.FindText(g.MGrpTextID[0]);
    EXPECT_DOUBLE_EQ(t.MTextFontMenu.m_size, 5.0);
    EXPECT_EQ(t.MTextstr, "ソファ");
    EXPECT_EQ(t.MTextLayer2, 7);
    target.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

TEST(PartFiles, ReadWholeOrNotAtAll)
{
    TempFolder temp;
    const fs::path good = temp.file("good.mgp");
    writeSofa(good);
    const std::vector<char> bytes = bytesOf(good);

    // An archive of ours without the part block.
    const fs::path other = temp.file("other.mgp");
    {
        auto ar = CArchive::forWritingFile(other);
        CDefFile w;
        w.WriteStart(*ar, "SOMETHING");
        w.WriteData(*ar, "a", "1");
        w.WriteEnd(*ar, "SOMETHING");
        ASSERT_TRUE(ar->commitTo(other));
    }
    const fs::path cut = temp.file("cut.mgp");
    writeBytes(cut, std::vector<char>(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() * 2 / 3)));
    const fs::path flipped = temp.file("flipped.mgp");
    std::vector<char> changed = bytes;
    changed[changed.size() / 2] ^= 0x01;
    writeBytes(flipped, changed);
    const fs::path garbage = temp.file("garbage.mgp");
    writeBytes(garbage, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'a', 'r', 't'});

    struct Case {
        const char* name;
        fs::path file;
        kb::PartRead read;
    };
    const Case cases[] = {
        {"whole", good, kb::PartRead::Read},
        {"missing", temp.file("missing.mgp"), kb::PartRead::Failed},
        {"a folder", temp.path(), kb::PartRead::Failed},
        {"no part block", other, kb::PartRead::NotPartFile},
        {"cut short", cut, kb::PartRead::Failed},
        {"one bit changed", flipped, kb::PartRead::Failed},
        {"not an archive", garbage, kb::PartRead::Failed},
    };
    for (const Case& c : cases) {
        CKovUnit part;
        std::string error;
        EXPECT_EQ(kb::ReadPartFile(c.file, part, &error), c.read) << c.name;
        if (c.read == kb::PartRead::Read) {
            EXPECT_EQ(part.m_Groups.GetSize(), 2) << c.name;
        } else {
            EXPECT_TRUE(part.m_Groups.empty() && part.m_Lines.empty()) << c.name;
        }
        if (c.read == kb::PartRead::Failed) {
            EXPECT_FALSE(error.empty()) << c.name;
        }
        // Nothing is inserted from a file that is not read whole.
        CKovUnit target;
        CPlotInfo plot;
        EXPECT_EQ(kb::InsertPartFile(c.file, target, plot) != 0, c.read == kb::PartRead::Read) << c.name;
        if (c.read != kb::PartRead::Read) {
            EXPECT_TRUE(target.m_Lines.empty()) << c.name;
        }
        part.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
        target.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    }
}

TEST(PartFiles, PicturesInAPartAreLeftInTheFile)
{
    TempFolder temp;
    const fs::path file = temp.file("picture.mgp");
    {
        Drawing d;
        d.add(rect(0, 0, 10, 10));
        auto ar = CArchive::forWritingFile(file);
        CDefFile w;
        ASSERT_TRUE(w.WriteStart(*ar, "KOVDATA") && w.WriteStart(*ar, "KovUnit"));
        ASSERT_TRUE(w.WriteStart(*ar, "BLK_UnitImage") && w.WriteDataInt(*ar, "ImageID", 1));
        ASSERT_TRUE(ar->WriteRaw(std::vector<std::uint8_t>{'B', 'M', 1, 2, 3}));
        ASSERT_TRUE(w.WriteEnd(*ar, "BLK_UnitImage"));
        ASSERT_TRUE(std::as_const(d.unit).m_Lines[0]->WriteLineBlock(*ar, "BLK_UnitLine"));
        ASSERT_TRUE(std::as_const(d.unit).m_Groups[0]->WriteGroupBlock(*ar, "BLK_UnitGrp"));
        ASSERT_TRUE(w.WriteEnd(*ar, "KovUnit") && w.WriteEnd(*ar, "KOVDATA"));
        ASSERT_TRUE(ar->commitTo(file));
    }
    const auto filesBefore = std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator());
    CKovUnit part;
    EXPECT_EQ(kb::ReadPartFile(file, part), kb::PartRead::Read);
    EXPECT_TRUE(part.m_Images.empty());
    EXPECT_EQ(part.m_Lines.GetSize(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), filesBefore);
    part.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

TEST(PartFiles, AFailedSaveLeavesTheOldFile)
{
    TempFolder temp;
    const fs::path file = temp.file("part.mgp");
    writeSofa(file);
    const std::vector<char> before = bytesOf(file);
    fs::permissions(file, fs::perms::owner_read, fs::perm_options::replace);
    Drawing d;
    d.add(line(0, 0, 5, 5));
    std::string error;
    EXPECT_FALSE(kb::WritePartFile(file, d.unit, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(bytesOf(file), before);
    // Into a folder that is not there: refused, nothing made.
    EXPECT_FALSE(kb::WritePartFile(temp.file("nowhere/part.mgp"), d.unit, &error));
    EXPECT_FALSE(fs::exists(temp.file("nowhere")));
    fs::permissions(file, fs::perms::owner_all, fs::perm_options::replace);
}

TEST(PartFiles, TheCacheReadsAFileOnceUntilItChanges)
{
    TempFolder temp;
    const fs::path file = temp.file("p.mgp");
    Drawing().add(line(0, 0, 10, 0)).write(file);
    kb::PartFileCache cache;
    const CKovUnit* first = cache.Get(file);
    ASSERT_TRUE(first);
    EXPECT_EQ(cache.Get(file), first);
    EXPECT_EQ(first->m_Lines.GetSize(), 1);
    Drawing().add(line(0, 0, 10, 0)).add(line(0, 0, 0, 10)).add(line(1, 1, 2, 2)).write(file);
    const CKovUnit* again = cache.Get(file);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->m_Lines.GetSize(), 3);
    fs::remove(file);
    EXPECT_EQ(cache.Get(file), nullptr);
}
