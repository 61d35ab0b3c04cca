#pragma once

#include <cstdint>
#include <memory>

#include "wavedata/DataBlock.h"
#include "wavedata/SampleStream.h"

namespace kelvane {

// Reads, and in writable mode writes, the bytes of a data block at a position. A writable
// stream grows its block as bytes pass the end; only a movable GlobalBlock can grow.
class BlockStream final : public SampleStream {
  public:
    enum Mode : std::uint32_t { ModeReadable = 1, ModeWritable = 2 };

    explicit BlockStream(std::unique_ptr<DataBlock> block);
    explicit BlockStream(DataBlock& block);
    ~BlockStream() override;

    // The ok flag doubles as the mode; a stream without a usable block stays at 0.
    void SetMode(Mode mode);

    std::uint32_t Read(void* destination, std::uint32_t count) override;
    std::uint32_t Write(const void* source, std::uint32_t count) override;
    std::uint32_t Seek(std::int32_t offset, std::uint32_t origin) override;
    std::uint32_t IsEof() override { return position_ >= size_; }
    std::uint32_t Caps() override {
        return CapsReadable | CapsWritable | CapsSeekable | CapsGrowable;
    }
    std::uint32_t Size() override { return size_; }

    [[nodiscard]] DataBlock* Block() const { return block_; }
    [[nodiscard]] std::uint32_t Position() const { return position_; }

  private:
    bool Grow(std::uint32_t bytes);

    std::unique_ptr<DataBlock> owned_;
    DataBlock* block_;
    std::uint32_t size_ = 0;
    std::uint32_t position_ = 0;
};

}  // namespace kelvane
