#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// The one table of user-visible texts, keyed by string id. Each subsystem keeps its rows in
// its own file under resources/strings/; tests compare against this table, never against
// copied literals.
[[nodiscard]] std::string_view LoadString(std::uint32_t id);  // "" for an unknown id

// printf-style formatting of a table text ("%s", "%d", "%u", "%lu" and "%%").
[[nodiscard]] std::string FormatString(std::uint32_t id, ...);

}  // namespace kelvane
