// The grid spacing dialog's rules: module conversion, the ALL buttons, the checks on OK.

#include "dialogs/GridConfDialog.h"

#include "platform/Profile.h"

#include <gtest/gtest.h>

namespace {

using kov::dialogs::GridConfForm;

GridConfForm formWith(int module, double a, double b)
{
    kov::platform::MemoryProfile p;
    CGrid g;
    g.GridModule = module;
    g.GridW = {a, b, a, b, 777};
    g.GridD = {b, a, b, a, 777};
    GridConfForm f;
    f.Load(g, p);
    return f;
}

TEST(GridConf, ModuleRadiosConvertSpacingsEqualToTheModuleOrItsHalf)
{
    GridConfForm f = formWith(910, 455, 910);
    f.ChooseModule(GridConfForm::Metre);
    EXPECT_EQ(f.w[0], 500);
    EXPECT_EQ(f.w[1], 1000);
    EXPECT_EQ(f.w[4], 777); // other values stay
    EXPECT_EQ(f.grid.GridModule, 1000);
    f.ChooseModule(GridConfForm::Shaku);
    EXPECT_EQ(f.w[0], 455);
    EXPECT_EQ(f.d[0], 910);
    f.ChooseModule(GridConfForm::Shaku); // naming the old module changes nothing
    EXPECT_EQ(f.w[0], 455);

    GridConfForm o = formWith(910, 455, 910);
    o.otherModule = 1200;
    o.ChooseModule(GridConfForm::Other);
    EXPECT_EQ(o.w[0], 600);
    EXPECT_EQ(o.w[1], 1200);
}

TEST(GridConf, AllButtonsAndNumberDisplay)
{
    GridConfForm f = formWith(900, 100, 200);
    f.AllQuarterKen();
    for (double v : f.w) EXPECT_EQ(v, 450);
    f.AllHalfKen();
    for (double v : f.d) EXPECT_EQ(v, 900);
    EXPECT_EQ(GridConfForm::FormatNumber(455), "455");
    EXPECT_EQ(GridConfForm::FormatNumber(227.5), "227.5");
    // A spacing one decimal would show as another (or as 0, which OK refuses) keeps its digits.
    EXPECT_EQ(GridConfForm::FormatNumber(0.04), "0.04");
    EXPECT_EQ(GridConfForm::FormatNumber(455.25), "455.25");
}

TEST(GridConf, AcceptChecksTheActiveRowOnly)
{
    kov::platform::MemoryProfile p;
    GridConfForm f = formWith(910, 455, 910);
    f.w[0] = 0;
    EXPECT_EQ(f.Accept(p), "グリッド1の横間隔に０以外の整数をいれてください");
    f.w[0] = 910;
    f.d[0] = 300000;
    EXPECT_EQ(f.Accept(p), "グリッド1の縦間隔に０以外の整数をいれてください");
    f.d[0] = 910;
    f.w[3] = 0; // an inactive row is not examined and keeps its stored value
    f.sx[0] = 100;
    f.division = 600;
    EXPECT_EQ(f.Accept(p), "");
    EXPECT_EQ(f.grid.BGrid, (std::array<int, 5>{1, 0, 0, 0, 0}));
    EXPECT_EQ(f.grid.StGridW[0], 100);
    EXPECT_EQ(f.grid.GridW[3], 910);
    EXPECT_EQ(p.GetProfileInt("KOV_T_UTILITY", "app_grid_kankaku_A", -1), 1);

    GridConfForm o = formWith(910, 455, 910);
    o.moduleRadio = GridConfForm::Other;
    o.otherModule = 0;
    o.pattern = 2;
    EXPECT_EQ(o.Accept(p), "");
    EXPECT_EQ(o.grid.GridModule, 910);
    EXPECT_EQ(o.grid.BGrid[2], 1);
    EXPECT_EQ(p.GetProfileInt("KOV_T_PlotMenu", "grid_module_other", -1), 910);
}

TEST(GridConf, LoadPicksTheHighestGridThatIsOn)
{
    kov::platform::MemoryProfile p;
    CGrid g;
    g.BGrid = {1, 0, 1, 1, 0};
    GridConfForm f;
    f.Load(g, p);
    EXPECT_EQ(f.pattern, 3);
    g.BGrid = {0, 0, 0, 0, 0};
    f.Load(g, p);
    EXPECT_EQ(f.pattern, 0);
}

} // namespace
