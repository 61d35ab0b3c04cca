#include "formats/streams/SampleCodeStream.h"

#include <cstring>

namespace kelvane {

namespace {

bool IsValid(SampleCode code) {
    const auto n = static_cast<std::uint32_t>(code);
    return n >= 1 && n <= 6;
}

bool IsBigEndian(SampleCode code) {
    return code == SampleCode::Signed16BE || code == SampleCode::Unsigned16BE;
}

bool IsUnsigned(SampleCode code) {
    return code == SampleCode::Unsigned8 || code == SampleCode::Unsigned16LE ||
           code == SampleCode::Unsigned16BE;
}

// Signedness changes flip the top bit; byte order changes swap. Both are one pass each.
void FlipTopBits8(std::uint8_t* data, std::uint32_t bytes) {
    for (std::uint32_t i = 0; i < bytes; ++i) data[i] ^= 0x80u;
}

template <bool kSwapIn, bool kSwapOut>
void Recode16(std::uint8_t* data, std::uint32_t samples, std::uint16_t mask) {
    for (std::uint32_t i = 0; i < samples; ++i) {
        std::uint16_t v;
        std::memcpy(&v, data + 2 * static_cast<std::size_t>(i), 2);
        if constexpr (kSwapIn) v = __builtin_bswap16(v);
        v ^= mask;
        if constexpr (kSwapOut) v = __builtin_bswap16(v);
        std::memcpy(data + 2 * static_cast<std::size_t>(i), &v, 2);
    }
}

}  // namespace

bool SampleCodeStream::IsSixteenBit(SampleCode code) {
    return static_cast<std::uint32_t>(code) >= 3;
}

SampleCodeStream::SampleCodeStream(std::unique_ptr<SampleStream> inner, SampleCode source,
                                   SampleCode target)
    : inner_(std::move(inner)), source_(source), target_(target) {
    Open();
}

SampleCodeStream::SampleCodeStream(SampleStream& inner, SampleCode source, SampleCode target)
    : inner_(inner), source_(source), target_(target) {
    Open();
}

void SampleCodeStream::Open() {
    if (!IsValid(source_) || !IsValid(target_) || IsSixteenBit(source_) != IsSixteenBit(target_))
        return;
    ok = inner_.Offers(CapsReadable) ? 1 : 0;
}

void SampleCodeStream::Recode(std::uint8_t* data, std::uint32_t bytes, SampleCode source,
                              SampleCode target) {
    const bool flip = IsUnsigned(source) != IsUnsigned(target);
    if (!IsSixteenBit(source)) {
        if (flip) FlipTopBits8(data, bytes);
        return;
    }
    // The mask applies to the value in host (little-endian) order.
    const std::uint16_t mask = flip ? 0x8000u : 0;
    const bool in = IsBigEndian(source), out = IsBigEndian(target);
    const std::uint32_t samples = bytes / 2;
    if (in && out)
        Recode16<true, true>(data, samples, mask);
    else if (in)
        Recode16<true, false>(data, samples, mask);
    else if (out)
        Recode16<false, true>(data, samples, mask);
    else if (mask != 0)
        Recode16<false, false>(data, samples, mask);
}

std::uint32_t SampleCodeStream::Read(void* destination, std::uint32_t count) {
    if (!ok) return 0;
    const std::uint32_t got = inner_->Read(destination, count & ~1u);
    Recode(static_cast<std::uint8_t*>(destination), got, source_, target_);
    return got;
}

std::uint32_t SampleCodeStream::Seek(std::int32_t offset, std::uint32_t origin) {
    return ok ? inner_->Seek(offset, origin) : kSeekFailed;
}

std::uint32_t SampleCodeStream::IsEof() {
    return ok ? inner_->IsEof() : 1;
}

std::uint32_t SampleCodeStream::Size() {
    return ok ? inner_->Size() : 0;
}

}  // namespace kelvane
