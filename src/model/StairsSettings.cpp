#include "model/StairsSettings.h"

#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

using kov::model::kSectionUtility;

void StairsSettings::Load(const kov::platform::Profile& p)
{
    kaidan_mode = p.GetProfileInt(kSectionUtility, "kaidan_mode", STRAIGHT);
    kaidan_tyokumode = p.GetProfileInt(kSectionUtility, "kaidan_tyokumode", 1);
    kaidan_dansuu = p.GetProfileInt(kSectionUtility, "kaidan_dansuu", 5);
    kaidan_dan1 = kov::platform::parseDouble(p.GetProfileString(kSectionUtility, "kaidan_dan1", "150"));
    kaidan_magarisuu = p.GetProfileInt(kSectionUtility, "kaidan_magarisuu", 2);
    kaidan_kabesin = p.GetProfileInt(kSectionUtility, "kaidan_kabesin", 1);
    kaidan_nakanuri = p.GetProfileInt(kSectionUtility, "kaidan_nakanuri", 1);
    kaidan_magarisikaku = p.GetProfileInt(kSectionUtility, "kaidan_magarisikaku", 0);
    kaidan_nakacolor = kov::model::parseColour(
        p.GetProfileString(kSectionUtility, "kaidan_nakacolor", kov::model::colourText(0xFFFFFF)));
}

void StairsSettings::Save(kov::platform::Profile& p) const
{
    p.WriteProfileInt(kSectionUtility, "kaidan_mode", kaidan_mode == END_OF_FLIGHT ? STRAIGHT : kaidan_mode);
    p.WriteProfileInt(kSectionUtility, "kaidan_tyokumode", kaidan_tyokumode);
    p.WriteProfileInt(kSectionUtility, "kaidan_dansuu", kaidan_dansuu);
    p.WriteProfileString(kSectionUtility, "kaidan_dan1", kov::platform::formatFixed(kaidan_dan1));
    p.WriteProfileInt(kSectionUtility, "kaidan_magarisuu", kaidan_magarisuu);
    p.WriteProfileInt(kSectionUtility, "kaidan_kabesin", kaidan_kabesin);
    p.WriteProfileInt(kSectionUtility, "kaidan_magarisikaku", kaidan_magarisikaku);
    p.WriteProfileInt(kSectionUtility, "kaidan_nakanuri", kaidan_nakanuri);
    p.WriteProfileString(kSectionUtility, "kaidan_nakacolor", kov::model::colourText(kaidan_nakacolor));
}
