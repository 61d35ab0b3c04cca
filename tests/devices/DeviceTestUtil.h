#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "wavedata/WaveObject.h"

namespace kelvane::test {

// Runs the event loop until `done` holds or `seconds` pass; whether it held.
bool PumpUntil(const std::function<bool()>& done, double seconds);
void PumpFor(double seconds);

// A wave of `frames` frames of seeded noise, never silent, in any PCM layout.
std::unique_ptr<WaveObject> NoiseWave(const WaveFormat& format, std::uint32_t frames,
                                      std::uint32_t seed);

// Where a played range sits in a recording of it.
struct Match {
    bool found = false;
    std::uint32_t offset = 0;     // recorded frame of the range's first frame
    std::uint32_t span = 0;       // frames from the first to the last sounding one
    double correlation = 0;       // of the played range with the recording at `offset`
    std::uint32_t differing = 0;  // frames not equal to the played ones
};
Match FindInRecording(const WaveObject& played, std::uint32_t start, std::uint32_t count,
                      const WaveObject& recorded);

// Records from the default input, which the test server connects to the sink's monitor,
// while `play` runs; the recording goes on `tailSeconds` after `play` returns.
std::unique_ptr<WaveObject> RecordWhile(const WaveFormat& format, const std::function<void()>& play,
                                        double tailSeconds = 0.6);

}  // namespace kelvane::test
