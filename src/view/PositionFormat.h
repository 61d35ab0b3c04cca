#pragma once

#include <cstdint>
#include <string>

#include "wavedata/WaveFormat.h"

namespace kelvane {

// The unit positions are shown in, and what SMPTE and video frames count with.
struct DisplayFormatSettings {
    enum Unit : std::uint32_t { Bytes = 0, Samples, Seconds, Smpte, Frames, Beats };
    std::uint32_t unit = Samples;
    double framesPerSec = 15.0;
    double tempo = 120.0;

    // Profile section "DISPLAYFORMAT": frames per second are stored in hundredths, the tempo
    // as "%f" text.
    void Load();
    void Save() const;
};

// A frame count as text in the unit of `settings`, with the rate and block alignment of
// `format` (which may be null: rate and alignment count as 0).
[[nodiscard]] std::string FormatPosition(std::uint32_t frames, const WaveFormat* format,
                                         const DisplayFormatSettings& settings);

// The name of a unit, as the main frame's status bar shows it.
[[nodiscard]] std::string UnitName(std::uint32_t unit);

}  // namespace kelvane
