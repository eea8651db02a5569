#pragma once

// Small library drawings written into a temporary folder: each a container with one group whose
// members are the figures given, as the library's own files hold them.

#include "building/PartFiles.h"
#include "model/KovUnit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

namespace kov::test {

inline std::unique_ptr<CKovLine> figure(int kind, CDbPointArray points, std::vector<double> params = {})
{
    auto f = std::make_unique<CKovLine>();
    f->MLineType = kind;
    f->MLinePnt = std::move(points);
    f->MLineParam = std::move(params);
    return f;
}

inline std::unique_ptr<CKovLine> rect(double l, double t, double r, double b)
{
    return figure(CKovLine::RECTANGLE, {{l, t}, {l, b}, {r, b}, {r, t}});
}

inline std::unique_ptr<CKovLine> line(double x1, double y1, double x2, double y2)
{
    return figure(CKovLine::LINE, {{x1, y1}, {x2, y2}});
}

// A drawing of the figures as one group, its box from its members.
class Drawing {
public:
    Drawing()
    {
        auto g = std::make_unique<CKovGroup>();
        g->MGrpID = 1;
        unit.m_Groups.Add(std::move(g));
    }
    ~Drawing() { unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES); }
    Drawing& add(std::unique_ptr<CKovLine> f)
    {
        f->MLineID = unit.NextLineId();
        f->MLineGrpID = 1;
        unit.m_Groups[0]->MGrpLineID.push_back(f->MLineID);
        unit.m_Lines.Add(std::move(f));
        return *this;
    }
    Drawing& text(double x, double y, double size, const std::string& s)
    {
        auto t = std::make_unique<CKovText>();
        t->MTextID = unit.NextTextId();
        t->MTextpnt = {x, y};
        t->MTextstr = s;
        t->MTextFontMenu.m_size = size;
        t->MTextGrpID = 1;
        unit.m_Groups[0]->MGrpTextID.push_back(t->MTextID);
        unit.m_Texts.Add(std::move(t));
        return *this;
    }
    // Writes it; the box is taken from the members first.
    void write(const std::filesystem::path& file)
    {
        unit.UpdateGroupBounds(*unit.m_Groups[0]);
        std::filesystem::create_directories(file.parent_path());
        std::string error;
        ASSERT_TRUE(kov::building::WritePartFile(file, unit, &error)) << error;
    }

    CKovUnit unit;
};

// Frames are 100 mm deep, their core at y = 50, opening towards +y.
inline void writeSliding(const std::filesystem::path& file, double w)
{
    Drawing()
        .add(rect(0, 0, w, 100))
        .add(line(0, 0, 0, 100))          // jambs
        .add(line(w, 0, w, 100))
        .add(line(0, 40, w / 2, 40))      // panels
        .add(line(w / 2, 60, w, 60))
        .write(file);
}

inline void writePocketSliding(const std::filesystem::path& file, double w)
{
    Drawing().add(rect(0, 0, w, 100)).add(line(0, 0, 0, 100)).add(line(w, 0, w, 100)).add(rect(w / 2, 40, w, 60)).write(file);
}

inline void writeDoor(const std::filesystem::path& file, double w)
{
    Drawing()
        .add(rect(0, 0, w, 100))
        .add(line(0, 100, 0, 100 + w))
        .add(figure(CKovLine::ARC, {{0, 100}, {0, 100 + w}, {w, 100}}, {w}))
        .write(file);
}

} // namespace kov::test
