#include "model/AxisValueFile.h"

#include "model/FileCommit.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

using kov::model::kSectionUtility;

void AxisLineSettings::Load(const kov::platform::Profile& p)
{
    ats_kousa = p.GetProfileInt(kSectionUtility, "ats_kousa", 1);
    ats_sunpouview = p.GetProfileInt(kSectionUtility, "ats_sunpouview", 1);
    ats_houkou_sayu = p.GetProfileInt(kSectionUtility, "ats_houkou_sayu", 0);
    ats_houkou_jyoge = p.GetProfileInt(kSectionUtility, "ats_houkou_jyoge", 0);
    ats_sen_syurui = p.GetProfileInt(kSectionUtility, "ats_sen_syurui", 3);
    // The colour is read as a decimal number and cut to a whole colour value.
    const double colour = kov::platform::parseDouble(p.GetProfileString(kSectionUtility, "ats_sen_color", "0"));
    ats_sen_color = colour <= 0 ? 0u : colour >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(colour);
    ats_kigou_y = p.GetProfileString(kSectionUtility, "ats_kigou_y", "X");
    ats_kigou_t = p.GetProfileString(kSectionUtility, "ats_kigou_t", "Y");
    ats_bangou_y = p.GetProfileInt(kSectionUtility, "ats_bangou_y", 0);
    ats_bangou_t = p.GetProfileInt(kSectionUtility, "ats_bangou_t", 0);
    ats_kigou_t_view = p.GetProfileInt(kSectionUtility, "ats_kigou_t_view", 0);
    ats_kigou_y_view = p.GetProfileInt(kSectionUtility, "ats_kigou_y_view", 0);
}

void AxisLineSettings::Save(kov::platform::Profile& p) const
{
    p.WriteProfileInt(kSectionUtility, "ats_kousa", ats_kousa);
    p.WriteProfileInt(kSectionUtility, "ats_sunpouview", ats_sunpouview);
    p.WriteProfileInt(kSectionUtility, "ats_houkou_sayu", ats_houkou_sayu);
    p.WriteProfileInt(kSectionUtility, "ats_houkou_jyoge", ats_houkou_jyoge);
    p.WriteProfileString(kSectionUtility, "ats_kigou_y", ats_kigou_y);
    p.WriteProfileInt(kSectionUtility, "ats_bangou_y", ats_bangou_y);
    p.WriteProfileInt(kSectionUtility, "ats_kigou_t_view", ats_kigou_t_view);
    p.WriteProfileString(kSectionUtility, "ats_kigou_t", ats_kigou_t);
    p.WriteProfileInt(kSectionUtility, "ats_bangou_t", ats_bangou_t);
    p.WriteProfileInt(kSectionUtility, "ats_kigou_y_view", ats_kigou_y_view);
    p.WriteProfileInt(kSectionUtility, "ats_sen_syurui", ats_sen_syurui);
    p.WriteProfileString(kSectionUtility, "ats_sen_color", kov::model::colourText(ats_sen_color));
}

namespace kov::model {

namespace {

std::vector<double> parseLine(std::string_view line)
{
    std::vector<double> values;
    std::size_t start = 0;
    for (std::size_t comma = line.find(','); comma != std::string_view::npos && values.size() < AxisValues::kMaxPerLine;
         comma = line.find(',', start)) {
        const double v = kov::platform::parseDouble(line.substr(start, comma - start));
        if (v > 0 && v <= AxisValues::kMaxSpacing)
            values.push_back(v);
        start = comma + 1;
    }
    return values;
}

} // namespace

AxisValues ParseAxisValues(std::string_view bytes)
{
    AxisValues out;
    std::vector<double>* lists[] = {&out.x, &out.y};
    for (std::vector<double>* list : lists) {
        if (bytes.empty())
            break;
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        *list = parseLine(line);
        bytes = lf == std::string_view::npos ? std::string_view{} : bytes.substr(lf + 1);
    }
    return out;
}

AxisValues ReadAxisValueFile(const std::filesystem::path& file)
{
    std::error_code ec;
    // Only a plain file is read: a FIFO or a device would block the command.
    if (!std::filesystem::is_regular_file(file, ec))
        return {};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseAxisValues(bytes);
}

std::string FormatAxisValues(const AxisValues& values)
{
    std::string text;
    for (const std::vector<double>* list : {&values.x, &values.y}) {
        for (double v : *list)
            text += kov::platform::formatFixed(v, 2) + ",";
        text += "\r\n";
    }
    return text;
}

bool WriteAxisValueFile(const std::filesystem::path& file, const AxisValues& values)
{
    const std::string text = FormatAxisValues(values);
    return CommitBytesToFile(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

} // namespace kov::model
