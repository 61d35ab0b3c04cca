#pragma once

#include "platform/acm/AcmDriver.h"

namespace kelvane {

// PCM to PCM: any rate, 1 or 2 channels, 8 or 16 bits. Rates are changed by libsoxr at its
// high quality (20-bit precision, linear phase, as sox's default), without dither so that
// the same input always gives the same output.
class PcmDriver final : public AcmDriver {
  public:
    [[nodiscard]] std::uint16_t Tag() const override { return kTagPcm; }
    [[nodiscard]] const char* TagName() const override { return "PCM"; }
    [[nodiscard]] std::unique_ptr<AcmCodec> Open(const WaveFormat& source,
                                                 const WaveFormat& target) const override;
    [[nodiscard]] bool CanOpen(const WaveFormat& source, const WaveFormat& target) const override;
    void Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const override;
};

// Frames of one PCM layout rewritten in another, by the editor's frame rules (8-bit data
// widened by 256, mono taken as the average of both channels).
void ConvertPcmFrames(std::uint32_t sourceLayout, const std::uint8_t* source,
                      std::uint32_t targetLayout, std::uint8_t* target, std::uint32_t frames);

}  // namespace kelvane
