// Where file dialogs open and which name an export offers.

#include "app/KoviraDoc.h"
#include "app/QtQuestions.h"

#include "app/DocumentTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(FileDialogStart, NeverTheWorkingFolder)
{
    struct Case {
        const char* name;
        std::filesystem::path initial, folder, expected;
    };
    const Case cases[] = {
        {"nothing offered: the start folder", "", "/home/u/plans", "/home/u/plans"},
        {"an offered name goes into the start folder", "house.dxf", "/home/u/plans", "/home/u/plans/house.dxf"},
        {"a full path stays", "/tmp/x/house.kvr", "/home/u/plans", "/tmp/x/house.kvr"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kov::app::DialogStartPath(c.initial, c.folder), c.expected);
    }
}

TEST(FileDialogStart, ExportsOfferTheDrawingsNameWithTheirExtension)
{
    kov::test::DocumentRig rig;
    const std::filesystem::path untitled = rig.doc->ExportName(".dxf");
    EXPECT_EQ(untitled.extension(), ".dxf");
    EXPECT_FALSE(untitled.stem().empty());
    ASSERT_TRUE(rig.saveAs(rig.file("plan.kvr")));
    EXPECT_EQ(rig.doc->ExportName(".jww"), "plan.jww");
    EXPECT_EQ(rig.doc->ExportName(".bmp", "PNGファイル (*.png)|*.png|GIFファイル (*.gif)|*.gif|"), "plan.png");
    EXPECT_EQ(rig.doc->ExportName(".bmp", "no pattern"), "plan.bmp");
}

} // namespace
