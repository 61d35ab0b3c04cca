#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "wavedata/DataBlock.h"

namespace kelvane {

// The file a reader loads, mapped (existing file, sequential access, delete-on-close when the
// load flags ask for it). Null when it cannot be opened or mapped.
[[nodiscard]] std::unique_ptr<DataBlock> MapSourceFile(const std::string& fileName,
                                                       std::uint32_t flags, bool readOnly);

// A fixed memory copy of a block, made in 16384-byte steps; after each step phase 0 is
// reported at 50 + 50 * copied / size percent. Null when memory runs out.
[[nodiscard]] std::unique_ptr<DataBlock> CopyToMemory(const DataBlock& source,
                                                      ProgressFn progressFn, void* context);

// Reads of a mapped image that check every offset against its size first.
class ByteView {
  public:
    ByteView(const std::uint8_t* data, std::uint32_t size) : data_(data), size_(size) {}
    [[nodiscard]] std::uint32_t Size() const { return size_; }
    [[nodiscard]] bool Has(std::uint64_t offset, std::uint64_t bytes) const {
        return offset <= size_ && bytes <= size_ - offset;
    }
    [[nodiscard]] bool IdAt(std::uint64_t offset, const char id[4]) const;
    bool Be16(std::uint64_t offset, std::uint16_t& value) const;
    bool Be32(std::uint64_t offset, std::uint32_t& value) const;

  private:
    const std::uint8_t* data_;
    std::uint32_t size_;
};

// 16384-byte pieces: the unit of progress reports for copies, conversions and writes.
inline constexpr std::uint32_t kPieceBytes = 16384;

}  // namespace kelvane
