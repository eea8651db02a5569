// Copies of a drawing share their objects until one side changes: every change must reach only
// the side that made it, across chunk boundaries and through every structural operation.

#include "model/KovUnit.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using Lines = decltype(CKovUnit::m_Lines);

// 600 figures: more than two chunks, so operations cross chunk boundaries.
constexpr int kCount = 600;

Lines numbered()
{
    Lines lines;
    for (int i = 0; i < kCount; ++i) {
        auto line = std::make_unique<CKovLine>();
        line->MLineID = i + 2;
        line->MLinePnt = {{double(i), 0.0}};
        lines.Add(std::move(line));
    }
    return lines;
}

std::vector<int> ids(const Lines& lines)
{
    std::vector<int> out;
    for (const auto& line : lines)
        out.push_back(line->MLineID);
    return out;
}

std::vector<double> xs(const Lines& lines)
{
    std::vector<double> out;
    for (const auto& line : lines)
        out.push_back(line->MLinePnt.empty() ? -1.0 : line->MLinePnt[0].x);
    return out;
}

std::unique_ptr<CKovLine> lineWithId(int id)
{
    auto line = std::make_unique<CKovLine>();
    line->MLineID = id;
    return line;
}

TEST(SharedCopy, EveryChangeStaysOnTheSideThatMadeIt)
{
    struct Case {
        const char* name;
        std::function<void(Lines&)> change;
        std::function<void(std::vector<int>&)> expectedIds;
    };
    auto noIdChange = [](std::vector<int>&) {};
    const Case cases[] = {
        {"edit in place", [](Lines& a) { a[300]->MLinePnt[0].x = 9999; }, noIdChange},
        {"edit through find", [](Lines& a) { a.Find(257)->MLinePnt.clear(); }, noIdChange},
        {"append", [](Lines& a) { a.Add(lineWithId(5000)); }, [](auto& v) { v.push_back(5000); }},
        {"insert at a chunk edge", [](Lines& a) { a.InsertAt(256, lineWithId(5000)); },
         [](auto& v) { v.insert(v.begin() + 256, 5000); }},
        {"insert at the front", [](Lines& a) { a.InsertAt(0, lineWithId(5000)); },
         [](auto& v) { v.insert(v.begin(), 5000); }},
        {"delete in the middle", [](Lines& a) { a.DeleteAt(300); }, [](auto& v) { v.erase(v.begin() + 300); }},
        {"delete the last", [](Lines& a) { a.DeleteAt(kCount - 1); }, [](auto& v) { v.pop_back(); }},
        {"remove and keep", [](Lines& a) { EXPECT_EQ(a.RemoveAt(10)->MLineID, 12); },
         [](auto& v) { v.erase(v.begin() + 10); }},
        {"move forward", [](Lines& a) { a.MoveItem(3, 500); },
         [](auto& v) { const int x = v[3]; v.erase(v.begin() + 3); v.insert(v.begin() + 500, x); }},
        {"move back", [](Lines& a) { a.MoveItem(500, 3); },
         [](auto& v) { const int x = v[500]; v.erase(v.begin() + 500); v.insert(v.begin() + 3, x); }},
        {"swap across chunks", [](Lines& a) { a.Swap(1, 599); }, [](auto& v) { std::swap(v[1], v[599]); }},
        {"renumber", [](Lines& a) { a.Renumber(100, 7000); }, [](auto& v) { v[100] = 7000; }},
        {"change all", [](Lines& a) { a.ForEachMutable([](CKovLine& l) { l.MLinePnt.clear(); }); }, noIdChange},
        {"delete many in one pass",
         [](Lines& a) { EXPECT_EQ(a.DeleteIf([](const CKovLine& l) { return l.MLineID % 3 == 0 && l.MLineID > 250; }), 117); },
         [](auto& v) { std::erase_if(v, [](int id) { return id % 3 == 0 && id > 250; }); }},
        {"empty", [](Lines& a) { a.RemoveAll(); }, [](auto& v) { v.clear(); }},
    };
    const Lines original = numbered();
    const std::vector<int> originalIds = ids(original);
    const std::vector<double> originalXs = xs(original);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool changeTheCopy : {true, false}) {
            SCOPED_TRACE(changeTheCopy ? "change the copy" : "change the source");
            Lines source = original;
            Lines copy = source;
            Lines& changed = changeTheCopy ? copy : source;
            const Lines& kept = changeTheCopy ? source : copy;
            c.change(changed);
            EXPECT_EQ(ids(kept), originalIds);
            EXPECT_EQ(xs(kept), originalXs);
            std::vector<int> expected = originalIds;
            c.expectedIds(expected);
            EXPECT_EQ(ids(changed), expected);
            // The lookup of each side follows its own order.
            for (int id : {2, 12, 259, 601, 5000, 7000}) {
                const auto& v = ids(changed);
                const auto at = std::find(v.begin(), v.end(), id);
                EXPECT_EQ(changed.FindIndex(id), at == v.end() ? -1 : int(at - v.begin())) << id;
                EXPECT_EQ(kept.FindIndex(id), id >= 2 && id < kCount + 2 ? id - 2 : -1) << id;
            }
        }
    }
}

TEST(SharedCopy, AnEditInPlaceCopiesOneObjectAndLeavesTheRestShared)
{
    const Lines source = numbered();
    Lines copy = source;
    EXPECT_TRUE(copy.SharesAllWith(source));
    copy[300]->MLinePnt[0].x = 1;
    EXPECT_FALSE(copy.SharesAllWith(source));
    for (int i = 0; i < kCount; ++i)
        EXPECT_EQ(copy.SharesObjectWith(source, i), i != 300) << i;
    // Reading never copies.
    Lines reader = source;
    const Lines& constReader = reader;
    for (const auto& line : constReader)
        (void)line->MLineID;
    (void)constReader.Find(300);
    EXPECT_TRUE(reader.SharesAllWith(source));
}

TEST(SharedCopy, WholeDrawingCopiesCompareAsUnchangedUntilEdited)
{
    CKovUnit live;
    for (int i = 0; i < 3; ++i) {
        live.m_Lines.Add(lineWithId(live.NextLineId()));
        auto text = std::make_unique<CKovText>();
        text->MTextID = live.NextTextId();
        live.m_Texts.Add(std::move(text));
    }
    CKovUnit snapshot;
    snapshot.CopyFrom(live);
    EXPECT_TRUE(snapshot.SharesAllWith(live));
    live.NextWallId(); // a counter is part of the drawing
    EXPECT_FALSE(snapshot.SharesAllWith(live));
    snapshot.CopyFrom(live);
    live.FindText(3)->MTextstr = "x";
    EXPECT_FALSE(snapshot.SharesAllWith(live));
    EXPECT_EQ(snapshot.FindText(3)->MTextstr, "");
}

} // namespace
