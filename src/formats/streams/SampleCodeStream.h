#pragma once

#include <cstdint>
#include <memory>

#include "formats/streams/InnerStream.h"
#include "wavedata/WaveFormat.h"

namespace kelvane {

// Recodes PCM between two sample codes of the same width as it reads.
class SampleCodeStream final : public SampleStream {
  public:
    SampleCodeStream(std::unique_ptr<SampleStream> inner, SampleCode source, SampleCode target);
    SampleCodeStream(SampleStream& inner, SampleCode source, SampleCode target);

    // Delivers whole samples only: an odd count is read one byte short.
    std::uint32_t Read(void* destination, std::uint32_t count) override;
    std::uint32_t Seek(std::int32_t offset, std::uint32_t origin) override;
    std::uint32_t IsEof() override;
    std::uint32_t Caps() override { return CapsReadable | CapsSeekable; }
    std::uint32_t Size() override;

    // The recoding itself, in place over `bytes` bytes (whole 16-bit samples only for the
    // 16-bit codes); for writers that recode their own buffers.
    static void Recode(std::uint8_t* data, std::uint32_t bytes, SampleCode source,
                       SampleCode target);
    [[nodiscard]] static bool IsSixteenBit(SampleCode code);

  private:
    void Open();

    InnerStream inner_;
    SampleCode source_;
    SampleCode target_;
};

}  // namespace kelvane
