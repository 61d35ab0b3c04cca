#pragma once

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kelvane {

// Where an effect keeps its settings: the application profile under the effect's own section
// when `file` is empty, otherwise the private settings file under `section` (batch
// conversion passes "BATCH").
struct SettingsPlace {
    std::string file;
    std::string section;

    [[nodiscard]] bool IsPrivate() const { return !file.empty(); }
};

// One integer setting of an effect: its key, the field it fills and its defaults. A few keys
// default differently when read from a private file (batch conversion).
template <typename Settings>
struct IntKey {
    const char* key;
    int Settings::*field;
    int fallback;
    int privateFallback;
    constexpr IntKey(const char* k, int Settings::*f, int d) : IntKey(k, f, d, d) {}
    constexpr IntKey(const char* k, int Settings::*f, int d, int pd)
        : key(k), field(f), fallback(d), privateFallback(pd) {}
};

namespace settings_detail {
int ReadInt(const SettingsPlace& place, const char* profileSection, const char* key, int fallback);
// Key and "%d" text pairs, written in one replacement of the file.
void WriteInts(const SettingsPlace& place, const char* profileSection,
               const std::vector<std::pair<std::string, std::string>>& values);
}  // namespace settings_detail

// Reads every key of the table into `settings`.
template <typename Settings>
void LoadSettings(Settings& settings, std::span<const IntKey<Settings>> keys,
                  const SettingsPlace& place, const char* profileSection) {
    for (const auto& k : keys) {
        const int fallback = place.IsPrivate() ? k.privateFallback : k.fallback;
        settings.*(k.field) = settings_detail::ReadInt(place, profileSection, k.key, fallback);
    }
}

// Writes every key of the table ("%d" text in a private file), all in one write of the file.
template <typename Settings>
void SaveSettings(const Settings& settings, std::span<const IntKey<Settings>> keys,
                  const SettingsPlace& place, const char* profileSection) {
    std::vector<std::pair<std::string, std::string>> values;
    values.reserve(keys.size());
    for (const auto& k : keys) values.emplace_back(k.key, std::to_string(settings.*(k.field)));
    settings_detail::WriteInts(place, profileSection, values);
}

}  // namespace kelvane
