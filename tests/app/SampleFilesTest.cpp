// Every drawing of other programs among the shared samples, through the commands a user reaches:
// the DXF and Jw_cad imports read it into the view, and 開く, which reads only our documents, says
// which file it is and which command reads it. A file that does not read gives a message naming it.

#include "app/ExchangeCommands.h"
#include "app/DxfCommands.h"
#include "app/KovView.h"
#include "app/KoviraDoc.h"
#include "platform/Folders.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "support/TestSupport.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kov::platform::Answer;

// Answers every message with its first button (No to the save question) and picks the one file.
class Answers final : public kov::platform::Questions {
public:
    fs::path file;
    std::vector<std::string> messages;

    Answer messageBox(std::string_view text, std::string_view, kov::platform::MessageIcon,
                      kov::platform::Buttons buttons) override
    {
        messages.emplace_back(text);
        return buttons == kov::platform::Buttons::Ok || buttons == kov::platform::Buttons::OkCancel ? Answer::Ok
                                                                                                  : Answer::No;
    }
    std::optional<uint32_t> chooseColor(uint32_t, kov::platform::CustomColors*) override { return std::nullopt; }
    std::optional<kov::platform::FontChoice> chooseFont(const kov::platform::FontChoice&) override { return std::nullopt; }
    std::optional<fs::path> chooseFolder(std::string_view, const fs::path&) override { return std::nullopt; }
    std::optional<fs::path> chooseOpenFile(std::string_view, std::string_view, const fs::path&) override { return file; }
    std::optional<fs::path> chooseSaveFile(std::string_view, std::string_view, const fs::path&) override
    {
        return std::nullopt;
    }
};

struct Rig {
    kov::test::TempFolder temp;
    kov::platform::MemoryProfile profile;
    Answers answers;
    kov::platform::Folders folders;
    std::unique_ptr<kov::app::CKoviraDoc> doc;
    std::unique_ptr<kov::app::CKoviraView> view;

    Rig()
    {
        folders = kov::platform::Folders::under(temp.file("installed"), temp.file("user"), temp.file("local"));
        folders.createWritableFolders();
        doc = std::make_unique<kov::app::CKoviraDoc>(
            kov::app::DocumentServices{profile, answers, folders, temp.path().string()});
        doc->FileNew();
        doc->SetJwwOptionsChooser([] { return std::optional<JwwImportOptions>(JwwImportOptions{}); });
        view = std::make_unique<kov::app::CKoviraView>(*doc, nullptr);
        view->resize(640, 480);
        view->show();
        QApplication::processEvents();
        view->OnInitialUpdate();
    }
};

std::vector<fs::path> samples()
{
    std::vector<fs::path> files;
    std::error_code ec;
    for (const char* folder : {"dxf", "jww"})
        for (fs::directory_iterator it(fs::path(KOVIRA_SAMPLES) / folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".dxf" || it->path().extension() == ".jww")
                files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

class SampleFiles : public testing::TestWithParam<fs::path> {};

// A read with something in it, or a message naming the file.
TEST_P(SampleFiles, ImportReadsOrNamesTheFile)
{
    const fs::path& file = GetParam();
    Rig rig;
    rig.answers.file = file;
    const bool dxf = file.extension() == ".dxf";
    const bool read = dxf ? kov::app::ImportDxf(*rig.doc, [](kov::io::DxfReadOptions&) { return true; })
                          : kov::app::OnImportJwcad(*rig.view, *rig.doc);
    QApplication::processEvents();
    if (read) {
        const CKovUnit& unit = rig.doc->m_Unit;
        EXPECT_GT(unit.m_Lines.GetSize() + unit.m_Texts.GetSize(), 0);
        return;
    }
    ASSERT_FALSE(rig.answers.messages.empty());
    EXPECT_NE(rig.answers.messages.back().find(file.string()), std::string::npos) << rig.answers.messages.back();
}

// 開く reads our documents only: the file is named with the command that reads it.
TEST_P(SampleFiles, OpenSaysWhichCommandReadsIt)
{
    const fs::path& file = GetParam();
    Rig rig;
    rig.doc->OnOpenDocument(file);
    ASSERT_FALSE(rig.answers.messages.empty());
    const std::string& told = rig.answers.messages.back();
    EXPECT_NE(told.find(file.string()), std::string::npos) << told;
    EXPECT_NE(told.find(file.extension() == ".dxf" ? "DXF読み込み" : "JW_CAD(JWW,JWC)読み込み"), std::string::npos) << told;
}

std::string nameOf(const testing::TestParamInfo<fs::path>& info)
{
    // Test names take letters and digits only; the index keeps Japanese names apart.
    std::string name = std::to_string(info.index) + "_";
    for (char c : info.param.filename().string())
        name += (std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Shared, SampleFiles, testing::ValuesIn(samples()), nameOf);

} // namespace
