#pragma once

#include <cstdint>
#include <memory>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// "MUTE" is only ever recorded as 1; nothing reads it back for a purpose.
struct MuteSettings {
    int mute = 1;
};

inline constexpr char kMuteSection[] = "WAVE MUTE";
inline constexpr IntKey<MuteSettings> kMuteKeys[] = {{"MUTE", &MuteSettings::mute, 1}};

// Silences the selection (both samples 0, which 8-bit formats store as 128).
class MuteEffect {
  public:
    explicit MuteEffect(SettingsPlace place);

    // Records "MUTE" = 1 before it runs.
    [[nodiscard]] std::unique_ptr<WaveObject> Process(const WaveObject& source, std::uint32_t start,
                                                      std::uint32_t length,
                                                      ProgressIndicator* progress) const;

    MuteSettings settings;

  private:
    SettingsPlace place_;
};

}  // namespace kelvane
