#pragma once

// A preview fixture: a container, plot settings, a selection and the preview's inputs on a
// transform of one device pixel per millimetre, and the recorded calls as readable lines.

#include "DrawerTestSupport.h"

#include "model/SelectionRecord.h"
#include "render/ToolPreviews.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kov::test::previews {

struct PreviewFixture {
    CKovUnit unit;
    CPlotInfo plot;
    SelectionRecord selection;
    CKovUnit::DrawEnvironment env = drawers::environmentWithPatterns();
    CKovUnit::PreviewInput in;
    DeviceTransform t = drawers::pixelTransform(4.0);

    PreviewFixture()
    {
        in.plot = &plot;
        in.selection = &selection;
        in.env = &env;
    }
    // Adds a figure and selects it.
    CKovLine& select(int kind, std::vector<CDbPoint> points, std::vector<double> params = {})
    {
        CKovLine& f = drawers::addFigure(unit, kind, std::move(points), std::move(params));
        selection.AddLineId(f.MLineID);
        return f;
    }
};

struct PreviewRow {
    const char* name;
    int tool;
    std::function<void(PreviewFixture&)> setup;
    std::vector<std::string> expected;  // the recorded calls, one line each
};

inline std::vector<std::string> drawPreview(PreviewFixture& f, int tool)
{
    platform::RecordingSurface s;
    f.unit.DrawToolPreview(s, f.t, tool, f.in);
    return s.dump();
}

inline std::string asInitializer(const std::vector<std::string>& lines)
{
    std::string out = "{";
    for (const std::string& l : lines) {
        std::string esc;
        for (char c : l) esc += c == '"' ? std::string("\\\"") : std::string(1, c);
        out += "\n    \"" + esc + "\",";
    }
    return out + "}";
}

inline void checkRows(const std::vector<PreviewRow>& rows)
{
    for (const PreviewRow& row : rows) {
        PreviewFixture f;
        row.setup(f);
        const std::vector<std::string> got = drawPreview(f, row.tool);
        EXPECT_EQ(got, row.expected) << row.name << "\n" << asInitializer(got);
    }
}

} // namespace kov::test::previews
