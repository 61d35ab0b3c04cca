#include "formats/streams/RangeStream.h"

#include <algorithm>

namespace kelvane {

RangeStream::RangeStream(std::unique_ptr<SampleStream> inner, std::uint32_t first,
                         std::uint32_t length)
    : inner_(std::move(inner)), first_(first), length_(length) {
    Open();
}

RangeStream::RangeStream(SampleStream& inner, std::uint32_t first, std::uint32_t length)
    : inner_(inner), first_(first), length_(length) {
    Open();
}

void RangeStream::Open() {
    if (!inner_.Offers(CapsReadable | CapsSeekable)) return;
    inner_->Seek(static_cast<std::int32_t>(first_), SeekStart);
    ok = 1;
}

// Wraps to a huge value when someone moved the inner stream before the range, which then
// reads as past the end.
std::uint32_t RangeStream::RangePosition() {
    return inner_->Seek(0, SeekCurrent) - first_;
}

std::uint32_t RangeStream::Read(void* destination, std::uint32_t count) {
    if (!ok) return 0;
    const std::uint32_t position = RangePosition();
    if (position >= length_) return 0;
    return inner_->Read(destination, std::min(count, length_ - position));
}

std::uint32_t RangeStream::Seek(std::int32_t offset, std::uint32_t origin) {
    if (!ok) return kSeekFailed;
    std::int64_t target;
    switch (origin) {
        case SeekStart:
            target = offset;
            break;
        case SeekCurrent:
            target = std::int64_t{RangePosition()} + offset;
            break;
        case SeekEnd:
            target = std::int64_t{length_} + offset;
            break;
        default:
            return kSeekFailed;
    }
    target = std::clamp<std::int64_t>(target, 0, length_);
    const std::uint32_t inner = inner_->Seek(
        static_cast<std::int32_t>(first_ + static_cast<std::uint32_t>(target)), SeekStart);
    return inner == kSeekFailed ? kSeekFailed : inner - first_;
}

std::uint32_t RangeStream::IsEof() {
    if (!ok) return 1;
    return inner_->IsEof() || RangePosition() >= length_;
}

}  // namespace kelvane
