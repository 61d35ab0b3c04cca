#include "processing/EffectSettings.h"

#include "platform/profile/Profile.h"

namespace kelvane::settings_detail {

int ReadInt(const SettingsPlace& place, const char* profileSection, const char* key, int fallback) {
    return place.IsPrivate() ? GetPrivateProfileInt(place.section, key, fallback, place.file)
                             : GetProfileInt(profileSection, key, fallback);
}

void WriteInt(const SettingsPlace& place, const char* profileSection, const char* key, int value) {
    if (place.IsPrivate())
        WritePrivateProfileString(place.section, key, std::to_string(value), place.file);
    else
        WriteProfileInt(profileSection, key, value);
}

}  // namespace kelvane::settings_detail
