#pragma once

#include "platform/acm/AcmDriver.h"

namespace kelvane {

inline constexpr std::uint16_t kTagImaAdpcm = 0x11;

// IMA ADPCM (tag 0x11), 4 bits, mono and stereo, to and from PCM at the same rate.
class ImaAdpcmDriver final : public AcmDriver {
  public:
    [[nodiscard]] std::uint16_t Tag() const override { return kTagImaAdpcm; }
    [[nodiscard]] const char* TagName() const override { return "IMA ADPCM"; }
    [[nodiscard]] std::unique_ptr<AcmCodec> Open(const WaveFormat& source,
                                                 const WaveFormat& target) const override;
    [[nodiscard]] bool CanOpen(const WaveFormat& source, const WaveFormat& target) const override;
    void Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const override;

    // The usual layout: 256-byte blocks for mono up to 11025 Hz, doubling with the rate and
    // the channel count; the extra bytes hold the samples per block.
    [[nodiscard]] static FormatPtr MakeFormat(std::uint32_t rate, std::uint16_t channels);
    // Samples per channel in a block of `blockAlign` bytes (header sample included).
    [[nodiscard]] static std::uint32_t SamplesPerBlock(std::uint32_t blockAlign,
                                                       std::uint16_t channels);
};

}  // namespace kelvane
