#pragma once

#include <string>

namespace kelvane {

// Where temporary sample files go: profile section "MISCELLANEOUS".
struct TempStorageSettings {
    int tempPathType = 0;  // 0 the system's temporary directory, 1 the user's directory
    std::string userDirectory;

    void Load();
    void Save() const;
    // The directory new WaveObjects are given. The user's directory is not checked; an empty
    // one makes the objects fall back to the system's.
    [[nodiscard]] std::string Apply() const;
};

}  // namespace kelvane
