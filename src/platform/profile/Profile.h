#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// Keys and their texts, written to one section together: one replacement of the file, not
// one a key.
using ProfileValues = std::vector<std::pair<std::string, std::string>>;
bool WriteProfileValues(std::string_view section, const ProfileValues& values);
bool WritePrivateProfileValues(std::string_view section, const ProfileValues& values,
                               const std::string& file);
// For a private file just made empty for its caller (a temporary settings file): the values
// are its whole content, written in place with one write and not forced to disk, since no one
// can have read the file yet and it does not outlive the process that made it. A file that is
// not empty is replaced as WritePrivateProfileValues does.
bool WriteNewPrivateProfile(std::string_view section, const ProfileValues& values,
                            const std::string& file);

}  // namespace kelvane
