#pragma once

// The layer table of the plot settings: 16 layer groups of 16 layers each (the records hold 18 × 18),
// their states, names and scales, and the current layer group and layer.

#include "model/DefFile.h"

#include <array>
#include <string>
#include <string_view>

namespace kov::platform {
class Profile;
}

// One layer or layer group: its state and name.
class CLayerInfo : public CDefFile {
public:
    enum { LAYER_SNAP = 0, LAYER_VISIBLE = 1, LAYER_HIDDEN = 2 };

    int m_nType = LAYER_SNAP;   // "DATA_LayerType": 0 visible and snapped to, 1 visible only, 2 hidden
    std::string m_strName;      // "DATA_LayerStrName"

    CLayerInfo() = default;
    CLayerInfo(const CLayerInfo&) = default;
    CLayerInfo& operator=(const CLayerInfo&) = default;
    ~CLayerInfo() override = default;

    bool operator==(const CLayerInfo& o) const { return m_nType == o.m_nType && m_strName == o.m_strName; }
    bool operator!=(const CLayerInfo& o) const { return !(*this == o); }

    int WriteBlock(CArchive& ar, std::string_view block) const;

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;
};

class CLayer : public CDefFile {
public:
    static constexpr int kRecords = 18;   // rows and columns of the record table
    static constexpr int kUsed = 16;      // layer groups and layers in use

    int m_nCurrentGroup = 0;   // "Layer_Edit1"
    int m_nCurrentLayer = 0;   // "Layer_Edit2"
    std::array<std::array<CLayerInfo, kRecords>, kRecords> m_LayerInfo{}; // [group][layer]
    std::array<CLayerInfo, kRecords> m_GrpLayerInfo{};
    std::array<double, kRecords> m_dScale{};   // scale denominators (100 means 1 : 100), 100 when built
    // Reading counters: next group record; row and column of the next layer record.
    int m_nReadGroup = 0;
    int m_nReadRow = 0;
    int m_nReadColumn = 0;

    CLayer();
    CLayer(const CLayer&) = default;
    CLayer& operator=(const CLayer&) = default;
    ~CLayer() override = default;

    // Compares what the table holds; the reading counters are no part of it.
    bool operator==(const CLayer& o) const;
    bool operator!=(const CLayer& o) const { return !(*this == o); }

    // The current layer group's scale, cut to a whole number and 1 when that gives 0 (the stored form).
    int WholeScale() const;
    // Refuses a scale of 0 or below and no number: a scale divides wherever it is used.
    void SetAllScales(double scale);
    // Above 0 and at most kMaxScale: a denominator past it fits no int nor float it is narrowed to.
    static bool ValidScale(double scale);
    static constexpr double kMaxScale = 1.0e6;
    void ResetReadCounters() { m_nReadGroup = m_nReadRow = m_nReadColumn = 0; }

    // Resets the current indices, states and names of layers and groups 0-15 and reads the 16 scales.
    void LoadScaleProfile(kov::platform::Profile& profile);

    int WriteBlock(CArchive& ar, std::string_view block) const;

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override;
    int OnReadData(std::string_view key, std::string_view value) override;
};
