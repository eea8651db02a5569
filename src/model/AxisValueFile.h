#pragma once

// The axis-line values file "ats_atai.csv" and the axis-line settings. The file holds the spacings of
// the x lines on its first line and those of the y lines on its second, each value in millimetres
// followed by a comma ("910.00,1820.00,"), in code page 932 with CR LF line ends.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kov::platform {
class Profile;
}

// The axis-line settings of section KOV_T_UTILITY.
struct AxisLineSettings {
    int ats_kousa = 1;               // every line cut at the lines that cross it
    int ats_sunpouview = 1;          // dimension lines made
    int ats_houkou_sayu = 0;         // 0: x lines numbered from the left, else from the right
    int ats_houkou_jyoge = 0;        // 0: y lines numbered from the bottom, else from the top
    int ats_sen_syurui = 3;          // line type of the lines
    std::uint32_t ats_sen_color = 0; // colour of everything made ("%ld")
    std::string ats_kigou_y = "X";   // label prefix of the x lines
    std::string ats_kigou_t = "Y";   // label prefix of the y lines
    int ats_bangou_y = 0;            // number of the first x line
    int ats_bangou_t = 0;            // number of the first y line
    int ats_kigou_t_view = 0;        // x lines' circles: 0 top, 1 bottom, 2 both, 3 none
    int ats_kigou_y_view = 0;        // y lines' circles: 0 left, 1 right, 2 both, 3 none

    void Load(const kov::platform::Profile& profile);
    void Save(kov::platform::Profile& profile) const;
};

namespace kov::model {

// The two spacing lists of the values file.
struct AxisValues {
    // More spacings than this per line are not read (nor added by the dialog): a grid of a few
    // hundred lines each way is already far beyond a plan, and the lines, cuts and labels grow with
    // the product of the two counts.
    static constexpr std::size_t kMaxPerLine = 200;
    // A spacing beyond this (ten kilometres) is no axis spacing; it is dropped like a negative one.
    static constexpr double kMaxSpacing = 1.0e7;

    std::vector<double> x;
    std::vector<double> y;
};

// The values of the file's bytes: whole lines (LF, CR LF or none at the end of the file), each text
// before a comma read as a number, kept when above 0 and at most kMaxSpacing; text after a line's
// last comma and lines after the second are ignored.
AxisValues ParseAxisValues(std::string_view bytes);
// The file's values; a file that is missing or cannot be read gives two empty lists.
AxisValues ReadAxisValueFile(const std::filesystem::path& file);
// The file's text: each value "%.2f" and a comma, each line ended by CR LF.
std::string FormatAxisValues(const AxisValues& values);
// Writes the whole file beside itself and renames it over the old one; false with nothing harmed
// when it cannot be written.
bool WriteAxisValueFile(const std::filesystem::path& file, const AxisValues& values);

} // namespace kov::model
