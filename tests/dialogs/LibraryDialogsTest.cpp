// The small dialogs of the libraries: placement options, folder order, a new folder, the fitting
// size and the notation symbol.

#include "dialogs/FittingsPalette.h"
#include "dialogs/NotationSymbolDialog.h"
#include "dialogs/PartPlacementDialogs.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace kov::dialogs;
using kov::test::TempFolder;
namespace fs = std::filesystem;

namespace {
constexpr std::string_view kU = "KOV_T_UTILITY";
}

TEST(PlacementOptionsDialog, OpensOnTheSettingsAndWritesWhatItTakes)
{
    kov::platform::MemoryProfile profile;
    profile.WriteProfileInt(kU, "buhin_haiti_muki", 7);
    profile.WriteProfileString(kU, "buhin_haiti_mukikakudo", "30");
    profile.WriteProfileInt(kU, "buhin_haiti_ookisa", 2);
    profile.WriteProfileInt(kU, "haiti_mauseiti", 12);
    BuhinItiSetForm f(profile);
    EXPECT_EQ(f.m_nDirection, 7);
    EXPECT_TRUE(f.AngleEnabled());
    EXPECT_EQ(f.m_nSizeMode, 2);
    EXPECT_FALSE(f.FactorsEnabled());
    EXPECT_TRUE(f.SizesEnabled());
    EXPECT_EQ(f.m_strFactorX, "1.00");
    EXPECT_EQ(f.m_strSizeY, "1000.00");
    EXPECT_EQ(f.m_nPointer, 0);

    struct Case {
        const char* angle;
        const char* factor;
        const char* size;
        const char* angleStored;
        const char* factorStored;
        const char* sizeStored;
    };
    const Case cases[] = {
        {"45", "1.5", "1200", "45", "1.50", "1200.00"},
        {"400", "0", "0", "0", "1", "1000"},
        {"-1", "1001", "-5", "0", "1", "1000"},
        {"abc", "2", "150", "0", "2.00", "150.00"},
    };
    for (const Case& c : cases) {
        kov::platform::MemoryProfile p;
        BuhinItiSetForm g(p);
        g.m_nDirection = 3;
        g.m_nPointer = 9;
        g.m_strAngle = c.angle;
        g.m_strFactorX = c.factor;
        g.m_strSizeX = c.size;
        g.OnOK();
        EXPECT_EQ(p.GetProfileString(kU, "buhin_haiti_mukikakudo", "?"), c.angleStored) << c.angle;
        EXPECT_EQ(p.GetProfileString(kU, "buhin_haiti_ookisa_bai_y", "?"), c.factorStored) << c.factor;
        EXPECT_EQ(p.GetProfileString(kU, "buhin_haiti_ookisa_kazu_y", "1000"), c.sizeStored) << c.size;
        EXPECT_EQ(p.GetProfileInt(kU, "buhin_haiti_muki", 0), 3);
        EXPECT_EQ(p.GetProfileInt(kU, "haiti_mauseiti", 0), 9);
    }
}

TEST(FolderOrderDialog, MovesNamesAndWritesThemJoined)
{
    TempFolder temp;
    for (const char* n : {"A", "B", "C"}) fs::create_directories(temp.file(n));
    kov::platform::MemoryProfile profile;
    kov::platform::ScriptedQuestions questions;
    FolderOrderForm f(profile, temp.path());
    ASSERT_TRUE(f.Open(questions));
    EXPECT_EQ(f.m_Order, (std::vector<std::string>{"A", "B", "C"}));
    f.m_nChosen = 2;
    f.Up();
    f.Up();
    f.Up(); // the first stays first
    EXPECT_EQ(f.m_Order, (std::vector<std::string>{"C", "A", "B"}));
    f.m_nChosen = 2;
    f.Down(); // the last stays last
    EXPECT_EQ(f.m_Order, (std::vector<std::string>{"C", "A", "B"}));
    profile.WriteProfileInt(kU, "buhin_selectidx", 2);
    f.OnOK();
    EXPECT_EQ(profile.GetProfileString(kU, "buhin_forda_jyun", ""), "C,A,B");
    EXPECT_EQ(profile.GetProfileInt(kU, "buhin_selectidx", 0), -1);

    // Opened again the saved order is in force; OK writes it again. Reset goes back to the listing.
    FolderOrderForm again(profile, temp.path());
    ASSERT_TRUE(again.Open(questions));
    EXPECT_EQ(again.m_Order, (std::vector<std::string>{"C", "A", "B"}));
    EXPECT_EQ(again.m_bCustom, 1);
    again.Reset();
    again.OnOK();
    EXPECT_EQ(profile.GetProfileString(kU, "buhin_forda_jyun", "?"), "");

    // A saved order of two names for three folders is not used.
    profile.WriteProfileString(kU, "buhin_forda_jyun", "B,A");
    FolderOrderForm stale(profile, temp.path());
    ASSERT_TRUE(stale.Open(questions));
    EXPECT_EQ(stale.m_bCustom, 0);
    EXPECT_EQ(stale.m_Order, (std::vector<std::string>{"A", "B", "C"}));

    // No library: the message, and the dialog does not open.
    questions.acknowledge("部品の保管場所が不正です");
    FolderOrderForm none(profile, temp.file("missing"));
    EXPECT_FALSE(none.Open(questions));
}

TEST(FittingSizeDialog, OnlyPositiveSizesAreTaken)
{
    struct Case {
        const char* width;
        const char* depth;
        const char* message;
    };
    const Case cases[] = {{"900", "150", ""},
                          {"0", "150", "幅の値が不正です。"},
                          {"-900", "150", "幅の値が不正です。"},
                          {"abc", "150", "幅の値が不正です。"},
                          {"900", "0", "厚みの値が不正です。"}};
    for (const Case& c : cases) {
        FittingSizeForm f(810, 100);
        EXPECT_EQ(f.m_strWidth, "810.0");
        f.m_strWidth = c.width;
        f.m_strDepth = c.depth;
        EXPECT_EQ(f.OnChange(), c.message) << c.width << " " << c.depth;
        if (std::string(c.message).empty()) {
            EXPECT_EQ(f.m_dWidth, 900);
            EXPECT_EQ(f.m_dDepth, 150);
        }
    }
}

TEST(NotationSymbolDialog, TheFixedHeightIsTakenOnlyWhenUsable)
{
    struct Case {
        int fixed;
        const char* typed;
        double height;
    };
    const Case cases[] = {{1, "250", 250}, {1, "0", 100}, {1, "x", 100}, {0, "250", 100}};
    for (const Case& c : cases) {
        NotationSymbolForm f(c.fixed, 100);
        EXPECT_EQ(f.m_nKind, 1);
        EXPECT_EQ(f.m_strHeight, "100.0");
        EXPECT_EQ(f.HeightEnabled(), c.fixed != 0);
        f.m_strHeight = c.typed;
        f.OnOK();
        EXPECT_EQ(f.m_dHeight, c.height) << c.typed;
    }
}
