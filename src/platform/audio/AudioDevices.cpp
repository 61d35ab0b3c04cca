#include "platform/audio/AudioDevices.h"

#include <QMediaDevices>
#include <algorithm>

namespace kelvane {

namespace {

QList<QAudioDevice> Sorted(QList<QAudioDevice> devices) {
    std::sort(devices.begin(), devices.end(),
              [](const QAudioDevice& a, const QAudioDevice& b) { return a.id() < b.id(); });
    return devices;
}

std::vector<std::string> Names(const QList<QAudioDevice>& devices) {
    std::vector<std::string> names;
    for (const QAudioDevice& device : devices) names.push_back(device.description().toStdString());
    return names;
}

DeviceResult Find(int number, const QList<QAudioDevice>& devices, const QAudioDevice& fallback,
                  QAudioDevice& device) {
    if (number == kDefaultDevice) {
        device = fallback;
        return device.isNull() ? DeviceResult::BadDeviceId : DeviceResult::NoError;
    }
    if (number < 0 || number >= devices.size()) return DeviceResult::BadDeviceId;
    device = devices[number];
    return DeviceResult::NoError;
}

}  // namespace

std::vector<std::string> WaveOutDeviceNames() {
    return Names(Sorted(QMediaDevices::audioOutputs()));
}

std::vector<std::string> WaveInDeviceNames() {
    return Names(Sorted(QMediaDevices::audioInputs()));
}

DeviceResult FindOutputDevice(int number, QAudioDevice& device) {
    return Find(number, Sorted(QMediaDevices::audioOutputs()), QMediaDevices::defaultAudioOutput(),
                device);
}

DeviceResult FindInputDevice(int number, QAudioDevice& device) {
    return Find(number, Sorted(QMediaDevices::audioInputs()), QMediaDevices::defaultAudioInput(),
                device);
}

bool ToAudioFormat(const WaveFormat& format, QAudioFormat& out) {
    if (format.formatTag != kTagPcm || format.samplesPerSec == 0) return false;
    if (format.channels != 1 && format.channels != 2) return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return false;
    out.setSampleRate(static_cast<int>(format.samplesPerSec));
    out.setChannelCount(format.channels);
    out.setSampleFormat(format.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    return true;
}

}  // namespace kelvane
