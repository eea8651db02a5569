#pragma once

// The settings as a whole in the settings store: the first-run flag, saving the document's settings
// when the main frame closes and resetting every setting to the built-in values.

#include <string_view>

namespace kov::platform {
class Profile;
}

class CPlotInfo;
class CGrid;
class CFontMenu;

namespace kov::model {

// `registset` of KOV_T_UTILITY: 0 until the document settings were first saved.
bool settingsSaved(kov::platform::Profile& profile);

// What the main frame's close stores: plot settings (with the dash table and room font), grid and
// document font, then `registset` 1 so that new documents take them from now on.
void saveDocumentSettings(kov::platform::Profile& profile, const CPlotInfo& plot, const CGrid& grid,
                          const CFontMenu& font);

// Reset of all settings: `registset` 0, plot settings and grid refilled with the built-in values,
// the plot settings and the elevation defaults written.
void resetSettingsToBuiltIn(kov::platform::Profile& profile, CPlotInfo& plot, CGrid& grid,
                            std::string_view programFolder = {});

} // namespace kov::model
