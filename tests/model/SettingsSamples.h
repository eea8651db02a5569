#pragma once

// Fixed non-default settings shared by the settings tests and the golden archive, and small helpers
// that write and read one block in memory.

#include "model/DefFile.h"
#include "model/Grid.h"
#include "model/PlotInfo.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kov::test {

using Bytes = std::vector<std::uint8_t>;

template <class T>
Bytes blockBytes(const T& object, std::string_view name)
{
    auto ar = CArchive::forWriting();
    if (!object.WriteBlock(*ar, name)) return {};
    return ar->bytes();
}

// Finds the first block of that name and loads it into the object; the result of Load.
template <class T>
int readBlock(T& object, const Bytes& bytes, std::string_view name)
{
    auto ar = CArchive::forReading(bytes);
    if (!object.FindStart(*ar, name)) return -1;
    return object.Load(*ar, name);
}

// An archive whose records the body writes through a plain CDefFile.
inline Bytes archiveOf(const std::function<void(CDefFile&, CArchive&)>& body)
{
    auto ar = CArchive::forWriting();
    CDefFile w;
    body(w, *ar);
    return ar->bytes();
}

// An archive holding one block of just these keyed values, in this order.
inline Bytes blockWith(std::string_view block, const std::vector<std::pair<std::string, std::string>>& values)
{
    return archiveOf([&](CDefFile& w, CArchive& ar) {
        w.WriteStart(ar, block);
        for (const auto& [key, value] : values) w.WriteData(ar, key, value);
        w.WriteEnd(ar, block);
    });
}

// One block's records as read: "key=value" for values, "{Name" for nested blocks (skipped).
struct KeyLog : CDefFile {
    std::vector<std::string> items;
    std::vector<std::string> keys() const
    {
        std::vector<std::string> out;
        for (const auto& item : items) out.push_back(item.substr(0, item.find('=')));
        return out;
    }
    std::string value(std::string_view key) const
    {
        for (const auto& item : items)
            if (item.size() > key.size() && item.compare(0, key.size(), key) == 0 && item[key.size()] == '=')
                return item.substr(key.size() + 1);
        return "<missing>";
    }

protected:
    RD_STATUS OnReadStart(CArchive&, std::string_view block) override
    {
        items.push_back("{" + std::string(block));
        return RD_SKIP;
    }
    int OnReadData(std::string_view key, std::string_view value) override
    {
        items.push_back(std::string(key) + "=" + std::string(value));
        return 1;
    }
};

// Every member that the "PlotInfo" block carries set away from its default.
inline CPlotInfo samplePlotInfo()
{
    CPlotInfo p;
    CLayer& l = p.m_Layer;
    l.m_nCurrentGroup = 3;
    for (int g = 0; g < CLayer::kUsed; ++g) l.m_dScale[static_cast<std::size_t>(g)] = 50.0 + g * 12.5;
    l.m_dScale[3] = 30.0;
    l.m_GrpLayerInfo[1].m_strName = "一階";
    l.m_GrpLayerInfo[1].m_nType = CLayerInfo::LAYER_VISIBLE;
    l.m_GrpLayerInfo[17].m_strName = "spare group";
    l.m_LayerInfo[2][5].m_strName = "壁, 柱\tand tab";
    l.m_LayerInfo[2][5].m_nType = CLayerInfo::LAYER_HIDDEN;
    l.m_LayerInfo[15][15].m_strName = "last";
    l.m_LayerInfo[17][17].m_nType = CLayerInfo::LAYER_VISIBLE;
    p.PlotPaperSize = 4;
    p.PlotPaperSizeUserX = 420;
    p.PlotPaperSizeUserY = 594;
    p.PlotWallBlack = 4;
    p.PlotWallColor = 0x123456;
    p.PlotHasiraColor = 2;
    p.PlotSirokuro = 1;
    p.PlotGradation = 3;
    p.PlotWallWide = 62.5;
    p.PlotHasiraWide = 105.25;
    p.PlotSunpoTextHeight = 5;
    p.PlotSunpokurai = 2;
    p.PlotSunpoOffset = 7;
    p.PlotMoveX = 455;
    p.PlotMoveY = 910;
    p.PlotImageWidth = 120;
    p.PlotImageHeight = 80;
    for (int s = 0; s < CPlotInfo::kSlots; ++s) {
        const auto i = static_cast<std::size_t>(s);
        p.PlotColor[i] = 0x0000FFu + static_cast<std::uint32_t>(s) * 0x010100u;
        p.PlotNakaColor[i] = 0x80FF00u + static_cast<std::uint32_t>(s);
        p.PlotNakaNuri[i] = s % 2;
        p.PlotNakaColor2[i] = 0x00C0C0u + static_cast<std::uint32_t>(s) * 0x10000u;
        p.PlotGradiation[i] = 4502 + s * 100;
        p.PlotbHach[i] = 1 - s % 2;
        p.PlotAlpha[i] = 40 + s * 5;
        p.PlotHachT[i] = s;
        p.PlotLineType[i] = 5 - s;
        p.PlotLineWide[i] = 10 - s;
        p.PlotLineTanten[i] = s + 1;
    }
    p.PlotSunpoTanten = 3;
    p.PlotSunpoYawide = 4;
    p.PlotSunpoTani = 2;
    p.PlotSunpoKugiri = 1;
    p.PlotLineYaWide = 3;
    p.PlotSunpoTextView = 0;
    p.PlotSunpoFont = "ＭＳ 明朝";
    return p;
}

// Every member that the "Grid" block carries set away from its default.
inline CGrid sampleGrid()
{
    CGrid g;
    // Literals with at most two decimals: the block stores "%.2f" and reads back the same doubles.
    g.GridW = {455.27, 910.0, 303.33, 1820.5, 606.67};
    g.GridD = {227.64, 1000.0, 303.03, 45.5, 3640.01};
    g.StGridW = {0.0, -12.5, 100.25, -0.75, 9.99};
    g.StGridD = {7.25, 0.0, -455.27, 1.0, 2.5};
    g.BGrid = {0, 0, 1, 0, 0};
    g.GridMemori = 0;
    g.GridMemoriType = 1;
    g.GridModule = 1000;
    return g;
}

} // namespace kov::test
