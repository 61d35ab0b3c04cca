#pragma once

#include <cstdint>
#include <string>

#include "devices/Playback.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

class WaveIn;

// Records from a wave-in device into a temporary file in the wave's format; StopDevice turns
// the file into the wave's sample data.
DeviceCode StartRecord(WaveObject& wave, int device, WaveIn** handle = nullptr);
void StopRecord(WaveObject& wave);
// While recording, else 0.
[[nodiscard]] std::uint32_t GetRecordedFrames(const WaveObject& wave);
// The temporary file took no more (a full disk): the recording ends at its last whole buffer.
[[nodiscard]] bool RecordingWriteFailed(const WaveObject& wave);
[[nodiscard]] std::uint32_t GetLeftPeak(const WaveObject& wave);
[[nodiscard]] std::uint32_t GetRightPeak(const WaveObject& wave);
// The temporary file being written, "" when not recording.
[[nodiscard]] std::string RecordingFileName(const WaveObject& wave);

struct Peaks {
    std::uint32_t left = 0;
    std::uint32_t right = 0;
};
// Largest magnitude of each channel over whole frames of `bytes`, on the 16-bit scale
// (0 to 32768); both are 0 for a layout that is not PCM.
[[nodiscard]] Peaks MeasurePeaks(std::uint32_t frameLayout, const std::uint8_t* bytes,
                                 std::uint32_t count);

}  // namespace kelvane
