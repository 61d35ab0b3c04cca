#pragma once

#include <cstdint>
#include <memory>

#include "wavedata/DataBlock.h"
#include "wavedata/SampleStream.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// Decoded 16-bit PCM of a whole MPEG audio file held in a data block, through the decoder
// module. The module is loaded when the first stream needs it and unloaded when the last
// open stream goes.
class MpegStream final : public SampleStream {
  public:
    explicit MpegStream(std::unique_ptr<DataBlock> block);
    ~MpegStream() override;

    std::uint32_t Read(void* destination, std::uint32_t count) override;
    std::uint32_t Seek(std::int32_t offset, std::uint32_t origin) override;
    std::uint32_t IsEof() override;
    std::uint32_t Caps() override { return CapsReadable | CapsSeekable; }
    std::uint32_t Size() override;
    // Fills the record (its size field set to 40 by the caller).
    void GetInfo(MpegInfo& info);

    // The streams now counted as open, and where the module is looked for first.
    [[nodiscard]] static std::uint32_t OpenCount();
    [[nodiscard]] static const char* LibraryPath();

  private:
    std::unique_ptr<DataBlock> block_;
    void* handle_ = nullptr;
};

}  // namespace kelvane
