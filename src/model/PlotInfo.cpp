#include "model/PlotInfo.h"

#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <cmath>
#include <string>
#include <tuple>

using kov::model::colourText;
using kov::model::indexedKey;
using kov::model::numberedKey;
using kov::model::parseColour;
using kov::platform::formatFixed;
using kov::platform::parseDouble;
using kov::platform::parseInt;

namespace {

// The members the built-in defaults set, but laygray (which an assignment leaves alone).
template <class P>
auto scalarFieldsButLaygray(P& p)
{
    return std::tie(p.PlotPaperSize, p.PlotPaperSizeUserX, p.PlotPaperSizeUserY, p.PlotWallBlack, p.PlotWallColor,
                    p.PlotHasiraColor, p.PlotWallWide, p.walltype, p.PlotHasiraWide, p.hasiratype, p.PlotLinePita,
                    p.PlotWallPita, p.PlotMoveX, p.PlotMoveY, p.PlotSirokuro, p.PlotGradation, p.PlotImageWidth,
                    p.PlotImageHeight, p.linehutosag, p.linehutosap, p.PlotLineYaWide, p.keij_pich,
                    p.PlotSunpoTextHeight, p.PlotSunpokurai, p.PlotSunpoTanten, p.PlotSunpoYawide, p.PlotSunpoTani,
                    p.PlotSunpoKugiri, p.PlotSunpoTextView, p.PlotSunpoFont, p.PlotSunpoOffset);
}

// Every member that the built-in defaults set (all but the dash table, room settings, layer table,
// data folder and style slots).
template <class P>
auto scalarFields(P& p)
{
    return std::tuple_cat(std::tie(p.laygray), scalarFieldsButLaygray(p));
}

template <class P>
auto slotFields(P& p)
{
    return std::tie(p.PlotColor, p.PlotNakaColor, p.PlotNakaNuri, p.PlotNakaColor2, p.PlotGradiation, p.PlotbHach,
                    p.PlotPattern, p.PlotAlpha, p.PlotHachT, p.PlotLineType, p.PlotLineWide, p.PlotLineTanten);
}

// Everything an assignment takes: all but laygray.
template <class P>
auto assignedFields(P& p)
{
    return std::tuple_cat(std::tie(p.m_LinePichTable, p.m_RoomInfo, p.m_Layer, p.m_strDataPath),
                          scalarFieldsButLaygray(p), slotFields(p));
}

bool validWidthCode(int code)
{
    return code >= 1 && code <= CPlotInfo::kWidthCodes;
}

bool validMarkIndex(int index)
{
    return index >= 0 && index < CPlotInfo::kMarkSizes;
}

} // namespace

CPlotInfo::CPlotInfo()
{
    kov::platform::MemoryProfile empty;
    InitFromProfile(empty);
}

CPlotInfo::CPlotInfo(kov::platform::Profile& profile, std::string_view programFolder)
    : m_RoomInfo(profile)
{
    InitFromProfile(profile, programFolder);
}

CPlotInfo& CPlotInfo::operator=(const CPlotInfo& o)
{
    if (this != &o) assignedFields(*this) = assignedFields(o);
    return *this;
}

bool CPlotInfo::operator==(const CPlotInfo& o) const
{
    return laygray == o.laygray && assignedFields(*this) == assignedFields(o);
}

int CPlotInfo::PenWidth(int widthCode, bool printer) const
{
    if (!validWidthCode(widthCode)) widthCode = 1;
    const auto i = static_cast<std::size_t>(widthCode - 1);
    return printer ? linehutosap[i] : linehutosag[i];
}

double CPlotInfo::MarkSize(int index) const
{
    if (!validMarkIndex(index)) index = 0;
    return keij_pich[static_cast<std::size_t>(index)];
}

const CPlotInfo& CPlotInfo::builtIn()
{
    static const CPlotInfo defaults{BuiltInTag{}};
    return defaults;
}

void CPlotInfo::SetBuiltInDefaults()
{
    scalarFields(*this) = scalarFields(builtIn());
}

void CPlotInfo::ResetStyleSlots()
{
    slotFields(*this) = slotFields(builtIn());
}

int CPlotInfo::WriteBlock(CArchive& ar, std::string_view block) const
{
    auto slotsAsInt = [&](const char* prefix, const std::array<int, kSlots>& values) {
        for (int s = 0; s < kSlots; ++s)
            if (!WriteDataInt(ar, numberedKey(prefix, s), values[static_cast<std::size_t>(s)])) return false;
        return true;
    };
    auto slotsAsColour = [&](const char* prefix, const std::array<std::uint32_t, kSlots>& values) {
        for (int s = 0; s < kSlots; ++s)
            if (!WriteData(ar, numberedKey(prefix, s), colourText(values[static_cast<std::size_t>(s)]))) return false;
        return true;
    };
    auto tanten = [&]() {
        for (int s = 0; s < kSlots; ++s) {
            if (!WriteDataInt(ar, numberedKey("PlotLineTanten", s, true), PlotLineTanten[static_cast<std::size_t>(s)]))
                return false;
        }
        return true;
    };

    const bool ok = WriteStart(ar, block)
        && WriteDataInt(ar, "PlotVersion", kVersion)
        && WriteDataInt(ar, "PlotScale", m_Layer.WholeScale())
        && m_Layer.WriteBlock(ar, "PlotLayer")
        && WriteDataInt(ar, "PlotPaperSize", PlotPaperSize)
        && WriteDataInt(ar, "PlotPaperSizeUserX", PlotPaperSizeUserX)
        && WriteDataInt(ar, "PlotPaperSizeUserY", PlotPaperSizeUserY)
        && WriteDataInt(ar, "PlotWallBlack", PlotWallBlack)
        && WriteData(ar, "PlotWallColor", colourText(PlotWallColor))
        && WriteDataInt(ar, "PlotHasiraColor", PlotHasiraColor)
        && WriteDataInt(ar, "PlotSirokuro", PlotSirokuro)
        && WriteDataInt(ar, "PlotGradation", PlotGradation)
        && WriteDataFixed(ar, "PlotWallWide", PlotWallWide)
        && WriteDataFixed(ar, "PlotHasiraWide", PlotHasiraWide)
        && WriteDataInt(ar, "PlotLinePita", PlotLinePita)
        && WriteDataInt(ar, "PlotWallPita", PlotWallPita)
        && WriteDataInt(ar, "PlotSunpoTextHeight", PlotSunpoTextHeight)
        && WriteDataInt(ar, "PlotSunpokurai", PlotSunpokurai)
        && WriteDataInt(ar, "PlotSunpoOffset", PlotSunpoOffset)
        && WriteDataInt(ar, "PlotMoveX", PlotMoveX)
        && WriteDataInt(ar, "PlotMoveY", PlotMoveY)
        && WriteDataInt(ar, "PlotImageWidth", PlotImageWidth)
        && WriteDataInt(ar, "PlotImageHeight", PlotImageHeight)
        && slotsAsColour("PlotColor", PlotColor)
        && slotsAsColour("PlotNakaColor", PlotNakaColor)
        && slotsAsInt("PlotNakaNuri", PlotNakaNuri)
        && slotsAsInt("PlotbHach", PlotbHach)
        && slotsAsInt("PlotHachT", PlotHachT)
        && slotsAsInt("PlotLineType", PlotLineType)
        && slotsAsInt("PlotLineWide", PlotLineWide)
        && tanten()
        && WriteDataInt(ar, "PlotSunpoTanten", PlotSunpoTanten)
        && WriteDataInt(ar, "PlotSunpoYawide", PlotSunpoYawide)
        && WriteDataInt(ar, "PlotSunpoTani", PlotSunpoTani)
        && WriteDataInt(ar, "PlotSunpoKugiri", PlotSunpoKugiri)
        && WriteDataInt(ar, "PlotLineYaWide", PlotLineYaWide)
        // Keys the reader has always taken: without them a reopened document loses the slots'
        // gradient, opacity and second fill colour and the dimension text settings.
        && WriteDataInt(ar, "PlotSunpoTextView", PlotSunpoTextView)
        && WriteData(ar, "PlotSunpoFont", PlotSunpoFont)
        && slotsAsInt("PlotGradiation", PlotGradiation)
        && slotsAsInt("PlotAlpha", PlotAlpha)
        && slotsAsColour("PlotNakaColor2", PlotNakaColor2)
        && WriteEnd(ar, block);
    return ok ? 1 : 0;
}

CDefFile::RD_STATUS CPlotInfo::OnReadStart(CArchive& ar, std::string_view block)
{
    if (!keyIs(block, "PlotLayer")) return RD_SKIP;
    m_Layer.ResetReadCounters();
    return m_Layer.Load(ar, block) ? RD_READ : RD_FAILED;
}

int CPlotInfo::OnReadData(std::string_view key, std::string_view value)
{
    int s = 0;
    const auto slot = [&]() { return static_cast<std::size_t>(s); };
    const int number = parseInt(value);

    if (keyIs(key, "PlotVersion") || keyIs(key, "PlotLinePita") || keyIs(key, "PlotWallPita")) {
        // accepted and ignored: the snap switches are the user's, not the document's
    } else if (keyIs(key, "PlotScale")) {
        m_Layer.SetAllScales(number); // refuses a scale of 0 or below
    } else if (keyIs(key, "PlotPaperSize")) PlotPaperSize = number;
    else if (keyIs(key, "PlotPaperSizeUserX")) PlotPaperSizeUserX = number;
    else if (keyIs(key, "PlotPaperSizeUserY")) PlotPaperSizeUserY = number;
    else if (keyIs(key, "PlotWallBlack")) PlotWallBlack = number;
    else if (keyIs(key, "PlotWallColor")) PlotWallColor = parseColour(value);
    else if (keyIs(key, "PlotHasiraColor")) PlotHasiraColor = number;
    else if (keyIs(key, "PlotSirokuro")) PlotSirokuro = number;
    else if (keyIs(key, "PlotGradation")) PlotGradation = number;
    else if (keyIs(key, "PlotWallWide")) PlotWallWide = parseDouble(value);
    else if (keyIs(key, "PlotHasiraWide")) PlotHasiraWide = parseDouble(value);
    else if (keyIs(key, "PlotSunpoTextHeight")) PlotSunpoTextHeight = number;
    else if (keyIs(key, "PlotSunpokurai")) PlotSunpokurai = number;
    else if (keyIs(key, "PlotSunpoOffset")) PlotSunpoOffset = number;
    else if (keyIs(key, "PlotMoveX")) PlotMoveX = number;
    else if (keyIs(key, "PlotMoveY")) PlotMoveY = number;
    else if (keyIs(key, "PlotImageWidth")) PlotImageWidth = number;
    else if (keyIs(key, "PlotImageHeight")) PlotImageHeight = number;
    else if (indexedKey(key, "PlotColor", kSlots, s)) PlotColor[slot()] = parseColour(value);
    else if (indexedKey(key, "PlotNakaColor2", kSlots, s)) PlotNakaColor2[slot()] = parseColour(value);
    else if (indexedKey(key, "PlotNakaColor", kSlots, s)) PlotNakaColor[slot()] = parseColour(value);
    else if (indexedKey(key, "PlotNakaNuri", kSlots, s)) PlotNakaNuri[slot()] = number;
    else if (indexedKey(key, "PlotbHach", kSlots, s)) PlotbHach[slot()] = number;
    else if (indexedKey(key, "PlotHachT", kSlots, s)) PlotHachT[slot()] = number;
    else if (indexedKey(key, "PlotLineType", kSlots, s)) PlotLineType[slot()] = number;
    else if (indexedKey(key, "PlotLineWide", kSlots, s)) {
        // a width code picks a pen width from the tables: outside 1-10 keep the current one
        if (validWidthCode(number)) PlotLineWide[slot()] = number;
    } else if (indexedKey(key, "PlotLineTanten", kSlots, s, true)) PlotLineTanten[slot()] = number;
    else if (indexedKey(key, "PlotGradiation", kSlots, s)) PlotGradiation[slot()] = number;
    else if (indexedKey(key, "PlotAlpha", kSlots, s)) PlotAlpha[slot()] = number;
    else if (keyIs(key, "PlotSunpoTanten")) PlotSunpoTanten = number;
    else if (keyIs(key, "PlotSunpoYawide")) {
        if (validMarkIndex(number)) PlotSunpoYawide = number;
    } else if (keyIs(key, "PlotSunpoTani")) PlotSunpoTani = number;
    else if (keyIs(key, "PlotSunpoKugiri")) PlotSunpoKugiri = number;
    else if (keyIs(key, "PlotLineYaWide")) {
        if (validMarkIndex(number)) PlotLineYaWide = number;
    } else if (keyIs(key, "PlotSunpoTextView")) PlotSunpoTextView = number;
    else if (keyIs(key, "PlotSunpoFont")) PlotSunpoFont = CFontMenu::limitFaceName(value);
    return 1;
}
