#pragma once

#include <cstdint>

#include "wavedata/WaveObject.h"

namespace kelvane {

// Results of StartPlay and StartRecord.
enum class DeviceCode : int {
    Ok = 0,
    NothingToPlay = 2,
    DeviceFailed = 5,
    NoMemory = 6,
    NoTempFile = 7,
    NoData = 8,
    NoFirstBuffer = 10,
    Playing = 13,
    DeviceInUse = 14,
    NoSuchDevice = 15,
    Recording = 16,
};

inline constexpr std::uint32_t kPlayBuffers = 5;

// Plays `count` frames from `start`, repeating them until stopped when `loop` is nonzero.
DeviceCode StartPlay(WaveObject& wave, std::uint32_t start, std::uint32_t count, int loop,
                     int device);
// The frame now heard while playing, else 0.
[[nodiscard]] std::uint32_t GetPlayFrame(const WaveObject& wave);
void StopPlay(WaveObject& wave);

}  // namespace kelvane
