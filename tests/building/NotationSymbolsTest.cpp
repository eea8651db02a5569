// Notation symbols: a row of copies of a symbol file along the range, the last one cut at the
// range's end, facing the third click.

#include "LibraryFixtures.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/SelectionRecord.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kov::test;
namespace fs = std::filesystem;

namespace {

// One tile 100 wide and 50 high: two level lines, an upright, a diagonal, a circle and an ellipse.
void writeSymbol(const fs::path& file)
{
    Drawing()
        .add(line(0, 0, 100, 0))
        .add(line(0, 50, 100, 50))
        .add(line(50, 0, 50, 50))
        .add(line(0, 50, 100, 0))
        .add(figure(CKovLine::CIRCLE, {{80, 25}}, {10}))
        .add(figure(CKovLine::CIRCLE, {{20, 25}}, {10, 0.5}))
        .write(file);
}

struct Row {
    TempFolder temp;
    fs::path file = temp.file("obj_test.mgp");
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord sel;
    Row() { writeSymbol(file); }
    ~Row() { unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }
    int make(CDbPoint a, CDbPoint b, CDbPoint third, double height)
    {
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        return unit.CreateNotationSymbols(sel, plot, {a, b}, third, length, height, file);
    }
    const CKovGroup& group() const { return *unit.FindGroup(sel.m_Groups.at(0)); }
    std::vector<const CKovLine*> figures() const
    {
        std::vector<const CKovLine*> out;
        for (int id : group().MGrpLineID) out.push_back(unit.FindLine(id));
        return out;
    }
};

} // namespace

TEST(NotationSymbols, CopiesAlongTheRangeAndTheLastOneCut)
{
    struct Case {
        const char* name;
        double length, height;
        std::size_t figures;
        double maxX;  // of every point
        double maxY;
    };
    const Case cases[] = {
        // 3.5 widths: the first copy and three more, the circle of the fourth beyond the end gone.
        {"three and a half", 350, 50, 6 + 6 + 6 + 5, 350, 50},
        // Shorter than a symbol: one whole symbol, not cut.
        {"shorter", 80, 50, 6, 100, 50},
        // Exactly three widths: the last copy lies at the end; only what starts there stays.
        {"exactly three", 300, 50, 6 + 6 + 6 + 3, 300, 50},
        // Twice the height: scaled twice, 200 wide.
        {"scaled", 350, 100, 6 + 5, 350, 100},
    };
    for (const Case& c : cases) {
        Row r;
        ASSERT_EQ(r.make({0, 0}, {c.length, 0}, {100, 80}, c.height), 1) << c.name;
        EXPECT_EQ(r.sel.m_nCount, 1) << c.name;
        EXPECT_EQ(r.unit.m_Groups.GetSize(), 1) << c.name;
        const auto f = r.figures();
        EXPECT_EQ(f.size(), c.figures) << c.name;
        EXPECT_EQ(r.unit.m_Lines.GetSize(), static_cast<int>(c.figures)) << c.name;
        double maxX = 0, maxY = 0;
        for (const CKovLine* l : f)
            for (const CDbPoint& p : l->MLinePnt) {
                maxX = std::max(maxX, p.x);
                maxY = std::max(maxY, p.y);
            }
        EXPECT_NEAR(maxX, c.maxX, 1e-9) << c.name;
        EXPECT_NEAR(r.group().MGrpmax.y, c.maxY, 1e-9) << c.name;
    }
}

TEST(NotationSymbols, TheRowFacesTheThirdClick)
{
    struct Case {
        const char* name;
        CDbPoint a, b, third;
        CDbPoint min, max;     // the group's box (not checked when min equals max)
        std::vector<double> ellipse;
    };
    const double d = 250;
    const Case cases[] = {
        {"below", {0, 0}, {350, 0}, {100, 80}, {0, 0}, {350, 50}, {10, 0.5}},
        // Above: the row starts at the other end and is turned half a turn.
        {"above", {0, 0}, {350, 0}, {100, -80}, {0, -50}, {350, 0}, {10, 0.5}},
        // Along an upright line the ellipses' axes change places; at 45 degrees they do not.
        {"upright", {0, 0}, {0, 350}, {-80, 100}, {-50, 0}, {0, 350}, {5, 2}},
        {"oblique", {0, 0}, {d, -d}, {200, 0}, {}, {}, {10, 0.5}},
    };
    for (const Case& c : cases) {
        Row r;
        ASSERT_EQ(r.make(c.a, c.b, c.third, 50), 1) << c.name;
        const CKovGroup& g = r.group();
        EXPECT_EQ(r.figures()[5]->MLineParam, c.ellipse) << c.name;
        if (c.min == c.max) continue;
        EXPECT_NEAR(g.MGrpmin.x, c.min.x, 1) << c.name;
        EXPECT_NEAR(g.MGrpmin.y, c.min.y, 1) << c.name;
        EXPECT_NEAR(g.MGrpmax.x, c.max.x, 1) << c.name;
        EXPECT_NEAR(g.MGrpmax.y, c.max.y, 1) << c.name;
    }
}

TEST(NotationSymbols, AFailedRowLeavesNothing)
{
    Row r;
    // Over 500 copies: nothing made, nothing left behind.
    EXPECT_EQ(r.make({0, 0}, {50200, 0}, {100, 80}, 50), 0);
    EXPECT_TRUE(r.unit.m_Lines.empty() && r.unit.m_Groups.empty());
    EXPECT_TRUE(r.sel.IsEmpty());
    fs::remove(r.file);
    EXPECT_EQ(r.make({0, 0}, {350, 0}, {100, 80}, 50), 0);
    EXPECT_TRUE(r.unit.m_Lines.empty() && r.unit.m_Groups.empty());
    // A file with no group gives no row either.
    Drawing empty;
    empty.unit.m_Groups.RemoveAll();
    empty.unit.m_Lines.Add(line(0, 0, 100, 0));
    std::string error;
    ASSERT_TRUE(kov::building::WritePartFile(r.file, empty.unit, &error)) << error;
    EXPECT_EQ(r.make({0, 0}, {350, 0}, {100, 80}, 50), 0);
    EXPECT_TRUE(r.unit.m_Lines.empty());
}
