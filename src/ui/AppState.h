#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "view/ColorSettings.h"
#include "view/PositionFormat.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// What the whole editor shares: the settings loaded at start-up and changed by the preference
// dialogs, and the one clipboard sound of every document.
struct AppState {
    ColorSet screenColors = ColorSettings().Screen();
    ColorSet documentColors = ColorSettings().Document();
    int waveInDevice = -1;  // -1: the default device
    int waveOutDevice = -1;
    DisplayFormatSettings display;
    std::string tempDir;  // for new temporary sample files; empty: the system's
    int undoLevels = 20;
    std::uint64_t undoDiskLimit = 0;  // bytes; 0: half the folder's free space at each open
    std::unique_ptr<WaveObject> clipboardWave;
};

// The editor's one state, owned by the application object.
AppState& App();

}  // namespace kelvane
