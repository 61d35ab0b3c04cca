#include "processing/EffectSettings.h"

#include "platform/profile/Profile.h"

namespace kelvane::settings_detail {

int ReadInt(const SettingsPlace& place, const char* profileSection, const char* key, int fallback) {
    return place.IsPrivate() ? GetPrivateProfileInt(place.section, key, fallback, place.file)
                             : GetProfileInt(profileSection, key, fallback);
}

void WriteInts(const SettingsPlace& place, const char* profileSection,
               const std::vector<std::pair<std::string, std::string>>& values) {
    if (place.IsPrivate())
        WritePrivateProfileValues(place.section, values, place.file);
    else
        WriteProfileValues(profileSection, values);
}

}  // namespace kelvane::settings_detail
