#pragma once

#include "platform/acm/AcmDriver.h"

namespace kelvane {

inline constexpr std::uint16_t kTagMsAdpcm = 2;

// Microsoft ADPCM (tag 2), 4 bits, mono and stereo, to and from PCM at the same rate; the
// extra bytes carry the samples per block and the seven standard coefficient pairs.
class MsAdpcmDriver final : public AcmDriver {
  public:
    [[nodiscard]] std::uint16_t Tag() const override { return kTagMsAdpcm; }
    [[nodiscard]] const char* TagName() const override { return "Microsoft ADPCM"; }
    [[nodiscard]] std::unique_ptr<AcmCodec> Open(const WaveFormat& source,
                                                 const WaveFormat& target) const override;
    [[nodiscard]] bool CanOpen(const WaveFormat& source, const WaveFormat& target) const override;
    void Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const override;

    [[nodiscard]] static FormatPtr MakeFormat(std::uint32_t rate, std::uint16_t channels);
    [[nodiscard]] static std::uint32_t SamplesPerBlock(std::uint32_t blockAlign,
                                                       std::uint16_t channels);
};

}  // namespace kelvane
