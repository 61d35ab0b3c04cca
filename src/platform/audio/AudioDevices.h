#pragma once

#include <QAudioDevice>
#include <QAudioFormat>
#include <cstdint>
#include <string>
#include <vector>

#include "wavedata/WaveFormat.h"

namespace kelvane {

// Results of opening a device, numbered as the device interface the editor was written for.
enum class DeviceResult : std::uint32_t { NoError = 0, Error = 1, BadDeviceId = 2, Allocated = 4 };

// -1 names the system's default device.
inline constexpr int kDefaultDevice = -1;

// A device buffer, the counterpart of a wave header. While queued it belongs to the device.
struct WaveBuffer {
    std::vector<std::uint8_t> data;  // its size is the buffer's capacity
    std::uint32_t bytes = 0;         // to play, or recorded
    std::uintptr_t user = 0;
};

// Product names in device-number order (sorted by the server's device names, so the numbers
// stay put from run to run).
[[nodiscard]] std::vector<std::string> WaveOutDeviceNames();
[[nodiscard]] std::vector<std::string> WaveInDeviceNames();

// The device of a number; BadDeviceId when there is none (no server, or past the list).
DeviceResult FindOutputDevice(int number, QAudioDevice& device);
DeviceResult FindInputDevice(int number, QAudioDevice& device);

// The PCM layouts the editor plays and records; false for anything else.
bool ToAudioFormat(const WaveFormat& format, QAudioFormat& out);

}  // namespace kelvane
