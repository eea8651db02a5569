#include "model/Layer.h"

#include "model/Geometry.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"

#include <cmath>

using kov::model::indexedKey;
using kov::model::numberedKey;
using kov::platform::formatFixed;
using kov::platform::parseDouble;
using kov::platform::parseInt;

namespace {

std::string withoutLineBreaks(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

} // namespace

// ---- CLayerInfo ----

int CLayerInfo::WriteBlock(CArchive& ar, std::string_view block) const
{
    const bool ok = WriteStart(ar, block)
        && WriteDataInt(ar, "DATA_LayerType", m_nType)
        && WriteData(ar, "DATA_LayerStrName", withoutLineBreaks(m_strName))
        && WriteEnd(ar, block);
    return ok ? 1 : 0;
}

CDefFile::RD_STATUS CLayerInfo::OnReadStart(CArchive&, std::string_view)
{
    return RD_SKIP;
}

int CLayerInfo::OnReadData(std::string_view key, std::string_view value)
{
    if (keyIs(key, "DATA_LayerType"))
        m_nType = parseInt(value);
    else if (key == "DATA_LayerStrName") // this one key has always compared with case
        m_strName = std::string(value);
    return 1;
}

// ---- CLayer ----

CLayer::CLayer()
{
    m_dScale.fill(100.0);
}

bool CLayer::operator==(const CLayer& o) const
{
    return m_nCurrentGroup == o.m_nCurrentGroup && m_nCurrentLayer == o.m_nCurrentLayer
        && m_LayerInfo == o.m_LayerInfo && m_GrpLayerInfo == o.m_GrpLayerInfo && m_dScale == o.m_dScale;
}

int CLayer::WholeScale() const
{
    const int group = (m_nCurrentGroup >= 0 && m_nCurrentGroup < kRecords) ? m_nCurrentGroup : 0;
    const int whole = truncToInt(m_dScale[static_cast<std::size_t>(group)]);
    return whole == 0 ? 1 : whole;
}

bool CLayer::ValidScale(double scale)
{
    return std::isfinite(scale) && scale > 0.0 && scale <= kMaxScale;
}

void CLayer::SetAllScales(double scale)
{
    if (!ValidScale(scale)) return;
    for (int g = 0; g < kUsed; ++g) m_dScale[static_cast<std::size_t>(g)] = scale;
}

int CLayer::WriteBlock(CArchive& ar, std::string_view block) const
{
    if (!WriteStart(ar, block)) return 0;
    for (const CLayerInfo& group : m_GrpLayerInfo)
        if (!group.WriteBlock(ar, "BLK_GrpLayerInfo")) return 0;
    for (const auto& row : m_LayerInfo)
        for (const CLayerInfo& layer : row)
            if (!layer.WriteBlock(ar, "BLK_LayerInfo")) return 0;
    if (!WriteDataInt(ar, "Layer_Edit1", m_nCurrentGroup)) return 0;
    if (!WriteDataInt(ar, "Layer_Edit2", m_nCurrentLayer)) return 0;
    for (int g = 0; g < kUsed; ++g)
        if (!WriteData(ar, numberedKey("Layer_dScale", g), formatFixed(m_dScale[static_cast<std::size_t>(g)])))
            return 0;
    return WriteEnd(ar, block) ? 1 : 0;
}

CDefFile::RD_STATUS CLayer::OnReadStart(CArchive& ar, std::string_view block)
{
    // Records go into a scratch object first so that a failed read leaves the table as it was.
    // Records beyond the table are skipped: the table has no room for them.
    if (keyIs(block, "BLK_LayerInfo")) {
        if (m_nReadRow < 0 || m_nReadRow >= kRecords || m_nReadColumn < 0 || m_nReadColumn >= kRecords)
            return RD_SKIP;
        CLayerInfo record;
        if (!record.Load(ar, block)) return RD_SKIP;
        m_LayerInfo[static_cast<std::size_t>(m_nReadRow)][static_cast<std::size_t>(m_nReadColumn)] = record;
        if (++m_nReadColumn >= kRecords) {
            m_nReadColumn = 0;
            ++m_nReadRow;
        }
        return RD_READ;
    }
    if (keyIs(block, "BLK_GrpLayerInfo")) {
        if (m_nReadGroup < 0 || m_nReadGroup >= kRecords) return RD_SKIP;
        CLayerInfo record;
        if (!record.Load(ar, block)) return RD_SKIP;
        m_GrpLayerInfo[static_cast<std::size_t>(m_nReadGroup++)] = record;
        return RD_READ;
    }
    return RD_SKIP;
}

int CLayer::OnReadData(std::string_view key, std::string_view value)
{
    int index = 0;
    if (keyIs(key, "Layer_Edit1")) {
        // Used as an index into the table: a group outside 0-15 keeps the current one.
        const int group = parseInt(value);
        if (group >= 0 && group < kUsed) m_nCurrentGroup = group;
    } else if (keyIs(key, "Layer_Edit2")) {
        m_nCurrentLayer = 0; // a document always opens on layer 0 of its group
    } else if (indexedKey(key, "Layer_Scale", kUsed, index)) {
        const double scale = parseInt(value);
        if (ValidScale(scale)) m_dScale[static_cast<std::size_t>(index)] = scale;
    } else if (indexedKey(key, "Layer_dScale", kUsed, index)) {
        const double scale = parseDouble(value);
        if (ValidScale(scale)) m_dScale[static_cast<std::size_t>(index)] = scale;
    }
    return 1;
}
