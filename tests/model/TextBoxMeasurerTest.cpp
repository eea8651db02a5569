#include "model/TextBoxMeasurer.h"

#include "platform/RecordingSurface.h"

#include <gtest/gtest.h>

namespace {

// The recording surface measures with fixed fake metrics: a full-width character is one em wide, any
// other half an em, a line one em high (the font's height in pixels).
TEST(TextBoxMeasurer, BoxOfTheLongestLineAndEveryLine)
{
    struct Row {
        const char* name;
        const char* text;
        double size, spacing, gap, scale;
        int escapement;
        DeviceRect expected;
    };
    const Row rows[] = {
        {"two lines, CR ignored", "AB\r\nCDE", 5, 0, 0, 4, 0, {100, 50, 130, 90}},
        {"longest by code-page bytes, not characters", "ABCDE\n居間居", 5, 0, 0, 4, 0, {100, 50, 160, 90}},
        {"first of equally long lines", "居間\nABCD", 5, 1, 0, 4, 0, {100, 50, 148, 90}},
        {"empty text: one line high", "", 5, 0, 0, 4, 0, {100, 50, 100, 70}},
        {"tiny height becomes 2 pixels", "A", 0.1, 0, 0, 4, 0, {100, 50, 101, 52}},
        {"spacing after every character, gap after every line", "AB\nC", 5, 1, 0.5, 4, 0,
         {100, 50, 128, 94}},
        {"the angle does not enter", "AB\r\nCDE", 5, 0, 0, 4, 900, {100, 50, 130, 90}},
        {"empty lines count", "A\n\n", 5, 0, 0, 4, 0, {100, 50, 110, 110}},
    };
    for (const Row& r : rows) {
        kov::platform::RecordingSurface surface;
        const SurfaceTextBoxMeasurer measurer(surface);
        CFontMenu font;
        font.m_size = r.size;
        font.m_kankaku = r.spacing;
        font.m_gyoukan = r.gap;
        font.lfEscapement = r.escapement;
        EXPECT_EQ(measurer.TextBoxSize(100, 50, r.text, font, r.scale), r.expected) << r.name;
    }
}

} // namespace
