#include "formats/streams/BlockStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kelvane {

BlockStream::BlockStream(std::unique_ptr<DataBlock> block)
    : owned_(std::move(block)), block_(owned_.get()), size_(block_ ? block_->size : 0) {
    SetMode(ModeReadable);
}

BlockStream::BlockStream(DataBlock& block) : block_(&block), size_(block.size) {
    SetMode(ModeReadable);
}

BlockStream::~BlockStream() = default;

void BlockStream::SetMode(Mode mode) {
    ok = 0;
    if (block_ == nullptr || block_->pointer == nullptr) return;
    if (mode == ModeWritable && block_->readOnly) return;
    ok = mode;
}

std::uint32_t BlockStream::Read(void* destination, std::uint32_t count) {
    if (ok == 0 || block_->pointer == nullptr || position_ >= size_) return 0;
    const std::uint32_t n = std::min(count, size_ - position_);
    std::memcpy(destination, block_->pointer + position_, n);
    position_ += n;
    return n;
}

std::uint32_t BlockStream::Write(const void* source, std::uint32_t count) {
    if (ok != ModeWritable || count == 0) return 0;
    const std::uint64_t end = std::uint64_t{position_} + count;
    if (end > std::numeric_limits<std::uint32_t>::max()) return 0;
    if (end > block_->size &&
        !Grow(static_cast<std::uint32_t>(std::min<std::uint64_t>(end + 32768, 0xFFFFFFFFu))))
        return 0;
    std::memcpy(block_->pointer + position_, source, count);
    position_ += count;
    size_ = std::max(size_, position_);
    return count;
}

bool BlockStream::Grow(std::uint32_t bytes) {
    if (block_->kind != BlockKind::Global) return false;
    auto* global = static_cast<GlobalBlock*>(block_);
    // A movable block only resizes while unlocked; the stream holds the one lock.
    global->Unlock();
    const bool grown = global->Resize(bytes) == bytes && global->size == bytes;
    global->Lock();
    return grown && global->pointer != nullptr;
}

std::uint32_t BlockStream::Seek(std::int32_t offset, std::uint32_t origin) {
    std::int64_t target;
    switch (origin) {
        case SeekStart:
            target = offset;
            break;
        case SeekCurrent:
            target = std::int64_t{position_} + offset;
            break;
        case SeekEnd:
            target = std::int64_t{size_} + offset;
            break;
        default:
            return kSeekFailed;
    }
    position_ = static_cast<std::uint32_t>(std::clamp<std::int64_t>(target, 0, size_));
    return position_;
}

}  // namespace kelvane
