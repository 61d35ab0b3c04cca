#pragma once

#include <string>

namespace kelvane {

// Where temporary sample files go: profile section "MISCELLANEOUS". The editor and
// kelvane-batch read it and hand the folder to the sound data they make.
struct TempStorageSettings {
    int tempPathType = 0;  // 0 the system's temporary directory, 1 the user's directory
    std::string userDirectory;

    void Load();
    void Save() const;
    // The folder chosen: the user's directory (not checked), or empty for the system's.
    [[nodiscard]] std::string Apply() const;
};

}  // namespace kelvane
