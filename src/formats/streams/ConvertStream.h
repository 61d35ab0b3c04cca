#pragma once

#include <cstdint>
#include <memory>

#include "formats/streams/AcmStream.h"
#include "formats/streams/InnerStream.h"

namespace kelvane {

// Any format to any format through up to three conversions: decode to 16-bit PCM, change
// rate and channels, encode. Two formats alike in tag, rate, bits and channels pass the
// inner stream through untouched.
class ConvertStream final : public SampleStream {
  public:
    ConvertStream(const WaveFormat& source, const WaveFormat& target,
                  std::unique_ptr<SampleStream> inner);
    ConvertStream(const WaveFormat& source, const WaveFormat& target, SampleStream& inner);

    std::uint32_t Read(void* destination, std::uint32_t count) override;
    std::uint32_t Seek(std::int32_t offset, std::uint32_t origin) override;
    std::uint32_t IsEof() override;
    std::uint32_t Caps() override { return CapsReadable | CapsSeekable; }
    std::uint32_t Size() override;

    [[nodiscard]] std::uint32_t StageCount() const { return stages_; }
    // The conversion of stage `index` (0 first), null past the last.
    [[nodiscard]] const AcmStream* Stage(std::uint32_t index) const;

  private:
    void Build(const WaveFormat& source, const WaveFormat& target);
    bool AddStage(const WaveFormat& from, const WaveFormat& to);
    [[nodiscard]] SampleStream* Last() const { return last_ ? last_.get() : inner_.get(); }

    InnerStream inner_;
    std::unique_ptr<AcmStream> last_;  // owns the stages before it
    std::uint32_t stages_ = 0;
};

}  // namespace kelvane
