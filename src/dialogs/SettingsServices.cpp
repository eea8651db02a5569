#include "dialogs/SettingsServices.h"

#include "platform/Profile.h"

namespace kov::dialogs {

int SettingsServices::Read(std::string_view section, std::string_view key, int defaultValue, bool fromCache) const
{
    if (fromCache && cachedValue)
        if (const std::optional<int> v = cachedValue(key)) return *v;
    return profile->GetProfileInt(section, key, defaultValue);
}

void SettingsServices::Write(std::string_view section, std::string_view key, int value, bool cached) const
{
    if (cached && writeCached && writeCached(key, value)) return;
    profile->WriteProfileInt(section, key, value);
}

kov::platform::CommonFolderSwitches SettingsServices::switches() const
{
    return kov::platform::readCommonFolderSwitches(*profile);
}

} // namespace kov::dialogs
