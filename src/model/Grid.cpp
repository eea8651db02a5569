#include "model/Grid.h"

#include "model/SettingsValues.h"
#include "platform/NumberText.h"

#include <cmath>
#include <string>
#include <tuple>

using kov::model::formatDecimals;
using kov::model::indexedKey;
using kov::model::numberedKey;
using kov::platform::parseDouble;
using kov::platform::parseInt;

namespace {

auto fields(const CGrid& g)
{
    return std::tie(g.visible, g.GridW, g.GridD, g.StGridW, g.StGridD, g.BGrid, g.GridModule, g.kyutyaku,
                    g.kyutyakukankaku, g.app_griddot, g.GridMemori, g.GridMemoriType, g.color, g.colorp);
}

} // namespace

bool CGrid::operator==(const CGrid& o) const
{
    return fields(*this) == fields(o);
}

int CGrid::ModuleFromCode(int value)
{
    if (value == 0) return 910;
    if (value == 1) return 1000;
    return value;
}

int CGrid::WriteBlock(CArchive& ar, std::string_view block) const
{
    if (!WriteStart(ar, block)) return 0;
    for (int i = 0; i < kGrids; ++i) {
        const auto n = static_cast<std::size_t>(i);
        const bool ok = WriteData(ar, numberedKey("GridW", i, true), formatDecimals(GridW[n], 2))
            && WriteData(ar, numberedKey("GridD", i, true), formatDecimals(GridD[n], 2))
            && WriteData(ar, numberedKey("StGridW", i, true), formatDecimals(StGridW[n], 2))
            && WriteData(ar, numberedKey("StGridD", i, true), formatDecimals(StGridD[n], 2))
            && WriteDataInt(ar, numberedKey("BGrid", i, true), BGrid[n]);
        if (!ok) return 0;
    }
    const bool ok = WriteDataInt(ar, "GridMemori", GridMemori)
        && WriteDataInt(ar, "GridMemoriType", GridMemoriType)
        && WriteDataInt(ar, "GridModule", GridModule)
        && WriteEnd(ar, block);
    return ok ? 1 : 0;
}

CDefFile::RD_STATUS CGrid::OnReadStart(CArchive&, std::string_view)
{
    return RD_SKIP;
}

int CGrid::OnReadData(std::string_view key, std::string_view value)
{
    int i = 0;
    // Spacings divide the view into grid lines: one of 0 or below, or no number, keeps the old one.
    auto spacing = [&](double& member) {
        const double v = parseDouble(value);
        if (std::isfinite(v) && v > 0.0) member = v;
    };
    auto position = [&](double& member) {
        const double v = parseDouble(value);
        if (std::isfinite(v)) member = v;
    };
    if (indexedKey(key, "GridW", kGrids, i, true)) spacing(GridW[static_cast<std::size_t>(i)]);
    else if (indexedKey(key, "GridD", kGrids, i, true)) spacing(GridD[static_cast<std::size_t>(i)]);
    else if (indexedKey(key, "StGridW", kGrids, i, true)) position(StGridW[static_cast<std::size_t>(i)]);
    else if (indexedKey(key, "StGridD", kGrids, i, true)) position(StGridD[static_cast<std::size_t>(i)]);
    else if (indexedKey(key, "BGrid", kGrids, i, true)) BGrid[static_cast<std::size_t>(i)] = parseInt(value);
    else if (keyIs(key, "GridMemori")) GridMemori = parseInt(value);
    else if (keyIs(key, "GridMemoriType")) GridMemoriType = parseInt(value);
    else if (keyIs(key, "GridModule")) GridModule = ModuleFromCode(parseInt(value));
    // "GridVisible" and "GridKyutyaku" are accepted and ignored: the switches stay as they are.
    return 1;
}
