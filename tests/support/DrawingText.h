#pragma once

// Every stored field of a drawing's objects that the editing operations change, as text: two
// drawings are the same when their texts are (a failed comparison shows where they differ).

#include "model/KovUnit.h"

#include <cstdio>
#include <string>

namespace kov::test {

inline std::string DescribeDrawing(const CKovUnit& unit)
{
    std::string out;
    char buf[160];
    auto point = [&](const CDbPoint& p) {
        std::snprintf(buf, sizeof buf, " (%.17g %.17g)", p.x, p.y);
        out += buf;
    };
    auto number = [&](double v) {
        std::snprintf(buf, sizeof buf, " %.17g", v);
        out += buf;
    };
    auto list = [&](const std::vector<int>& ids) {
        for (int id : ids)
            out += " " + std::to_string(id);
    };
    for (const auto& g : unit.m_Groups) {
        out += "group " + std::to_string(g->MGrpID) + " kind " + std::to_string(g->MGrpRoom) + " layer " +
               std::to_string(g->MGrpLayer1) + "-" + std::to_string(g->MGrpLayer2) + " box";
        point(g->MGrpmin);
        point(g->MGrpmax);
        out += " angle";
        number(g->MGrpKakudo);
        out += " figures";
        list(g->MGrpLineID);
        out += " walls";
        list(g->MGrpWallID);
        out += " texts";
        list(g->MGrpTextID);
        out += "\n";
    }
    for (const auto& f : unit.m_Lines) {
        out += "figure " + std::to_string(f->MLineID) + " kind " + std::to_string(f->MLineType) + " group " +
               std::to_string(f->MLineGrpID) + " layer " + std::to_string(f->MLineLayer1) + "-" +
               std::to_string(f->MLineLayer2) + " points";
        for (const CDbPoint& p : f->MLinePnt)
            point(p);
        out += " params";
        for (double v : f->MLineParam)
            number(v);
        out += "\n";
    }
    for (const auto& w : unit.m_Walls) {
        out += "wall " + std::to_string(w->MWallID) + " group " + std::to_string(w->MWallGrpID) + " layer " +
               std::to_string(w->MWallLayer1) + "-" + std::to_string(w->MWallLayer2) + " core";
        point(w->MWallPntA);
        point(w->MWallPntB);
        out += " corners";
        for (const CDbPoint& p : w->MWallPntKado)
            point(p);
        out += " outline";
        for (std::size_t k = 0; k < w->MWallarPntA.size() && k < w->MWallarPntB.size(); ++k) {
            point(w->MWallarPntA[k]);
            point(w->MWallarPntB[k]);
        }
        out += " thickness";
        number(w->MWallWide1);
        number(w->MWallWide2);
        out += "\n";
    }
    for (const auto& t : unit.m_Texts) {
        out += "text " + std::to_string(t->MTextID) + " group " + std::to_string(t->MTextGrpID) + " layer " +
               std::to_string(t->MTextLayer1) + "-" + std::to_string(t->MTextLayer2) + " at";
        point(t->MTextpnt);
        out += " angle " + std::to_string(t->MTextFontMenu.lfEscapement) + " face " + t->MTextFontMenu.lfFaceName +
               " size";
        number(t->MTextFontMenu.m_size);
        out += "\n";
    }
    for (const auto& i : unit.m_Images) {
        out += "picture " + std::to_string(i->ImageID) + " layer " + std::to_string(i->IMGLayer1) + "-" +
               std::to_string(i->IMGLayer2) + " at";
        number(i->OffsetX);
        number(i->OffsetY);
        out += " size";
        number(i->ImageWidth);
        number(i->ImageHeight);
        out += "\n";
    }
    return out;
}

} // namespace kov::test
