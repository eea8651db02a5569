#include "model/SettingsValues.h"

#include "SettingsSamples.h"

#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/UnitBlocks.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using kov::model::colourText;
using kov::model::parseColour;
using kov::test::Bytes;

bool contains(const Bytes& bytes, std::string_view text)
{
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// Colours are "%ld" of a 32-bit long: the high bit makes them negative. Older writers printed them
// unsigned; both forms must read as the same colour.
TEST(ColourText, WrittenAsSignedLongAndReadInEitherForm)
{
    struct Row { std::uint32_t colour; const char* text; };
    const Row written[] = {
        {0, "0"}, {0xFFFFFF, "16777215"}, {0x7FFFFFFF, "2147483647"}, {0x80000000, "-2147483648"}, {0xFFFFFFFF, "-1"},
    };
    for (const Row& r : written) {
        EXPECT_EQ(colourText(r.colour), r.text);
        EXPECT_EQ(parseColour(r.text), r.colour) << r.text;
    }

    const Row read[] = {
        {0xFFFFFFFF, "4294967295"}, {0x80000000, "2147483648"}, {0xFFFFFFFF, "99999999999"}, {255, " 255x"},
        {0, "abc"}, {0, ""}, {0xFFFFFF01, "-255"},
    };
    for (const Row& r : read) EXPECT_EQ(parseColour(r.text), r.colour) << '"' << r.text << '"';
}

// The document's objects and its settings write a colour the same way and read each other's form.
TEST(ColourText, ObjectsAndSettingsAgree)
{
    CKovUnit unit;
    auto line = std::make_unique<CKovLine>();
    line->MLineColor = 0xFFFFFFFF;
    line->MLineNakaColor = 0x80000000;
    unit.m_Lines.Add(std::move(line));
    UnitFileContext ctx;
    auto ar = CArchive::forWriting();
    ASSERT_EQ(unit.WriteUnit(*ar, "KovUnit", ctx), 1);
    EXPECT_TRUE(contains(ar->bytes(), "MLineColor=-1\n"));
    EXPECT_TRUE(contains(ar->bytes(), "MLineNakaColor=-2147483648\n"));

    CPlotInfo plot;
    plot.PlotWallColor = 0xFFFFFFFF;
    EXPECT_TRUE(contains(kov::test::blockBytes(plot, "PlotInfo"), "PlotWallColor=-1\n"));

    kov::platform::MemoryProfile store;
    store.WriteProfileInt("KOV_T_UTILITY", "registset", 1);
    store.WriteProfileString("KOV_T_PlotMenu", "wallcolor", "4294967295");
    EXPECT_EQ(CPlotInfo(store).PlotWallColor, 0xFFFFFFFFu);
}

} // namespace
