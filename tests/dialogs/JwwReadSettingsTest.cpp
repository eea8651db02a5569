#include "dialogs/JwwReadSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include <gtest/gtest.h>

using kov::dialogs::CJWWReadSetDg;

TEST(JwwReadSettings, ControlsGiveTheOptions)
{
    struct Row {
        const char* name;
        void (*change)(CJWWReadSetDg&);
        JwwImportOptions expected;
    } rows[] = {
        {"as it opens", [](CJWWReadSetDg&) {}, {}},
        {"white kept", [](CJWWReadSetDg& d) { d.m_white->setChecked(false); }, {1, 0, 0, 0, 0, 0, 0}},
        {"all black", [](CJWWReadSetDg& d) { d.m_allBlack->setChecked(true); }, {0, 1, 0, 0, 0, 0, 0}},
        {"width one", [](CJWWReadSetDg& d) { d.m_widthOne->setChecked(true); }, {0, 0, 1, 0, 0, 0, 0}},
        {"solids ignored", [](CJWWReadSetDg& d) { d.m_solidsIgnore->setChecked(true); }, {0, 0, 0, 2, 0, 0, 0}},
        {"arcs to polylines", [](CJWWReadSetDg& d) { d.m_arcs->setChecked(true); }, {0, 0, 0, 0, 1, 0, 0}},
        {"limit 500", [](CJWWReadSetDg& d) { d.m_limit->setCurrentIndex(7); }, {0, 0, 0, 0, 0, 500, 0}},
    };
    for (const Row& r : rows) {
        CJWWReadSetDg dialog;
        EXPECT_EQ(dialog.windowTitle().toStdString(), "JW_CAD(windows)読み込み設定");
        EXPECT_EQ(dialog.m_limit->count(), 8);
        r.change(dialog);
        dialog.accept();
        const JwwImportOptions o = dialog.form().Options();
        EXPECT_EQ(o.m_bKeepWhite, r.expected.m_bKeepWhite) << r.name;
        EXPECT_EQ(o.m_bAllBlack, r.expected.m_bAllBlack) << r.name;
        EXPECT_EQ(o.m_bWidthOne, r.expected.m_bWidthOne) << r.name;
        EXPECT_EQ(o.m_nSolids, r.expected.m_nSolids) << r.name;
        EXPECT_EQ(o.m_bArcsToPolylines, r.expected.m_bArcsToPolylines) << r.name;
        EXPECT_EQ(o.m_nBlockLimit, r.expected.m_nBlockLimit) << r.name;
    }
}
