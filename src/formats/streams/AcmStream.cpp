#include "formats/streams/AcmStream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kelvane {

namespace {
constexpr std::uint32_t kMaxSourceBuffer = 1u << 20;
}  // namespace

AcmStream::AcmStream(const WaveFormat& source, const WaveFormat& target,
                     std::unique_ptr<SampleStream> inner)
    : source_(CopyFormat(source)), target_(CopyFormat(target)), inner_(std::move(inner)) {
    Open();
}

AcmStream::AcmStream(const WaveFormat& source, const WaveFormat& target, SampleStream& inner)
    : source_(CopyFormat(source)), target_(CopyFormat(target)), inner_(inner) {
    Open();
}

AcmStream::~AcmStream() {
    if (open_) conversion_->Unprepare(header_);
}

void AcmStream::Open() {
    if (!source_ || !target_ || !inner_.Offers(CapsReadable)) return;
    if (AcmConversion::Open(*source_, *target_, conversion_) != AcmResult::Ok) return;
    // A quarter second of source, but never less than one whole block, nor more than
    // kMaxSourceBuffer: a damaged header's byte rate must not decide how much memory a
    // stream takes (no real format comes near it).
    const std::uint32_t block = std::max<std::uint32_t>(source_->blockAlign, 1);
    sourceBufferSize_ = std::max(std::min(source_->avgBytesPerSec / 4, kMaxSourceBuffer), block);
    if (conversion_->TargetSize(sourceBufferSize_, targetBufferSize_) != AcmResult::Ok ||
        targetBufferSize_ == 0)
        return;
    sourceBuffer_.reset(new (std::nothrow) std::uint8_t[sourceBufferSize_]);
    targetBuffer_.reset(new (std::nothrow) std::uint8_t[targetBufferSize_]);
    carry_.reset(new (std::nothrow) std::uint8_t[sourceBufferSize_]);
    if (!sourceBuffer_ || !targetBuffer_ || !carry_) return;
    header_.source = sourceBuffer_.get();
    header_.sourceLength = sourceBufferSize_;
    header_.target = targetBuffer_.get();
    header_.targetLength = targetBufferSize_;
    if (conversion_->Prepare(header_) != AcmResult::Ok) return;
    open_ = true;
    ok = 1;
}

bool AcmStream::Drained() const {
    return position_ >= header_.targetUsed && (carried_ == 0 || stalled_);
}

// Converts the next piece of source: the carried bytes, then whole blocks from the inner
// stream; the last piece goes without the block-align flag so that its tail is flushed.
bool AcmStream::Refill() {
    const std::uint32_t block = std::max<std::uint32_t>(source_->blockAlign, 1);
    const std::uint32_t wanted = sourceBufferSize_ / block * block;
    std::memcpy(sourceBuffer_.get(), carry_.get(), carried_);
    const std::uint32_t got =
        wanted > carried_ ? inner_->Read(sourceBuffer_.get() + carried_, wanted - carried_) : 0;
    const bool last = inner_->IsEof() != 0;
    const std::uint32_t total = carried_ + got;
    header_.sourceLength = total;
    header_.targetLength = targetBufferSize_;
    if (conversion_->Convert(header_, last ? 0u : std::uint32_t{AcmConvertBlockAlign}) !=
        AcmResult::Ok) {
        header_.targetUsed = 0;
        return false;
    }
    const std::uint32_t used = std::min(header_.sourceUsed, total);
    carried_ = total - used;
    std::memmove(carry_.get(), sourceBuffer_.get() + used, carried_);
    position_ = 0;
    stalled_ = last && header_.targetUsed == 0;
    // An inner stream that delivers nothing before its end would otherwise spin forever.
    return header_.targetUsed > 0 || (got > 0 && !last) || (last && !stalled_);
}

std::uint32_t AcmStream::Read(void* destination, std::uint32_t count) {
    if (!ok || !open_) return 0;
    auto* out = static_cast<std::uint8_t*>(destination);
    std::uint32_t delivered = 0;
    while (delivered < count) {
        if (inner_->IsEof() && Drained()) break;
        if (position_ >= header_.targetUsed && !Refill()) break;
        const std::uint32_t n = std::min(count - delivered, header_.targetUsed - position_);
        std::memcpy(out + delivered, targetBuffer_.get() + position_, n);
        position_ += n;
        delivered += n;
    }
    return delivered;
}

std::uint32_t AcmStream::ToTarget(std::uint64_t sourceBytes) const {
    if (source_->avgBytesPerSec == 0) return 0;
    return static_cast<std::uint32_t>(sourceBytes * target_->avgBytesPerSec /
                                      source_->avgBytesPerSec);
}

std::uint32_t AcmStream::Size() {
    if (!ok || !open_) return 0;
    return ToTarget(inner_->Size());
}

std::uint32_t AcmStream::Seek(std::int32_t offset, std::uint32_t origin) {
    if (!ok || !open_) return kSeekFailed;
    const std::uint32_t current = ToTarget(inner_->Seek(0, SeekCurrent));
    const std::int64_t size = Size();
    std::int64_t target;
    switch (origin) {
        case SeekStart:
            target = std::max<std::int64_t>(offset, 0);
            break;
        case SeekCurrent:
            if (offset == 0) return current;
            target = std::int64_t{current} + offset;
            break;
        case SeekEnd:
            target = size + offset;
            break;
        default:
            return current;
    }
    target = std::clamp<std::int64_t>(target, 0, size);
    if (target_->avgBytesPerSec == 0) return kSeekFailed;
    std::uint64_t source =
        static_cast<std::uint64_t>(target) * source_->avgBytesPerSec / target_->avgBytesPerSec;
    const std::uint32_t block = std::max<std::uint32_t>(source_->blockAlign, 1);
    source -= source % block;
    // Carried source bytes belong to the old place; converted ones stay and come first.
    carried_ = 0;
    const std::uint32_t moved = inner_->Seek(
        static_cast<std::int32_t>(std::min<std::uint64_t>(source, 0x7FFFFFFF)), SeekStart);
    return moved == kSeekFailed ? kSeekFailed : ToTarget(moved);
}

std::uint32_t AcmStream::IsEof() {
    if (!ok || !open_) return 1;
    return inner_->IsEof() && Drained();
}

}  // namespace kelvane
