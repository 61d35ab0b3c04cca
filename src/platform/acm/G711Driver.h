#pragma once

#include "platform/acm/AcmDriver.h"

namespace kelvane {

// CCITT G.711 Mu-Law (tag 7) or A-Law (tag 6), 8 bits, to and from PCM at the same rate and
// channel count, bit-exact with the ITU reference tables.
class G711Driver final : public AcmDriver {
  public:
    explicit G711Driver(std::uint16_t tag) : tag_(tag) {}
    [[nodiscard]] std::uint16_t Tag() const override { return tag_; }
    [[nodiscard]] const char* TagName() const override;
    [[nodiscard]] std::unique_ptr<AcmCodec> Open(const WaveFormat& source,
                                                 const WaveFormat& target) const override;
    [[nodiscard]] bool CanOpen(const WaveFormat& source, const WaveFormat& target) const override;
    void Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const override;

    [[nodiscard]] static WaveFormat MakeFormat(std::uint16_t tag, std::uint32_t rate,
                                               std::uint16_t channels);
    // The reference expansion and compression of one sample.
    [[nodiscard]] static std::int16_t Expand(std::uint16_t tag, std::uint8_t code);
    [[nodiscard]] static std::uint8_t Compress(std::uint16_t tag, std::int16_t sample);

  private:
    [[nodiscard]] bool IsLawFormat(const WaveFormat& f) const;
    std::uint16_t tag_;
};

}  // namespace kelvane
