#pragma once

#include "platform/acm/AcmDriver.h"

namespace kelvane {

inline constexpr std::uint16_t kTagGsm610 = 0x31;

// GSM 6.10 (tag 0x31): 8000 Hz mono in 65-byte blocks of 320 samples (two frames packed as
// WAV files carry them), to and from 16-bit PCM.
class GsmDriver final : public AcmDriver {
  public:
    [[nodiscard]] std::uint16_t Tag() const override { return kTagGsm610; }
    [[nodiscard]] const char* TagName() const override { return "GSM 6.10"; }
    [[nodiscard]] std::unique_ptr<AcmCodec> Open(const WaveFormat& source,
                                                 const WaveFormat& target) const override;
    [[nodiscard]] bool CanOpen(const WaveFormat& source, const WaveFormat& target) const override;
    void Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const override;

    [[nodiscard]] static FormatPtr MakeFormat();
};

}  // namespace kelvane
