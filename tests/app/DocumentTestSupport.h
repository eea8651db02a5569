#pragma once

// A document wired to a temporary folder, an in-memory profile and scripted answers.

#include "app/KoviraDoc.h"
#include "platform/Folders.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kov::test {

struct DocumentRig {
    TempFolder temp;
    kov::platform::MemoryProfile profile;
    kov::platform::ScriptedQuestions questions;
    kov::platform::Folders folders;
    std::unique_ptr<kov::app::CKoviraDoc> doc;

    DocumentRig()
    {
        folders = kov::platform::Folders::under(temp.file("installed"), temp.file("user"), temp.file("local"));
        folders.createWritableFolders();
        // Backups rotate from the start, as on a computer that has run the program before.
        profile.WriteProfileInt("KOV_T_UTILITY", "backing_flg", 0);
        doc = std::make_unique<kov::app::CKoviraDoc>(
            kov::app::DocumentServices{profile, questions, folders, temp.path().string()});
        doc->FileNew();
    }

    std::filesystem::path file(const std::string& name) const { return temp.file(name); }

    // A two-point line on that layer of layer group 0; returns its identifier.
    int addLine(double x1, double y1, double x2, double y2, int layer = 0)
    {
        auto line = std::make_unique<CKovLine>();
        line->MLineID = doc->m_Unit.NextLineId();
        line->MLinePnt.push_back(CDbPoint(x1, y1));
        line->MLinePnt.push_back(CDbPoint(x2, y2));
        line->MLineLayer2 = layer;
        const int id = line->MLineID;
        doc->m_Unit.m_Lines.Add(std::move(line));
        doc->SetModifiedFlag();
        return id;
    }

    int addText(const std::string& text)
    {
        auto t = std::make_unique<CKovText>();
        t->MTextID = doc->m_Unit.NextTextId();
        t->MTextstr = text;
        const int id = t->MTextID;
        doc->m_Unit.m_Texts.Add(std::move(t));
        doc->SetModifiedFlag();
        return id;
    }

    // A 4 by 3 PNG picture with its temporary file, on layer group g, layer l; returns it.
    CKovImage& addPicture(int id, int layerGroup = 0, int layer = 0);

    // Saves under the name through the save-as chooser.
    bool saveAs(const std::filesystem::path& path)
    {
        questions.pickSaveFile(path);
        return doc->DoFileSaveAs();
    }
};

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
// The x of every figure's first point, in array order: what a reader sees of the drawing.
std::vector<double> lineStarts(const CKovUnit& unit);

} // namespace kov::test
