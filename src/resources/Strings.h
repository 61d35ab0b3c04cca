#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// The one table of user-visible texts, keyed by string id. Each subsystem keeps its rows in
// its own file under resources/strings/; tests compare against this table, never against
// copied literals.
[[nodiscard]] std::string_view LoadString(std::uint32_t id);  // "" for an unknown id

// The editor shows the table in the user's language: `translate` gives the translation of an
// English text of the table (the text itself when there is none). Set it once, before the
// first text is shown: each text is translated at its first use and kept. kelvane-batch and
// the tests set none and keep the English texts.
using StringTranslator = std::string (*)(const char* english);
void SetStringTranslator(StringTranslator translate);

// printf-style formatting of a table text ("%s", "%d", "%u", "%lu" and "%%").
[[nodiscard]] std::string FormatString(std::uint32_t id, ...);

}  // namespace kelvane
