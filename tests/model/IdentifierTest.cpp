#include "model/IdentifierBatch.h"
#include "model/KovUnit.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

enum class Kind { Group, Line, Wall, Text, Image };

void addObject(CKovUnit& unit, Kind kind, int id)
{
    switch (kind) {
    case Kind::Group: {
        auto o = std::make_unique<CKovGroup>();
        o->MGrpID = id;
        unit.m_Groups.Add(std::move(o));
        break;
    }
    case Kind::Line: {
        auto o = std::make_unique<CKovLine>();
        o->MLineID = id;
        unit.m_Lines.Add(std::move(o));
        break;
    }
    case Kind::Wall: {
        auto o = std::make_unique<CKovWall>();
        o->MWallID = id;
        unit.m_Walls.Add(std::move(o));
        break;
    }
    case Kind::Text: {
        auto o = std::make_unique<CKovText>();
        o->MTextID = id;
        unit.m_Texts.Add(std::move(o));
        break;
    }
    case Kind::Image: {
        auto o = std::make_unique<CKovImage>();
        o->ImageID = id;
        unit.m_Images.Add(std::move(o));
        break;
    }
    }
}

int& counterOf(CKovUnit& unit, Kind kind)
{
    switch (kind) {
    case Kind::Group: return unit.MUnitGrpID;
    case Kind::Line: return unit.MUnitLineID;
    case Kind::Wall: return unit.MUnitWallID;
    case Kind::Text: return unit.MUnitTextID;
    case Kind::Image: return unit.MUnitImageID;
    }
    return unit.MUnitGrpID;
}

int nextId(CKovUnit& unit, Kind kind)
{
    switch (kind) {
    case Kind::Group: return unit.NextGroupId();
    case Kind::Line: return unit.NextLineId();
    case Kind::Wall: return unit.NextWallId();
    case Kind::Text: return unit.NextTextId();
    case Kind::Image: return unit.NextImageId();
    }
    return -1;
}

struct AllocationCase {
    std::string name;
    Kind kind;
    int counter;
    std::vector<int> inUse;
    int expected;         // identifier handed out, and the counter afterwards
};

// first..last and the extra identifiers.
std::vector<int> idsFrom(int first, int last, std::vector<int> extra)
{
    for (int id = first; id <= last; ++id)
        extra.push_back(id);
    return extra;
}

void PrintTo(const AllocationCase& c, std::ostream* os) { *os << c.name; }

class IdentifierAllocation : public ::testing::TestWithParam<AllocationCase> {};

TEST_P(IdentifierAllocation, HandsOutTheNextFreeIdentifier)
{
    const AllocationCase& c = GetParam();
    CKovUnit unit;
    for (int id : c.inUse)
        addObject(unit, c.kind, id);
    counterOf(unit, c.kind) = c.counter;

    EXPECT_EQ(nextId(unit, c.kind), c.expected);
    EXPECT_EQ(counterOf(unit, c.kind), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IdentifierAllocation,
    ::testing::Values(
        AllocationCase{"NewGroup", Kind::Group, 1, {}, 2},
        AllocationCase{"NewLine", Kind::Line, 1, {}, 2},
        AllocationCase{"NewWall", Kind::Wall, 1, {}, 2},
        AllocationCase{"NewText", Kind::Text, 1, {}, 2},
        AllocationCase{"NewImage", Kind::Image, 1, {}, 2},
        AllocationCase{"SkipsLinesInUse", Kind::Line, 1, {3, 2}, 4},
        AllocationCase{"LineWrapsAtLimit", Kind::Line, 64000, {}, 1},
        AllocationCase{"LineWrapsPastInUse", Kind::Line, 64000, {1, 2, 4}, 3},
        AllocationCase{"GroupWrapsAtLimit", Kind::Group, 64000, {1}, 2},
        AllocationCase{"WallScanWrapsToOne", Kind::Wall, 63999, {64000, 1}, 2},
        AllocationCase{"TextWrapsAtItsLowerLimit", Kind::Text, 62000, {}, 1},
        AllocationCase{"TextScanGoesPastLowerLimit", Kind::Text, 61999, {62000}, 62001},
        AllocationCase{"TextScanWrapsAboveUpperLimit", Kind::Text, 61999, idsFrom(62000, 64000, {1}), 2},
        AllocationCase{"TextCounterAboveLowerLimitWraps", Kind::Text, 63000, {}, 1},
        AllocationCase{"ImageWrapsAtLimit", Kind::Image, 6200, {}, 1},
        AllocationCase{"ImageScanWrapsAtLimit", Kind::Image, 6198, {6199, 6200, 1}, 2},
        AllocationCase{"NegativeCounterCountsAsOne", Kind::Line, -7, {}, 2},
        AllocationCase{"ZeroCounterCountsAsOne", Kind::Wall, 0, {}, 2},
        AllocationCase{"HugeCounterWraps", Kind::Group, INT_MAX, {}, 1}),
    [](const auto& info) { return info.param.name; });

TEST(IdentifierAllocation, SuccessiveCallsCount)
{
    CKovUnit unit;
    EXPECT_EQ(unit.NextLineId(), 2);
    EXPECT_EQ(unit.NextLineId(), 3);
    EXPECT_EQ(unit.NextTextId(), 2); // kinds count independently
}

TEST(IdentifierAllocation, FullIdentifierSpaceGivesUpWithNoFreeId)
{
    CKovUnit unit;
    for (int id = 1; id <= CKovUnit::kImageIdLimit; ++id)
        addObject(unit, Kind::Image, id);
    unit.MUnitImageID = 17;

    EXPECT_EQ(unit.NextImageId(), CKovUnit::kNoFreeId);
    EXPECT_EQ(unit.MUnitImageID, 17);

    unit.DeleteImage(4000);
    EXPECT_EQ(unit.NextImageId(), 4000);
}

TEST(IdentifierAllocation, ResetSetsEveryCounterToOne)
{
    CKovUnit unit;
    unit.MUnitGrpID = unit.MUnitLineID = unit.MUnitWallID = unit.MUnitTextID = unit.MUnitImageID = 50;
    unit.ResetIdCounters();
    for (Kind k : {Kind::Group, Kind::Line, Kind::Wall, Kind::Text, Kind::Image})
        EXPECT_EQ(counterOf(unit, k), 1);
}

// A batch hands out what successive Next…Id calls would, each identifier taken into use at once:
// from full drawings past the wrap limit, with gaps, and at the end of the identifier space.
TEST(IdentifierBatch, GivesWhatSuccessiveCallsWould)
{
    struct Case {
        const char* name;
        Kind kind;
        kov::model::IdKind batchKind;
        int counter;
        std::vector<int> inUse;
        int count;
    };
    std::vector<int> gapped = idsFrom(1, 62500, {});
    gapped.erase(gapped.begin() + 4999); // 5000 free
    gapped.erase(gapped.begin() + 29999); // 30002 free
    const Case cases[] = {
        {"TextsPastTheWrap", Kind::Text, kov::model::IdKind::Text, 62500, idsFrom(1, 62500, {}), 300},
        {"TextsWithGapsBelow", Kind::Text, kov::model::IdKind::Text, 62500, gapped, 300},
        {"TextsUpToTheEnd", Kind::Text, kov::model::IdKind::Text, 63990, idsFrom(1, 63990, {}), 20},
        {"LinesFromAFreshCounter", Kind::Line, kov::model::IdKind::Line, 1, {2, 3, 7}, 10},
        {"GroupsPastTheirLimit", Kind::Group, kov::model::IdKind::Group, 64000, idsFrom(1, 100, {200}), 150},
        {"WallsWrappingAtTheScanLimit", Kind::Wall, kov::model::IdKind::Wall, 63995, {63997, 1, 2}, 8},
        {"ImagesRunningOut", Kind::Image, kov::model::IdKind::Image, 6100, idsFrom(1, 6195, {}), 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKovUnit byCalls, byBatch;
        for (int id : c.inUse) {
            addObject(byCalls, c.kind, id);
            addObject(byBatch, c.kind, id);
        }
        counterOf(byCalls, c.kind) = counterOf(byBatch, c.kind) = c.counter;
        kov::model::IdentifierBatch batch(byBatch, c.batchKind);
        for (int n = 0; n < c.count; ++n) {
            const int expected = nextId(byCalls, c.kind);
            ASSERT_EQ(batch.Next(), expected) << "allocation " << n;
            ASSERT_EQ(counterOf(byBatch, c.kind), counterOf(byCalls, c.kind)) << "allocation " << n;
            if (expected == CKovUnit::kNoFreeId) continue;
            addObject(byCalls, c.kind, expected);
            addObject(byBatch, c.kind, expected);
        }
    }
}

// The lookup must give exactly what a scan from index 0 gives.
int firstMatch(const CKovUnit& unit, int id)
{
    for (int i = 0; i < unit.m_Lines.GetSize(); ++i)
        if (unit.m_Lines[i]->MLineID == id)
            return i;
    return -1;
}

TEST(FindByIdentifier, SharedIdentifierGivesTheLowerIndex)
{
    CKovUnit unit;
    for (int id : {5, 9, 5, 7})
        addObject(unit, Kind::Line, id);
    EXPECT_EQ(unit.FindLineIndex(5), 0);
    unit.m_Lines.MoveItem(0, 3);
    EXPECT_EQ(unit.FindLineIndex(5), 1);
    EXPECT_EQ(unit.FindLineIndex(8), -1);
}

TEST(FindByIdentifier, AgreesWithFirstMatchScanThroughEdits)
{
    CKovUnit unit;
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> idOf(-3, 70000);
    std::uniform_int_distribution<int> small(1, 40);
    for (int i = 0; i < 300; ++i)
        addObject(unit, Kind::Line, small(rng));

    for (int step = 0; step < 2000; ++step) {
        const int size = unit.m_Lines.GetSize();
        switch (step % 7) {
        case 0:
            addObject(unit, Kind::Line, step % 3 ? small(rng) : idOf(rng));
            break;
        case 1:
            unit.DeleteLine(small(rng));
            break;
        case 2: {
            auto o = std::make_unique<CKovLine>();
            o->MLineID = small(rng);
            unit.m_Lines.InsertAt(size ? static_cast<int>(rng() % size) : 0, std::move(o));
            break;
        }
        case 3:
            if (size > 1)
                unit.m_Lines.Swap(static_cast<int>(rng() % size), static_cast<int>(rng() % size));
            break;
        case 4:
            // Renumbering in place goes through the container.
            if (size > 0)
                unit.m_Lines.Renumber(static_cast<int>(rng() % size), step % 3 ? small(rng) : idOf(rng));
            break;
        case 5:
            if (size > 0)
                unit.m_Lines.RemoveAt(static_cast<int>(rng() % size));
            break;
        default:
            unit.DeleteGroup(small(rng)); // no groups: nothing changes
            break;
        }
        const int probe = step % 5 == 0 ? idOf(rng) : small(rng);
        ASSERT_EQ(unit.FindLineIndex(probe), firstMatch(unit, probe)) << "step " << step << " id " << probe;
    }
}

TEST(FindByIdentifier, AgreesWithFirstMatchScanWhileIdentifiersAreUnique)
{
    CKovUnit unit;
    std::mt19937 rng(777);
    int nextFresh = 2;
    for (int i = 0; i < 200; ++i)
        addObject(unit, Kind::Line, nextFresh++);
    auto fresh = [&] { return rng() % 4 == 0 ? 70000 + nextFresh++ : nextFresh++; };

    for (int step = 0; step < 3000; ++step) {
        const int size = unit.m_Lines.GetSize();
        const int at = size ? static_cast<int>(rng() % size) : 0;
        switch (step % 6) {
        case 0:
            addObject(unit, Kind::Line, fresh());
            break;
        case 1: {
            auto o = std::make_unique<CKovLine>();
            o->MLineID = fresh();
            unit.m_Lines.InsertAt(at, std::move(o));
            break;
        }
        case 2:
            if (size)
                unit.DeleteLine(unit.m_Lines[at]->MLineID);
            break;
        case 3:
            if (size)
                unit.m_Lines.RemoveAt(at);
            break;
        case 4:
            if (size)
                unit.m_Lines.Renumber(at, fresh());
            break;
        default:
            if (size)
                unit.m_Lines.MoveItem(at, static_cast<int>(rng() % size));
            break;
        }
        for (int k = 0; k < 3; ++k) {
            const int probe = static_cast<int>(rng() % static_cast<unsigned>(nextFresh + 2)) + (k == 2 ? 70000 : 0);
            ASSERT_EQ(unit.FindLineIndex(probe), firstMatch(unit, probe)) << "step " << step << " id " << probe;
        }
    }
}

TEST(FindByIdentifier, RenumberedObjectIsFoundUnderItsNewNumberOnly)
{
    // Walls 2, 3, 4 with the lookup built; one is renumbered and both numbers are probed at once.
    struct Case { int index; int newId; int foundNew; };
    for (const Case c : {Case{1, 30, 1}, Case{1, 4, 1}, Case{0, 70001, 0}, Case{2, 2, 0}, Case{0, 3, 0}}) {
        CKovUnit unit;
        for (int id : {2, 3, 4})
            addObject(unit, Kind::Wall, id);
        const int oldId = unit.m_Walls[c.index]->MWallID;
        ASSERT_EQ(unit.FindWallIndex(oldId), c.index);
        unit.m_Walls.Renumber(c.index, c.newId);
        EXPECT_EQ(unit.FindWallIndex(c.newId), c.foundNew) << c.newId;
        EXPECT_EQ(unit.FindWallIndex(oldId), -1) << oldId;
    }
}

} // namespace
