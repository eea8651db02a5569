#pragma once

// A drawing at the identifier limits for the container and file benchmarks: 60,000 figures of every
// kind, 10,000 walls with their outlines, 10,000 two-line texts and 1,000 room groups of ten figures,
// a wall and a text each.

#include "app/KoviraDoc.h"
#include "model/KovUnit.h"
#include "platform/Folders.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>

namespace kov::bench {

constexpr int kFigures = 60000;
constexpr int kWalls = 10000;
constexpr int kTexts = 10000;
constexpr int kGroups = 1000;

inline void fillLargeDrawing(CKovUnit& unit)
{
    for (int i = 0; i < kFigures; ++i) {
        auto line = std::make_unique<CKovLine>();
        line->MLineID = i + 2;
        const double x = (i % 300) * 910.0;
        const double y = (i / 300) * 455.0;
        line->MLineType = i % 7;
        line->MLinePnt = {{x, y}, {x + 910.0, y}, {x + 910.0, y + 455.0}, {x, y + 455.0}};
        if (line->MLineType == CKovLine::CIRCLE || line->MLineType == CKovLine::ARC)
            line->MLineParam = {455.0, 1.0};
        line->MLineGrpID = i < kGroups * 10 ? i / 10 + 2 : 0;
        line->MLineLayer1 = i % 16;
        line->MLineLayer2 = (i / 16) % 16;
        unit.m_Lines.Add(std::move(line));
    }
    for (int i = 0; i < kWalls; ++i) {
        auto wall = std::make_unique<CKovWall>();
        wall->MWallID = i + 2;
        const double x = (i % 100) * 1820.0;
        const double y = (i / 100) * 1820.0;
        wall->MWallPntA = {x, y};
        wall->MWallPntB = {x + 1820.0, y};
        wall->MWallPntKado = {CDbPoint(x, y - 50), CDbPoint(x + 1820, y - 50), CDbPoint(x + 1820, y + 50),
                              CDbPoint(x, y + 50)};
        for (int k = 0; k < 4; ++k) {
            wall->MWallarPntA.push_back(wall->MWallPntKado[static_cast<std::size_t>(k)]);
            wall->MWallarPntB.push_back(wall->MWallPntKado[static_cast<std::size_t>((k + 1) % 4)]);
        }
        unit.m_Walls.Add(std::move(wall));
    }
    for (int i = 0; i < kTexts; ++i) {
        auto text = std::make_unique<CKovText>();
        text->MTextID = i + 2;
        text->MTextstr = "洋室 " + std::to_string(i) + "\r\n6.0畳";
        text->MTextpnt = {(i % 100) * 1820.0 + 910.0, (i / 100) * 1820.0 + 910.0};
        unit.m_Texts.Add(std::move(text));
    }
    for (int i = 0; i < kGroups; ++i) {
        auto group = std::make_unique<CKovGroup>();
        group->MGrpID = i + 2;
        for (int k = 0; k < 10; ++k)
            group->MGrpLineID.push_back(i * 10 + k + 2);
        group->MGrpWallID = {i + 2};
        group->MGrpTextID = {i + 2};
        group->MGrpRoom = CKovGroup::ROOM;
        unit.m_Groups.Add(std::move(group));
    }
    unit.MUnitLineID = kFigures + 1;
    unit.MUnitWallID = kWalls + 1;
    unit.MUnitTextID = kTexts + 1;
    unit.MUnitGrpID = kGroups + 1;
}

// A document as the program holds it, with its folders in a temporary folder: the benchmarks open
// and save whole documents through it, as the file menu does.
struct BenchDocument {
    QTemporaryDir dir;
    kov::platform::MemoryProfile profile;
    kov::platform::ScriptedQuestions questions;
    kov::platform::Folders folders;
    std::unique_ptr<kov::app::CKoviraDoc> doc;

    BenchDocument()
    {
        const std::filesystem::path root = dir.path().toStdString();
        folders = kov::platform::Folders::under(root / "installed", root / "user", root / "local");
        folders.createWritableFolders();
        profile.WriteProfileInt("KOV_T_UTILITY", "app_backup", 0);
        doc = std::make_unique<kov::app::CKoviraDoc>(
            kov::app::DocumentServices{profile, questions, folders, root.string()});
        doc->OnNewDocument();
    }
    std::filesystem::path file(const std::string& name) const
    {
        return std::filesystem::path(dir.path().toStdString()) / name;
    }
};

} // namespace kov::bench
