#include "DocumentTestSupport.h"

#include "app/RecentFiles.h"
#include "model/PictureFiles.h"
#include "model/SettingsRegistry.h"
#include "model/SettingsValues.h"
#include "model/UnitBlocks.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace fs = std::filesystem;
using kov::app::CKoviraDoc;
using kov::model::equalsNoCase;
using kov::platform::Answer;
using kov::test::DocumentRig;
using kov::test::fileBytes;
using kov::test::lineStarts;
using kov::test::writeBytes;

namespace {

// An archive holding "KOVDATA" with the sub-blocks named, in that order; "Extra" is an unknown block
// with a key and a nested block of its own.
std::vector<std::uint8_t> documentWithBlocks(const CKoviraDoc& source, const std::vector<std::string>& names)
{
    auto ar = CArchive::forWriting();
    CDefFile w;
    w.WriteStart(*ar, "KOVDATA");
    for (const std::string& name : names) {
        if (equalsNoCase(name, "PlotInfo")) {
            source.m_PlotInfo.WriteBlock(*ar, name);
        } else if (equalsNoCase(name, "Grid")) {
            source.m_Grid.WriteBlock(*ar, name);
        } else if (equalsNoCase(name, "KovUnit")) {
            UnitFileContext ctx;
            source.m_Unit.WriteUnit(*ar, name, ctx);
        } else {
            w.WriteStart(*ar, name);
            w.WriteData(*ar, "GridModule", "1");
            w.WriteStart(*ar, "Grid");
            w.WriteEnd(*ar, "Grid");
            w.WriteEnd(*ar, name);
        }
    }
    w.WriteEnd(*ar, "KOVDATA");
    return ar->bytes();
}

} // namespace

TEST(Document, SavedDrawingOpensAgainWithObjectsSettingsAndName)
{
    DocumentRig rig;
    rig.addLine(10, 20, 30, 40);
    rig.addLine(-5, 0, 5, 0, 3);
    rig.addText("居間\r\n８畳");
    rig.doc->m_Grid.GridModule = 1000;
    rig.doc->m_Grid.GridW[2] = 455.5;
    rig.doc->m_PlotInfo.m_Layer.m_LayerInfo[0][3].m_strName = "寸法";
    rig.doc->m_PlotInfo.m_Layer.m_dScale[1] = 50;
    const CGrid savedGrid = rig.doc->m_Grid;
    const CPlotInfo savedPlot = rig.doc->m_PlotInfo;

    // A name without extension gets ".kvr".
    ASSERT_TRUE(rig.saveAs(rig.file("house")));
    const fs::path path = rig.file("house.kvr");
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(rig.doc->GetPathName(), path);
    EXPECT_EQ(rig.doc->GetTitle(), "house.kvr");
    EXPECT_FALSE(rig.doc->IsModified());

    ASSERT_TRUE(rig.doc->FileNew()); // saved: no question
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 0);
    EXPECT_EQ(rig.doc->GetTitle(), "Kovira");
    EXPECT_TRUE(rig.doc->GetPathName().empty());

    ASSERT_TRUE(rig.doc->OpenDocumentFile(path));
    EXPECT_EQ(lineStarts(rig.doc->m_Unit), (std::vector<double>{10, -5}));
    EXPECT_EQ(rig.doc->m_Unit.m_Lines[1]->MLineLayer2, 3);
    ASSERT_EQ(rig.doc->m_Unit.m_Texts.GetSize(), 1);
    EXPECT_EQ(rig.doc->m_Unit.m_Texts[0]->MTextstr, "居間\r\n８畳");
    EXPECT_EQ(rig.doc->m_Grid, savedGrid);
    EXPECT_EQ(rig.doc->m_PlotInfo, savedPlot);
    EXPECT_EQ(rig.doc->GetPathName(), path);
    EXPECT_FALSE(rig.doc->IsModified());
    EXPECT_EQ(kov::app::ReadRecentList(rig.profile), std::vector<std::string>{path.string()});

    // Save writes to the same file without asking.
    rig.addLine(99, 0, 100, 0);
    ASSERT_TRUE(rig.doc->DoFileSave());
    ASSERT_TRUE(rig.doc->OpenDocumentFile(path));
    EXPECT_EQ(lineStarts(rig.doc->m_Unit), (std::vector<double>{10, -5, 99}));
}

TEST(Document, EmptyDrawingSavesItsSettingsAndTheFiveCountersOnly)
{
    DocumentRig rig;
    const fs::path path = rig.file("empty.kvr");
    ASSERT_TRUE(rig.saveAs(path));
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    const std::string text(bytes.begin(), bytes.end());

    // The sub-blocks of the document block in order, and what the objects' block holds.
    std::vector<std::string> outline;
    std::vector<std::string> unitLines;
    int depth = 0;
    bool inUnit = false;
    std::size_t at = text.find('\n') + 1; // after the magic line
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.starts_with("{")) {
            if (depth == 1) outline.push_back(line.substr(1));
            if (depth == 1 && line == "{KovUnit") inUnit = true;
            else if (inUnit) unitLines.push_back(line);
            ++depth;
        } else if (line.starts_with("}")) {
            --depth;
            if (depth == 1) inUnit = false;
        } else if (inUnit) {
            unitLines.push_back(line.substr(0, line.find('=')));
        }
    }
    EXPECT_EQ(outline, (std::vector<std::string>{"PlotInfo", "Grid", "KovUnit"}));
    EXPECT_EQ(unitLines,
              (std::vector<std::string>{"MUnitGrpID", "MUnitWallID", "MUnitLineID", "MUnitTextID", "MUnitImageID"}));
}

TEST(Document, SubBlocksAreReadByNameInAnyOrderAndCase)
{
    struct Case {
        const char* name;
        std::vector<std::string> blocks;
        bool gridFromFile;
    };
    const Case cases[] = {
        {"written order", {"PlotInfo", "Grid", "KovUnit"}, true},
        {"reversed", {"KovUnit", "Grid", "PlotInfo"}, true},
        {"small letters", {"plotinfo", "grid", "kovunit"}, true},
        {"capitals", {"PLOTINFO", "GRID", "KOVUNIT"}, true},
        {"unknown block between", {"PlotInfo", "Extra", "Grid", "KovUnit"}, true},
        {"objects only (a part file)", {"KovUnit"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentRig rig;
        rig.addLine(7, 0, 8, 0);
        rig.doc->m_Grid.GridModule = 1000;
        const fs::path path = rig.file("blocks.kvr");
        writeBytes(path, documentWithBlocks(*rig.doc, c.blocks));

        rig.doc->SetModifiedFlag(false);
        ASSERT_TRUE(rig.doc->FileNew());
        ASSERT_TRUE(rig.doc->OpenDocumentFile(path));
        EXPECT_FALSE(rig.doc->LastOpenWasDamaged());
        EXPECT_EQ(lineStarts(rig.doc->m_Unit), std::vector<double>{7});
        EXPECT_EQ(rig.doc->m_Grid.GridModule, c.gridFromFile ? 1000 : CGrid().GridModule);
    }
}

TEST(Document, ValuesMissingFromTheFileComeFromTheSavedSettings)
{
    DocumentRig rig;
    CGrid saved;
    saved.GridModule = 1000;
    saved.GridW[0] = 300;
    kov::model::saveDocumentSettings(rig.profile, CPlotInfo(), saved, CFontMenu());
    rig.addLine(1, 0, 2, 0);
    const fs::path path = rig.file("unit-only.kvr");
    writeBytes(path, documentWithBlocks(*rig.doc, {"KovUnit"}));

    rig.doc->SetModifiedFlag(false);
    ASSERT_TRUE(rig.doc->OpenDocumentFile(path));
    EXPECT_EQ(rig.doc->m_Grid.GridModule, 1000);
    EXPECT_EQ(rig.doc->m_Grid.GridW[0], 300);

    // A file of no bytes is an empty drawing with the settings' values.
    const fs::path empty = rig.file("empty.kvr");
    writeBytes(empty, {});
    ASSERT_TRUE(rig.doc->OpenDocumentFile(empty));
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 0);
    EXPECT_EQ(rig.doc->m_Grid.GridW[0], 300);
    EXPECT_EQ(rig.doc->GetPathName(), empty);
}

TEST(Document, FileThatIsNoDocumentLeavesTheOpenDrawingAndItsFile)
{
    struct Case {
        const char* name;
        const char* file;
        std::vector<std::uint8_t> bytes; // empty: the file does not exist
        const char* message;             // after the file's name
    };
    const std::string text = "これは図面ではありません\n";
    const std::vector<std::uint8_t> garbage(text.begin(), text.end());
    const std::vector<std::uint8_t> binary{'A', 'u', 't', 'o', 'C', 0x1a, 0x00, 0x00, 0xff, 0x13};
    const Case cases[] = {
        {"plain text", "other.kvr", garbage, "」は図面ファイルではないか、壊れています"},
        {"missing file", "other.kvr", {}, "」を読み込めません"},
        // Drawings of the exchange formats are named, with the command that reads them.
        {"binary DXF", "other.dxf", binary, "」は DXF ファイルです。「ファイル」→「読み込み」→「DXF読み込み」"},
        {"cut-short Jw_cad drawing", "other.jww", {'J', 'w', 'w', 'D'}, "」は Jw_cad のファイルです"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentRig rig;
        rig.addLine(1, 1, 2, 2);
        const fs::path mine = rig.file("mine.kvr");
        ASSERT_TRUE(rig.saveAs(mine));
        rig.addLine(3, 3, 4, 4); // unsaved work

        const fs::path other = rig.file(c.file);
        if (!c.bytes.empty()) writeBytes(other, c.bytes);
        rig.questions.reply(Answer::No, "への変更を保存しますか");
        rig.questions.acknowledge("「" + other.string() + c.message);
        EXPECT_FALSE(rig.doc->OpenDocumentFile(other));

        EXPECT_EQ(lineStarts(rig.doc->m_Unit), (std::vector<double>{1, 3}));
        EXPECT_EQ(rig.doc->GetPathName(), mine);
        EXPECT_EQ(kov::app::ReadRecentList(rig.profile), std::vector<std::string>{mine.string()});
        // Saving goes to the drawing's own file; the other file is as it was.
        ASSERT_TRUE(rig.doc->DoFileSave());
        if (!c.bytes.empty()) EXPECT_EQ(fileBytes(other), c.bytes);
        else EXPECT_FALSE(fs::exists(other));
    }
}

TEST(Document, FailedOpenAtStartLeavesAnUntitledDrawing)
{
    DocumentRig rig;
    CGrid saved;
    saved.GridModule = 1000;
    kov::model::saveDocumentSettings(rig.profile, CPlotInfo(), saved, CFontMenu());
    CKoviraDoc fresh({rig.profile, rig.questions, rig.folders, {}});
    rig.questions.acknowledge("読み込めません");
    EXPECT_FALSE(fresh.OpenDocumentFile(rig.file("missing.kvr")));
    EXPECT_EQ(fresh.GetTitle(), "Kovira");
    EXPECT_TRUE(fresh.GetPathName().empty());
    EXPECT_EQ(fresh.m_Grid.GridModule, 1000);
    EXPECT_TRUE(kov::app::ReadRecentList(rig.profile).empty());
}

TEST(Document, OldPackedFilesGoThroughTheUnpacker)
{
    DocumentRig rig;
    rig.addLine(5, 0, 6, 0);
    const std::vector<std::uint8_t> inner = documentWithBlocks(*rig.doc, {"PlotInfo", "Grid", "KovUnit"});
    const std::vector<std::uint8_t> packed{'-', 'l', 'h', '5', '-', 1, 2, 3};
    const fs::path path = rig.file("old.kvr");
    writeBytes(path, packed);
    std::string askedMember;
    rig.doc->SetOldPackedUnpacker([&](const std::vector<std::uint8_t>& bytes, std::string_view member)
                                      -> std::optional<std::vector<std::uint8_t>> {
        askedMember = member;
        if (bytes != packed) return std::nullopt;
        return inner;
    });
    rig.doc->SetModifiedFlag(false);
    rig.questions.acknowledge("圧縮された形式");
    ASSERT_TRUE(rig.doc->OpenDocumentFile(path));
    EXPECT_EQ(askedMember, "kovlsav.qvt");
    EXPECT_EQ(lineStarts(rig.doc->m_Unit), std::vector<double>{5});
    EXPECT_EQ(rig.doc->GetPathName(), path);

    // An archive the unpacker refuses fails like any other foreign file.
    const fs::path bad = rig.file("bad.kvr");
    writeBytes(bad, {'x', 'y'});
    rig.questions.acknowledge("ファイル読み取り失敗");
    EXPECT_FALSE(rig.doc->OpenDocumentFile(bad));
    EXPECT_EQ(rig.doc->GetPathName(), path);
}

TEST(Document, DamagedFileOpensInPartAndIsNeverOverwrittenUnasked)
{
    struct Case {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        std::vector<double> expectedStarts;
    };
    const Case cases[] = {
        {"cut short after the second figure",
         [](std::vector<std::uint8_t>& b) {
             const std::string s(b.begin(), b.end());
             std::size_t third = s.find("{BLK_UnitLine");
             third = s.find("{BLK_UnitLine", third + 1);
             third = s.find("{BLK_UnitLine", third + 1);
             b.resize(third);
         },
         {1, 2}},
        {"one byte changed in a value",
         [](std::vector<std::uint8_t>& b) {
             const std::string s(b.begin(), b.end());
             const std::size_t at = s.find("MUnitGrpID=");
             b[at + 11] = '7';
         },
         {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentRig rig;
        rig.addLine(1, 0, 1, 1);
        rig.addLine(2, 0, 2, 1);
        rig.addLine(3, 0, 3, 1);
        const fs::path path = rig.file("damaged.kvr");
        ASSERT_TRUE(rig.saveAs(path));
        std::vector<std::uint8_t> bytes = fileBytes(path);
        c.damage(bytes);
        writeBytes(path, bytes);
        ASSERT_TRUE(rig.doc->FileNew());

        rig.questions.acknowledge("読み取れなかった箇所");
        ASSERT_TRUE(rig.doc->OpenDocumentFile(path));
        EXPECT_TRUE(rig.doc->LastOpenWasDamaged());
        EXPECT_EQ(lineStarts(rig.doc->m_Unit), c.expectedStarts);
        EXPECT_TRUE(rig.doc->GetPathName().empty());
        EXPECT_EQ(rig.doc->GetTitle(), "damaged.kvr");
        EXPECT_TRUE(rig.doc->IsModified());
        EXPECT_TRUE(kov::app::ReadRecentList(rig.profile) == std::vector<std::string>{path.string()});

        // Save asks for a name; cancelling writes nothing.
        rig.questions.pickSaveFile(std::nullopt);
        EXPECT_FALSE(rig.doc->DoFileSave());
        EXPECT_EQ(fileBytes(path), bytes);

        const fs::path salvaged = rig.file("salvaged.kvr");
        rig.questions.pickSaveFile(salvaged);
        ASSERT_TRUE(rig.doc->DoFileSave());
        EXPECT_EQ(fileBytes(path), bytes);
        EXPECT_EQ(rig.doc->GetPathName(), salvaged);
        ASSERT_TRUE(rig.doc->OpenDocumentFile(salvaged));
        EXPECT_EQ(lineStarts(rig.doc->m_Unit), c.expectedStarts);
    }
}

TEST(Document, ChangedDrawingAsksBeforeItIsLeft)
{
    struct Case {
        const char* name;
        Answer answer;
        bool goesOn;
        bool saved;
    };
    const Case cases[] = {
        {"yes saves", Answer::Yes, true, true},
        {"no discards", Answer::No, true, false},
        {"cancel stays", Answer::Cancel, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentRig rig;
        const fs::path path = rig.file("plan.kvr");
        ASSERT_TRUE(rig.saveAs(path));
        rig.addLine(4, 0, 5, 0);

        rig.questions.reply(c.answer, "plan.kvr への変更を保存しますか");
        EXPECT_EQ(rig.doc->FileNew(), c.goesOn);
        EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), c.goesOn ? 0 : 1);

        CKoviraDoc reader({rig.profile, rig.questions, rig.folders, {}});
        ASSERT_EQ(reader.OnOpenDocument(path), 1);
        EXPECT_EQ(reader.m_Unit.m_Lines.GetSize(), c.saved ? 1 : 0);
    }

    // The same question comes before opening and closing; an untitled drawing saves under a new name.
    DocumentRig rig;
    rig.addLine(1, 0, 2, 0);
    rig.questions.reply(Answer::Cancel, "Kovira への変更を保存しますか");
    EXPECT_FALSE(rig.doc->OpenDocumentFile(rig.file("x.kvr")));
    EXPECT_EQ(rig.doc->m_Unit.m_Lines.GetSize(), 1);
    // Declining the name keeps the drawing open.
    rig.questions.reply(Answer::Yes, "Kovira への変更を保存しますか");
    rig.questions.pickSaveFile(std::nullopt);
    EXPECT_FALSE(rig.doc->CanCloseFrame());
    rig.questions.reply(Answer::Yes, "Kovira への変更を保存しますか");
    rig.questions.pickSaveFile(rig.file("named.kvr"));
    EXPECT_TRUE(rig.doc->CanCloseFrame());
    EXPECT_TRUE(fs::exists(rig.file("named.kvr")));
}

TEST(Document, FailedSaveReportsAndKeepsTheOldFile)
{
    DocumentRig rig;
    rig.addLine(1, 0, 2, 0);
    const fs::path path = rig.file("keep.kvr");
    ASSERT_TRUE(rig.saveAs(path));
    const std::vector<std::uint8_t> before = fileBytes(path);

    // A picture whose temporary file is gone cannot be saved: the user hears why, the file stays.
    auto image = std::make_unique<CKovImage>();
    image->ImageID = 9;
    rig.doc->m_Unit.m_Images.Add(std::move(image));
    rig.doc->SetModifiedFlag();
    rig.questions.acknowledge("画像部分が正しく保存できませんでした");
    EXPECT_FALSE(rig.doc->DoFileSave());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_TRUE(rig.doc->IsModified());

    // A folder that does not exist: reported, the drawing keeps its own name.
    rig.doc->m_Unit.DeleteImage(9);
    rig.questions.pickSaveFile(rig.file("no-such-folder") / "x.kvr");
    rig.questions.acknowledge("保存できません");
    EXPECT_FALSE(rig.doc->DoFileSaveAs());
    EXPECT_EQ(rig.doc->GetPathName(), path);
}

TEST(Document, ReadOnlyFileIsNotReplacedAndTheDrawingStaysUnsaved)
{
    DocumentRig rig;
    rig.addLine(1, 0, 2, 0);
    const fs::path path = rig.file("locked.kvr");
    ASSERT_TRUE(rig.saveAs(path));
    const std::vector<std::uint8_t> before = fileBytes(path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    rig.addLine(3, 0, 4, 0);
    rig.questions.acknowledge("」を保存できません");
    EXPECT_FALSE(rig.doc->DoFileSave());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_TRUE(rig.doc->IsModified());
    EXPECT_EQ(rig.doc->GetPathName(), path);
}

TEST(Document, PicturesTravelWithTheDocument)
{
    DocumentRig rig;
    const fs::path folder = rig.doc->TempImageFolder();
    rig.addPicture(3);
    ASSERT_TRUE(fs::exists(TempImagePath(folder, 3, kPicturePng)));
    const fs::path path = rig.file("picture.kvr");
    ASSERT_TRUE(rig.saveAs(path));

    ASSERT_TRUE(rig.doc->FileNew());
    EXPECT_FALSE(fs::exists(TempImagePath(folder, 3, kPicturePng)));
    ASSERT_TRUE(rig.doc->OpenDocumentFile(path));
    ASSERT_EQ(rig.doc->m_Unit.m_Images.GetSize(), 1);
    const CKovImage& read = *std::as_const(rig.doc->m_Unit).m_Images[0];
    // Opening writes no picture file: the bytes wait until something needs the file, and hold
    // its name meanwhile.
    EXPECT_TRUE(fs::is_empty(folder));
    ASSERT_NE(read.PendingFileBytes(), nullptr);
    int next = read.ImageID;
    EXPECT_NE(CKovImage::MakeTempImageName(folder, next), TempImagePath(folder, read.ImageID));
    // Saved again from memory, and the same picture read back.
    const fs::path again = rig.file("again.kvr");
    ASSERT_TRUE(rig.saveAs(again));
    EXPECT_TRUE(fs::is_empty(folder));
    ASSERT_TRUE(read.ExtractFile());
    EXPECT_EQ(GetImageFileWidth(TempImagePath(folder, read.ImageID, kPicturePng)), 4);
    EXPECT_EQ(read.PendingFileBytes(), nullptr);
    ASSERT_TRUE(rig.doc->OpenDocumentFile(again));
    EXPECT_TRUE(fs::is_empty(folder)) << "emptied before the read";
    const CKovImage& back = *std::as_const(rig.doc->m_Unit).m_Images[0];
    ASSERT_TRUE(back.ExtractFile());
    EXPECT_EQ(GetImageFileWidth(TempImagePath(folder, back.ImageID, kPicturePng)), 4);
}

TEST(Document, ItsPictureFolderIsItsOwnAndGoesWithIt)
{
    fs::path first, second;
    {
        DocumentRig a, b;
        first = a.doc->TempImageFolder();
        second = b.doc->TempImageFolder();
        EXPECT_NE(first, second);
        EXPECT_EQ(first.parent_path(), a.folders.tempPictures);
        a.addPicture(3);
        ASSERT_TRUE(fs::exists(TempImagePath(first, 3, kPicturePng)));
        a.doc.reset();
        EXPECT_FALSE(fs::exists(first));
        EXPECT_TRUE(fs::is_directory(second));
    }
}

TEST(Document, EmptyingResetsStacksSelectionAndTemporaryPictures)
{
    DocumentRig rig;
    const fs::path folder = rig.doc->TempImageFolder();
    rig.doc->AddTempImageNumber(7);
    rig.doc->AddTempImageNumber(7);
    EXPECT_EQ(rig.doc->m_TempImageNumbers.size(), 1u);
    writeBytes(TempImagePath(folder, 7, kPicturePng), {1, 2, 3});
    rig.doc->m_UndoStack.push_back(new CKovUnit);
    rig.doc->m_RedoStack.push_back(new CKovUnit);
    rig.doc->m_Selection.AddLineId(2);
    rig.doc->m_nToolMode = 5;
    rig.doc->m_bRedraw = 0;

    rig.doc->DeleteContents();
    EXPECT_FALSE(fs::exists(TempImagePath(folder, 7, kPicturePng)));
    EXPECT_EQ(rig.doc->m_TempImageNumbers, std::vector<std::uint32_t>{7});
    ASSERT_EQ(rig.doc->m_UndoStack.size(), 1u);
    EXPECT_EQ(rig.doc->m_UndoStack[0], &rig.doc->m_BaseUnit);
    EXPECT_TRUE(rig.doc->m_RedoStack.empty());
    EXPECT_TRUE(rig.doc->m_Selection.IsEmpty());
    EXPECT_EQ(rig.doc->m_nToolMode, 0);
    EXPECT_EQ(rig.doc->m_bRedraw, 1);
}

TEST(Document, AutomaticPictureComesBeforeTheDocumentAndNeverStopsIt)
{
    struct Case {
        const char* name;
        int setting;
        bool throws;
        bool called;
    };
    const Case cases[] = {
        {"off", 0, false, false},
        {"on", 1, false, true},
        {"on, picture fails", 1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentRig rig;
        rig.profile.WriteProfileInt("KOV_T_PlotMenu", "gazou_zidousave", c.setting);
        const fs::path path = rig.file("auto.kvr");
        bool called = false;
        bool documentThere = true;
        rig.doc->SetAutoSaveImage([&](const fs::path& p) {
            called = true;
            documentThere = fs::exists(p);
            if (c.throws) throw std::runtime_error("picture");
        });
        ASSERT_TRUE(rig.saveAs(path));
        EXPECT_EQ(called, c.called);
        if (c.called) {
            EXPECT_FALSE(documentThere);
        }
        EXPECT_TRUE(fs::exists(path));
    }
}

TEST(Document, OpeningAsNewDrawingKeepsItUntitled)
{
    DocumentRig rig;
    rig.addLine(8, 0, 9, 0);
    const fs::path sample = rig.file("sample.kvr");
    ASSERT_TRUE(rig.saveAs(sample));
    const auto recent = kov::app::ReadRecentList(rig.profile);
    ASSERT_TRUE(rig.doc->FileNew());

    ASSERT_TRUE(rig.doc->OpenAsNewDrawing(sample));
    EXPECT_EQ(lineStarts(rig.doc->m_Unit), std::vector<double>{8});
    EXPECT_EQ(rig.doc->GetTitle(), "Kovira");
    EXPECT_TRUE(rig.doc->GetPathName().empty());
    EXPECT_EQ(kov::app::ReadRecentList(rig.profile), recent);
    EXPECT_EQ(rig.doc->m_UndoStack.size(), 1u);

    // Its save asks for a name, and leaving it unsaved asks first.
    rig.questions.reply(Answer::Yes, "Kovira への変更を保存しますか");
    rig.questions.pickSaveFile(rig.file("copy.kvr"));
    ASSERT_TRUE(rig.doc->FileNew());
    EXPECT_TRUE(fs::exists(rig.file("copy.kvr")));
}
