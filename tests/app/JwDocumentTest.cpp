#include "DocumentTestSupport.h"

#include "jwcad/JwExport.h"

#include <gtest/gtest.h>

using kov::platform::Answer;
using kov::test::DocumentRig;

namespace {
const std::string kSamples = KOVIRA_SAMPLES "/jww/";
}

TEST(JwDocument, AFailedImportKeepsTheOpenDrawing)
{
    DocumentRig rig;
    rig.addLine(0, 0, 100, 0);
    rig.addText("残す");
    const auto junk = rig.file("broken.jww");
    kov::test::writeBytes(junk, {'J', 'w', 'w', 'D', 'a', 't', 'a', '.', 1, 2, 3});
    rig.questions.acknowledge("jwwファイルでないか、ファイルを読み取れませんでした。");
    EXPECT_FALSE(rig.doc->ImportJww(junk));
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 1);
    EXPECT_EQ(rig.doc->m_Unit.m_Texts.GetSize(), 1);
    EXPECT_TRUE(rig.doc->IsModified());
}

TEST(JwDocument, ImportReplacesAfterTheSaveQuestionAndCancelKeeps)
{
    DocumentRig rig;
    rig.addLine(0, 0, 100, 0);
    // The options dialog cancelled: nothing at all happens.
    rig.doc->SetJwwOptionsChooser([] { return std::optional<JwwImportOptions>(); });
    EXPECT_FALSE(rig.doc->ImportJww(kSamples + "Ａマンション平面例.jww"));
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 1);
    rig.doc->SetJwwOptionsChooser([] { return std::optional<JwwImportOptions>(JwwImportOptions{}); });
    rig.questions.reply(Answer::No);   // do not save the changed drawing
    rig.questions.acknowledge("点 10 個は読み込みません。");
    ASSERT_TRUE(rig.doc->ImportJww(kSamples + "Ａマンション平面例.jww"));
    EXPECT_GT(rig.doc->m_Unit.m_Lines.GetSize(), 1000);
    EXPECT_EQ(rig.doc->m_Unit.m_Texts.GetSize(), 56);
    EXPECT_TRUE(rig.doc->IsModified());
    // The file's layers: its records stay on them, the one it was written on is current.
    const CLayer& layers = rig.doc->m_PlotInfo.m_Layer;
    int onOwnLayers = 0;
    for (const auto& f : rig.doc->m_Unit.m_Lines)
        onOwnLayers += f->MLineLayer1 * 16 + f->MLineLayer2 != 0;
    EXPECT_GT(onOwnLayers, 1000);
    EXPECT_EQ(layers.m_LayerInfo[static_cast<std::size_t>(layers.m_nCurrentGroup)][static_cast<std::size_t>(layers.m_nCurrentLayer)].m_nType,
              CLayerInfo::LAYER_SNAP);
}

TEST(JwDocument, ExportAndReadBackBothFormats)
{
    DocumentRig rig;
    rig.addLine(0, 0, 1000, 0);
    rig.addLine(0, 0, 0, -500);
    for (const char* name : {"out.jww", "out.JWC"}) {
        const auto path = rig.file(name);
        const bool jwc = std::string(name).ends_with("JWC");
        ASSERT_TRUE(jwc ? rig.doc->ExportJwc(path) : rig.doc->ExportJww(path)) << name;
        DocumentRig other;
        ASSERT_TRUE(jwc ? other.doc->ImportJwc(path) : other.doc->ImportJww(path)) << name;
        EXPECT_EQ(other.doc->m_Unit.m_Lines.GetSize(), 2) << name;
    }
    // A dimension line makes the JWW export refuse, and nothing is written.
    auto dim = std::make_unique<CKovLine>();
    dim->MLineID = rig.doc->m_Unit.NextLineId();
    dim->MLineType = CKovLine::DIMENSION;
    rig.doc->m_Unit.m_Lines.Add(std::move(dim));
    rig.questions.acknowledge("寸法線は「ツール」「寸法線の文字線化」で線と文字にしてからJWW出力してください。");
    EXPECT_FALSE(rig.doc->ExportJww(rig.file("refused.jww")));
    EXPECT_FALSE(std::filesystem::exists(rig.file("refused.jww")));
}

TEST(JwDocument, UnreadableFigureFileAddsNothing)
{
    DocumentRig source;
    source.addLine(0, 0, 100, 0);
    const auto jwc = source.file("figure.jwc");
    ASSERT_TRUE(source.doc->ExportJwc(jwc));
    DocumentRig rig;
    rig.doc->m_PlotInfo.m_Layer.m_nCurrentLayer = 4;
    const int before = rig.doc->m_Unit.m_Lines.GetSize();
    // A JWS file that cannot be read: the message, and an empty placement still follows.
    rig.questions.acknowledge("jwwファイルでないか、ファイルを読み取れませんでした。");
    rig.doc->ImportJws(jwc);
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), before);
}
