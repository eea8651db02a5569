// Every file of the library the program ships, against the rules the program relies on, and the
// shipped copy against what the library's sources make now.

#include "building/Fittings.h"
#include "building/PartFiles.h"
#include "building/PartLibrary.h"
#include "model/Geometry.h"
#include "model/KovUnit.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace kb = kov::building;
namespace fs = std::filesystem;

namespace {

const fs::path kShipped = KOVIRA_LIBRARY_DATA;
const fs::path kMade = KOVIRA_LIBRARY_MADE;

// Every part file below a folder, relative to it.
std::set<fs::path> partFiles(const fs::path& root)
{
    std::set<fs::path> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator(); ++it)
        if (it->is_regular_file() && it->path().extension() == ".mgp") files.insert(it->path().lexically_relative(root));
    return files;
}

std::string bytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The drawing of a file, read whole, with what every library drawing must be: one group first, its
// members all there, a box that covers them.
struct Part {
    CKovUnit unit;
    explicit Part(const fs::path& file)
    {
        std::string error;
        EXPECT_EQ(kb::ReadPartFile(file, unit, &error), kb::PartRead::Read) << file << ": " << error;
    }
    ~Part() { unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }
    const CKovGroup* group() const { return unit.m_Groups.empty() ? nullptr : unit.m_Groups[0]; }
    std::vector<const CKovLine*> figures() const
    {
        std::vector<const CKovLine*> out;
        for (int id : group()->MGrpLineID) out.push_back(unit.FindLine(id));
        return out;
    }
};

void checkCommon(const fs::path& file, const Part& p)
{
    ASSERT_TRUE(p.group()) << file;
    EXPECT_EQ(p.unit.m_Groups.GetSize(), 1) << file;
    EXPECT_EQ(p.unit.m_Lines.GetSize(), static_cast<int>(p.group()->MGrpLineID.size())) << file << ": loose figures";
    for (const CKovLine* f : p.figures()) ASSERT_TRUE(f) << file << ": a member that is not there";
    EXPECT_FALSE(p.figures().empty()) << file;
    CKovGroup box = *p.group();
    p.unit.UpdateGroupBounds(box);
    EXPECT_EQ(box.MGrpmin, p.group()->MGrpmin) << file;
    EXPECT_EQ(box.MGrpmax, p.group()->MGrpmax) << file;
    EXPECT_EQ(kb::CheckLibraryName(file.stem().string()), kb::LibraryNameProblem::None) << file;
}

bool isPocket(int kind, int number)
{
    return (kind == 1 && (number == 12 || number == 13 || number == 14 || number == 17 || number == 18 || number == 19))
           || (kind == 8 && (number == 11 || number == 12));
}

} // namespace

TEST(Library, TheShippedCopyIsWhatTheSourcesMake)
{
    const std::set<fs::path> made = partFiles(kMade);
    ASSERT_FALSE(made.empty());
    EXPECT_EQ(partFiles(kShipped), made) << "refresh data/ with kov_make_library (see library/MakeLibrary.cpp)";
    for (const fs::path& f : made) EXPECT_EQ(bytesOf(kShipped / f), bytesOf(kMade / f)) << f;
}

TEST(Library, PlanFittings)
{
    const fs::path root = kShipped / "tateg";
    for (int kind = 1; kind <= kb::kFittingKinds; ++kind) {
        const fs::path folder = kb::FittingKindFolder(root, kind);
        ASSERT_TRUE(fs::is_directory(folder)) << folder;
        const std::vector<kb::FittingEntry> list = kb::ListFittings(folder);
        ASSERT_FALSE(list.empty()) << folder;
        // Every file has its own number, from 1 without gaps, and a name to show.
        EXPECT_EQ(list.size(), std::distance(fs::directory_iterator(folder), fs::directory_iterator())) << folder;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const kb::FittingEntry& e = list[i];
            EXPECT_EQ(e.number, static_cast<int>(i) + 1) << e.path;
            EXPECT_FALSE(e.label.empty()) << e.path;
            Part p(e.path);
            checkCommon(e.path, p);
            const auto figures = p.figures();
            // The first figure is the frame: a rectangle P0 top-left, P1 bottom-left, P2 bottom-right,
            // P3 top-right, 100 deep, white, so that it hides the wall.
            const CKovLine& frame = *figures[0];
            ASSERT_EQ(frame.MLineType, CKovLine::RECTANGLE) << e.path;
            const auto& q = frame.MLinePnt;
            ASSERT_EQ(q.size(), 4u) << e.path;
            EXPECT_EQ(q[0], CDbPoint(0, 0)) << e.path;
            EXPECT_EQ(q[1], CDbPoint(0, 100)) << e.path;
            EXPECT_EQ(q[2].y, 100) << e.path;
            EXPECT_EQ(q[3].y, 0) << e.path;
            EXPECT_EQ(q[2].x, q[3].x) << e.path;
            EXPECT_GT(q[3].x, 0) << e.path;
            EXPECT_EQ(frame.MLineColor, 0xFFFFFFu) << e.path;
            // Further rectangles are wall pockets, and only pocket fittings have them.
            int rectangles = 0, arcs = 0, jambs = 0;
            for (std::size_t k = 1; k < figures.size(); ++k) {
                const CKovLine& f = *figures[k];
                rectangles += f.MLineType == CKovLine::RECTANGLE;
                arcs += f.MLineType == CKovLine::ARC;
                if (f.MLineType == CKovLine::LINE && f.MLinePnt[0].x == f.MLinePnt[1].x
                    && std::min(f.MLinePnt[0].y, f.MLinePnt[1].y) <= 0 && std::max(f.MLinePnt[0].y, f.MLinePnt[1].y) >= 100)
                    ++jambs;
                // Everything stays within the width; what opens goes to +y (a bow's centre lies far
                // inside the room, the only point that may).
                if (f.MLineType == CKovLine::ARC && kind == 8) continue;
                for (const CDbPoint& pt : f.MLinePnt) {
                    EXPECT_GE(pt.x, -1e-9) << e.path;
                    EXPECT_LE(pt.x, q[3].x + 1e-9) << e.path;
                    EXPECT_GE(pt.y, -1e-9) << e.path;
                }
            }
            EXPECT_EQ(rectangles, isPocket(kind, e.number) ? 1 : 0) << e.path;
            if (kind == 1 || kind == 3 || kind == 5 || kind == 9) {
                EXPECT_EQ(jambs, 2) << e.path << ": jambs";
            }
            if (kind == 2 || kind == 4) {
                EXPECT_GE(arcs, 1) << e.path << ": door swings";
            }
            for (const CKovLine* f : figures) {
                if (f->MLineType == CKovLine::ARC && kind != 8) {
                    EXPECT_GE(f->MLinePnt[0].y, 100) << e.path << ": a swing inside the wall";
                }
            }
            // Its elevation drawing: the same kind and number, the same width.
            const fs::path elevation = kb::FindElevationFittingFile(kShipped / "ritutateg", kind, e.number);
            ASSERT_FALSE(elevation.empty()) << e.path;
            Part ep(elevation);
            checkCommon(elevation, ep);
            const CKovLine& eframe = *ep.figures()[0];
            ASSERT_EQ(eframe.MLineType, CKovLine::RECTANGLE) << elevation;
            EXPECT_EQ(eframe.MLinePnt[3].x - eframe.MLinePnt[0].x, q[3].x) << elevation;
            EXPECT_GT(eframe.MLinePnt[1].y - eframe.MLinePnt[0].y, 0) << elevation;
        }
    }
    // The numbers the placement rules name exist: sliding fittings to 19, bay windows to 12.
    EXPECT_EQ(kb::ListFittings(kb::FittingKindFolder(root, 1)).size(), 19u);
    EXPECT_EQ(kb::ListFittings(kb::FittingKindFolder(root, 8)).size(), 12u);
    EXPECT_GE(kb::ListFittings(kb::FittingKindFolder(root, 3)).size(), 8u);
    EXPECT_EQ(partFiles(kShipped / "ritutateg").size(), partFiles(root).size());
}

TEST(Library, NotationSymbols)
{
    const char* files[] = {"obj_ziban.mgp", "obj_sekizai.mgp", "obj_wariguri.mgp", "obj_jyari.mgp",
                           "obj_hoon.mgp",  "obj_dannnetu.mgp", "obj_tatami.mgp",  "obj_concri.mgp",
                           "obj_keiryou.mgp", "obj_block.mgp",  "obj_kesyou.mgp"};
    EXPECT_EQ(partFiles(kShipped / "hyouki").size(), std::size(files));
    for (const char* name : files) {
        const fs::path file = kShipped / "hyouki" / name;
        Part p(file);
        checkCommon(file, p);
        // One tile from the origin, of lines of two points and circles, which the row can cut.
        EXPECT_EQ(p.group()->MGrpmin, CDbPoint(0, 0)) << file;
        EXPECT_GT(p.group()->MGrpmax.x, 0) << file;
        EXPECT_GT(p.group()->MGrpmax.y, 0) << file;
        for (const CKovLine* f : p.figures()) {
            const bool cuttable = (f->MLineType == CKovLine::LINE && f->MLinePnt.size() == 2)
                                  || (f->MLineType == CKovLine::CIRCLE && f->MLineParam.size() == 1);
            EXPECT_TRUE(cuttable) << file;
        }
        EXPECT_TRUE(p.unit.m_Texts.empty() && p.unit.m_Walls.empty()) << file;
    }
}

TEST(Library, Parts)
{
    const fs::path root = kShipped / "data";
    const std::vector<std::string> folders = kb::ListLibraryFolders(root);
    EXPECT_EQ(std::set<std::string>(folders.begin(), folders.end()),
              (std::set<std::string>{"家具", "衛生機器", "キッチン", "車", "植栽"}));
    std::size_t parts = 0;
    for (const std::string& folder : folders) {
        EXPECT_EQ(kb::CheckLibraryName(folder), kb::LibraryNameProblem::None) << folder;
        for (const std::string& name : kb::ListPartNames(root / folder)) {
            const fs::path file = root / folder / (name + ".mgp");
            Part p(file);
            checkCommon(file, p);
            // Measured from the origin, as the thumbnails and the pointer anchor do.
            EXPECT_EQ(p.group()->MGrpmin, CDbPoint(0, 0)) << file;
            EXPECT_GT(p.group()->MGrpmax.x, 0) << file;
            EXPECT_GT(p.group()->MGrpmax.y, 0) << file;
            ++parts;
        }
    }
    EXPECT_GE(parts, 20u);
}
