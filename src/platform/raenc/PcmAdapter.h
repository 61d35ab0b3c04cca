#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kelvane {

// Brings interleaved 16-bit PCM to the rate and channel count a codec takes. The one place
// where the encoder's input is resampled or mixed.
class PcmAdapter {
  public:
    PcmAdapter();
    ~PcmAdapter();
    PcmAdapter(const PcmAdapter&) = delete;
    PcmAdapter& operator=(const PcmAdapter&) = delete;

    // False when the conversion cannot be set up.
    bool Open(std::uint32_t inRate, std::uint16_t inChannels, std::uint32_t outRate,
              std::uint16_t outChannels);
    // Appends the converted samples of `frames` input frames to `out`.
    bool Convert(const std::int16_t* in, std::uint32_t frames, std::vector<std::int16_t>& out);
    // Appends what the conversion still holds back (resampler delay).
    bool Flush(std::vector<std::int16_t>& out);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kelvane
