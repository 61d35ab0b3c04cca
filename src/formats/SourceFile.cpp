#include "formats/SourceFile.h"

#include <algorithm>
#include <cstring>

#include "formats/FileError.h"

namespace kelvane {

std::unique_ptr<DataBlock> MapSourceFile(const std::string& fileName, std::uint32_t flags,
                                         bool readOnly) {
    auto block = std::make_unique<MappedFileBlock>(
        0, fileName.c_str(), (flags & LOAD_DELETE_ON_CLOSE) != 0, nullptr, readOnly, true);
    if (block->pointer == nullptr) return nullptr;
    return block;
}

std::unique_ptr<DataBlock> CopyToMemory(const DataBlock& source, ProgressFn progressFn,
                                        void* context) {
    auto copy = std::make_unique<GlobalBlock>(source.size, true);
    if (copy->pointer == nullptr) return nullptr;
    const std::uint32_t size = source.size;
    for (std::uint32_t done = 0; done < size;) {
        const std::uint32_t n = std::min(kPieceBytes, size - done);
        std::memcpy(copy->pointer + done, source.pointer + done, n);
        done += n;
        if (progressFn != nullptr &&
            !progressFn(context, 0,
                        static_cast<std::uint32_t>(50 + std::uint64_t{50} * done / size)))
            return nullptr;
    }
    return copy;
}

bool ByteView::IdAt(std::uint64_t offset, const char id[4]) const {
    return Has(offset, 4) && std::memcmp(data_ + offset, id, 4) == 0;
}

bool ByteView::Be16(std::uint64_t offset, std::uint16_t& value) const {
    if (!Has(offset, 2)) return false;
    const std::uint8_t* p = data_ + offset;
    value = static_cast<std::uint16_t>(p[0] << 8 | p[1]);
    return true;
}

bool ByteView::Be32(std::uint64_t offset, std::uint32_t& value) const {
    if (!Has(offset, 4)) return false;
    const std::uint8_t* p = data_ + offset;
    value = std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 |
            std::uint32_t{p[3]};
    return true;
}

}  // namespace kelvane
