#include "devices/DeviceHooks.h"

#include "devices/Playback.h"
#include "devices/RecordDlg.h"
#include "devices/Recording.h"
#include "document/OrvaneDoc.h"

namespace kelvane {

namespace {

void StopAnyDevice(WaveObject& wave) {
    if (wave.deviceState == DeviceState::Playing)
        StopPlay(wave);
    else if (wave.deviceState == DeviceState::Recording)
        StopRecord(wave);
}

}  // namespace

void InstallDeviceHooks() {
    SetStopDeviceHook(&StopAnyDevice);
    DeviceHooks& hooks = Devices();
    hooks.startPlay = [](WaveObject& wave, std::uint32_t start, std::uint32_t count, int loop,
                         int device) {
        return static_cast<int>(StartPlay(wave, start, count, loop, device));
    };
    hooks.getPlayFrame = &GetPlayFrame;
    hooks.record = &RecordSound;
}

}  // namespace kelvane
