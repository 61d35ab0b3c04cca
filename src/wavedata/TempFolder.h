#pragma once

#include <string>

namespace kelvane {

// The folder new temporary sample files go to, given the one the user chose (empty: the
// system's): a folder of this user's own inside it, made mode 0700 and checked to be theirs
// and not a link, so that other users can neither read nor plant sound data there. When it
// cannot be had, the chosen folder itself (the files in it are still private to the user).
// Always ends in '/'.
[[nodiscard]] std::string TempFolderFor(const std::string& chosen);

}  // namespace kelvane
