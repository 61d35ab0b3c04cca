#pragma once

#include <cstdint>
#include <memory>

#include "formats/streams/InnerStream.h"
#include "platform/acm/AcmConversion.h"
#include "wavedata/WaveFormat.h"

namespace kelvane {

// One compression-manager conversion over an inner stream of source-format bytes, a
// quarter second of source at a time.
class AcmStream final : public SampleStream {
  public:
    AcmStream(const WaveFormat& source, const WaveFormat& target,
              std::unique_ptr<SampleStream> inner);
    AcmStream(const WaveFormat& source, const WaveFormat& target, SampleStream& inner);
    ~AcmStream() override;

    std::uint32_t Read(void* destination, std::uint32_t count) override;
    // Positions are in target bytes; the inner stream moves to whole source blocks.
    std::uint32_t Seek(std::int32_t offset, std::uint32_t origin) override;
    std::uint32_t IsEof() override;
    std::uint32_t Caps() override { return CapsReadable | CapsSeekable; }
    std::uint32_t Size() override;

    [[nodiscard]] const WaveFormat& SourceFormat() const { return *source_; }
    [[nodiscard]] const WaveFormat& TargetFormat() const { return *target_; }
    [[nodiscard]] SampleStream* Inner() const { return inner_.get(); }

  private:
    void Open();
    bool Refill();
    [[nodiscard]] std::uint32_t ToTarget(std::uint64_t sourceBytes) const;
    [[nodiscard]] bool Drained() const;

    bool open_ = false;
    FormatPtr source_;
    FormatPtr target_;
    InnerStream inner_;
    std::unique_ptr<AcmConversion> conversion_;
    std::uint32_t sourceBufferSize_ = 0;
    std::uint32_t targetBufferSize_ = 0;
    AcmStreamHeader header_;
    std::unique_ptr<std::uint8_t[]> sourceBuffer_;
    std::unique_ptr<std::uint8_t[]> targetBuffer_;
    std::uint32_t position_ = 0;  // within the converted bytes of the target buffer
    std::unique_ptr<std::uint8_t[]> carry_;
    std::uint32_t carried_ = 0;
    bool stalled_ = false;  // the last conversion at the end made nothing of the carried bytes
};

}  // namespace kelvane
