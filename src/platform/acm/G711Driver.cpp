#include "platform/acm/G711Driver.h"

#include <array>

#include "platform/acm/BlockCodec.h"

namespace kelvane {

namespace {

// ITU-T G.191 reference: A-law from 16-bit input (12 magnitude bits used).
std::uint8_t AlawCompress(std::int16_t x) {
    std::int32_t ix = x < 0 ? (~x) >> 4 : x >> 4;
    if (ix > 15) {
        std::int32_t exponent = 1;
        while (ix > 16 + 15) {
            ix >>= 1;
            ++exponent;
        }
        ix -= 16;
        ix += exponent << 4;
    }
    if (x >= 0) ix |= 0x80;
    return static_cast<std::uint8_t>(ix ^ 0x55);
}

std::int16_t AlawExpand(std::uint8_t code) {
    std::int32_t ix = (code ^ 0x55) & 0x7F;
    const std::int32_t exponent = ix >> 4;
    std::int32_t mantissa = ix & 0x0F;
    if (exponent > 0) mantissa += 16;
    mantissa = (mantissa << 4) + 8;
    if (exponent > 1) mantissa <<= exponent - 1;
    return static_cast<std::int16_t>(code > 127 ? mantissa : -mantissa);
}

// ITU-T G.191 reference: Mu-law from 16-bit input (14 bits used).
std::uint8_t UlawCompress(std::int16_t x) {
    std::int32_t absno = x < 0 ? ((~x) >> 2) + 33 : (x >> 2) + 33;
    if (absno > 0x1FFF) absno = 0x1FFF;
    std::int32_t segment = 1;
    for (std::int32_t i = absno >> 6; i != 0; i >>= 1) ++segment;
    const std::int32_t high = 8 - segment;
    const std::int32_t low = 0x0F - ((absno >> segment) & 0x0F);
    std::int32_t code = (high << 4) | low;
    if (x >= 0) code |= 0x80;
    return static_cast<std::uint8_t>(code);
}

std::int16_t UlawExpand(std::uint8_t code) {
    const std::int32_t sign = code < 0x80 ? -1 : 1;
    const std::int32_t inverted = ~code;
    const std::int32_t exponent = (inverted >> 4) & 0x07;
    const std::int32_t mantissa = inverted & 0x0F;
    const std::int32_t step = 4 << (exponent + 1);
    return static_cast<std::int16_t>(sign *
                                     ((0x80 << exponent) + step * mantissa + step / 2 - 4 * 33));
}

struct LawTables {
    std::array<std::int16_t, 256> expand;
    std::array<std::uint8_t, 65536> compress;  // indexed by the sample's 16 bits
};

const LawTables& TablesFor(std::uint16_t tag) {
    static const auto build = [](bool mu) {
        auto t = std::make_unique<LawTables>();
        for (int c = 0; c < 256; ++c)
            t->expand[c] = mu ? UlawExpand(static_cast<std::uint8_t>(c))
                              : AlawExpand(static_cast<std::uint8_t>(c));
        for (int v = 0; v < 65536; ++v) {
            const auto s = static_cast<std::int16_t>(v);
            t->compress[v] = mu ? UlawCompress(s) : AlawCompress(s);
        }
        return t;
    };
    static const auto mu = build(true);
    static const auto a = build(false);
    return tag == kTagMuLaw ? *mu : *a;
}

class LawEncoder final : public BlockCodec {
  public:
    LawEncoder(std::uint16_t tag, std::uint16_t channels, std::uint16_t sourceBits)
        : BlockCodec(channels * (sourceBits / 8u), channels),
          table_(TablesFor(tag).compress),
          wide_(sourceBits == 16) {}

  private:
    void ConvertBlocks(const std::uint8_t* source, std::uint8_t* target,
                       std::uint32_t blocks) override {
        const std::uint32_t samples = blocks * targetBlock_;
        if (wide_) {
            for (std::uint32_t i = 0; i < samples; ++i)
                target[i] = table_[source[2 * i] | (source[2 * i + 1] << 8)];
        } else {
            // 8-bit PCM widened as the editor does: (b - 128) * 256.
            for (std::uint32_t i = 0; i < samples; ++i)
                target[i] = table_[static_cast<std::uint8_t>(source[i] - 128) << 8];
        }
    }
    std::uint32_t ConvertTail(const std::uint8_t*, std::uint32_t, std::uint8_t*) override {
        return 0;
    }

    const std::array<std::uint8_t, 65536>& table_;
    bool wide_;
};

class LawDecoder final : public BlockCodec {
  public:
    LawDecoder(std::uint16_t tag, std::uint16_t channels)
        : BlockCodec(channels, channels * 2u), table_(TablesFor(tag).expand) {}

  private:
    void ConvertBlocks(const std::uint8_t* source, std::uint8_t* target,
                       std::uint32_t blocks) override {
        const std::uint32_t samples = blocks * sourceBlock_;
        for (std::uint32_t i = 0; i < samples; ++i) Store16(target + 2 * i, table_[source[i]]);
    }
    std::uint32_t ConvertTail(const std::uint8_t*, std::uint32_t, std::uint8_t*) override {
        return 0;
    }

    const std::array<std::int16_t, 256>& table_;
};

}  // namespace

const char* G711Driver::TagName() const {
    return tag_ == kTagMuLaw ? "CCITT u-Law" : "CCITT A-Law";
}

WaveFormat G711Driver::MakeFormat(std::uint16_t tag, std::uint32_t rate, std::uint16_t channels) {
    WaveFormat f;
    f.formatTag = tag;
    f.channels = channels;
    f.samplesPerSec = rate;
    f.avgBytesPerSec = rate * channels;
    f.blockAlign = channels;
    f.bitsPerSample = 8;
    f.extraSize = 0;
    return f;
}

std::int16_t G711Driver::Expand(std::uint16_t tag, std::uint8_t code) {
    return tag == kTagMuLaw ? UlawExpand(code) : AlawExpand(code);
}

std::uint8_t G711Driver::Compress(std::uint16_t tag, std::int16_t sample) {
    return tag == kTagMuLaw ? UlawCompress(sample) : AlawCompress(sample);
}

bool G711Driver::IsLawFormat(const WaveFormat& f) const {
    return f.formatTag == tag_ && (f.channels == 1 || f.channels == 2) && f.samplesPerSec > 0 &&
           f.bitsPerSample == 8 && f.blockAlign == f.channels;
}

bool G711Driver::CanOpen(const WaveFormat& s, const WaveFormat& t) const {
    return CodesSameRatePcm(s, t, [this](const WaveFormat& f) { return IsLawFormat(f); });
}

std::unique_ptr<AcmCodec> G711Driver::Open(const WaveFormat& s, const WaveFormat& t) const {
    if (!CanOpen(s, t)) return nullptr;
    if (IsLawFormat(s)) return std::make_unique<LawDecoder>(tag_, s.channels);
    return std::make_unique<LawEncoder>(tag_, s.channels, s.bitsPerSample);
}

void G711Driver::Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const {
    AddStandardCandidates(seed, out, [this](std::uint32_t rate, std::uint16_t channels) {
        return CopyFormat(MakeFormat(tag_, rate, channels));
    });
}

}  // namespace kelvane
