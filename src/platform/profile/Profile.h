#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Settings in INI files. The application profile is
// $XDG_CONFIG_HOME/Vantrel Software/Kelvane.ini (~/.config when unset); private profiles are
// files named by their callers. Sections and keys compare without regard to case. Every write
// replaces the whole file atomically, so a crash never leaves half a settings file.

[[nodiscard]] std::string ApplicationProfilePath();

// Integers read as the leading decimal number of the text (0 when there is none); a missing
// key gives the default.
[[nodiscard]] int GetProfileInt(std::string_view section, std::string_view key, int fallback);
bool WriteProfileInt(std::string_view section, std::string_view key, int value);
[[nodiscard]] std::string GetProfileString(std::string_view section, std::string_view key,
                                           std::string_view fallback);
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value);

[[nodiscard]] int GetPrivateProfileInt(std::string_view section, std::string_view key, int fallback,
                                       const std::string& file);
[[nodiscard]] std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                                  std::string_view fallback,
                                                  const std::string& file);
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& file);

}  // namespace kelvane
