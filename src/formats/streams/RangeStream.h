#pragma once

#include <cstdint>
#include <memory>

#include "formats/streams/InnerStream.h"

namespace kelvane {

// Bytes [first, first + length) of a readable, seekable inner stream as a stream of their own.
class RangeStream final : public SampleStream {
  public:
    RangeStream(std::unique_ptr<SampleStream> inner, std::uint32_t first, std::uint32_t length);
    RangeStream(SampleStream& inner, std::uint32_t first, std::uint32_t length);

    std::uint32_t Read(void* destination, std::uint32_t count) override;
    std::uint32_t Seek(std::int32_t offset, std::uint32_t origin) override;
    std::uint32_t IsEof() override;
    std::uint32_t Caps() override { return CapsReadable | CapsSeekable; }
    std::uint32_t Size() override { return length_; }

  private:
    void Open();
    [[nodiscard]] std::uint32_t RangePosition();

    InnerStream inner_;
    std::uint32_t first_;
    std::uint32_t length_;
};

}  // namespace kelvane
