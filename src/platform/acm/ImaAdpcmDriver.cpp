#include "platform/acm/ImaAdpcmDriver.h"

#include <algorithm>

#include "platform/acm/BlockCodec.h"

namespace kelvane {

namespace {

constexpr std::int8_t kIndexStep[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

constexpr std::int16_t kStepSize[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// The decoder's step for every step index and nibble, and the index that follows, so that
// decoding a nibble is two table reads and a clamp.
struct ImaTables {
    std::int32_t difference[89][16];
    std::uint8_t next[89][16];

    ImaTables() {
        for (int index = 0; index < 89; ++index) {
            for (int nibble = 0; nibble < 16; ++nibble) {
                const std::int32_t step = kStepSize[index];
                std::int32_t diff = step >> 3;
                if (nibble & 4) diff += step;
                if (nibble & 2) diff += step >> 1;
                if (nibble & 1) diff += step >> 2;
                difference[index][nibble] = nibble & 8 ? -diff : diff;
                next[index][nibble] =
                    static_cast<std::uint8_t>(std::clamp(index + kIndexStep[nibble], 0, 88));
            }
        }
    }
};

const ImaTables kTables;

struct ImaChannel {
    std::int32_t sample = 0;
    std::int32_t index = 0;

    std::int16_t Decode(std::uint32_t nibble) {
        sample = std::clamp(sample + kTables.difference[index][nibble], -32768, 32767);
        index = kTables.next[index][nibble];
        return static_cast<std::int16_t>(sample);
    }

    // The reference quantiser: the decoder's reconstruction is reproduced exactly.
    std::uint32_t Encode(std::int32_t input) {
        std::int32_t diff = input - sample;
        std::uint32_t nibble = 0;
        if (diff < 0) {
            nibble = 8;
            diff = -diff;
        }
        std::int32_t step = kStepSize[index];
        if (diff >= step) {
            nibble |= 4;
            diff -= step;
        }
        step >>= 1;
        if (diff >= step) {
            nibble |= 2;
            diff -= step;
        }
        step >>= 1;
        if (diff >= step) nibble |= 1;
        Decode(nibble);
        return nibble;
    }
};

bool IsImaFormat(const WaveFormat& f) {
    if (f.formatTag != kTagImaAdpcm || (f.channels != 1 && f.channels != 2) ||
        f.samplesPerSec == 0 || f.bitsPerSample != 4 ||
        f.blockAlign < 4 * f.channels + 4 * f.channels || f.blockAlign % (4 * f.channels) != 0)
        return false;
    // The samples per block, when given, must fit the block.
    if (f.extraSize >= 2) {
        const std::uint32_t perBlock = Load16(ExtraBytes(f)) & 0xFFFF;
        return perBlock >= 1 &&
               perBlock <= ImaAdpcmDriver::SamplesPerBlock(f.blockAlign, f.channels);
    }
    return true;
}

std::uint32_t DeclaredSamplesPerBlock(const WaveFormat& f) {
    if (f.extraSize >= 2) return static_cast<std::uint16_t>(Load16(ExtraBytes(f)));
    return ImaAdpcmDriver::SamplesPerBlock(f.blockAlign, f.channels);
}

class ImaDecoder final : public BlockDecoder {
  public:
    ImaDecoder(std::uint32_t blockAlign, std::uint16_t channels, std::uint32_t samplesPerBlock)
        : BlockDecoder(blockAlign, channels, samplesPerBlock) {}

  private:
    std::uint32_t FramesInPartialBlock(std::uint32_t bytes) const override {
        const std::uint32_t header = 4u * channels_;
        return bytes < header ? 0 : 1 + (bytes - header) / header * 8;
    }

    // Header per channel: the first sample, the step index and a reserved byte; then, per
    // channel in turn, 4 bytes holding 8 samples, low nibble first.
    void DecodeBlock(const std::uint8_t* in, std::int16_t* out,
                     std::uint32_t samples) const override {
        const std::uint32_t c = channels_;
        for (std::uint32_t ch = 0; ch < c; ++ch) {
            ImaChannel state{Load16(in + 4 * ch), std::min<std::int32_t>(in[4 * ch + 2], 88)};
            out[ch] = static_cast<std::int16_t>(state.sample);
            const std::uint8_t* data = in + 4 * c + 4 * ch;
            for (std::uint32_t i = 1; i < samples; data += 4 * c) {
                for (std::uint32_t k = 0; k < 4 && i < samples; ++k) {
                    out[i * c + ch] = state.Decode(data[k] & 0x0F);
                    if (++i < samples) out[i * c + ch] = state.Decode(data[k] >> 4);
                    ++i;
                }
            }
        }
    }
};

class ImaEncoder final : public BlockEncoder {
  public:
    ImaEncoder(const WaveFormat& target, std::uint16_t sourceBits)
        : BlockEncoder(DeclaredSamplesPerBlock(target), target.channels, sourceBits,
                       target.blockAlign) {}

  private:
    void EncodeBlock(const std::int16_t* pcm, std::uint8_t* out) override {
        const std::uint32_t c = channels_;
        std::fill(out, out + targetBlock_, std::uint8_t{0});
        for (std::uint32_t ch = 0; ch < c; ++ch) {
            ImaChannel& state = states_[ch];
            state.sample = pcm[ch];
            Store16(out + 4 * ch, state.sample);
            out[4 * ch + 2] = static_cast<std::uint8_t>(state.index);
            std::uint8_t* data = out + 4 * c + 4 * ch;
            for (std::uint32_t i = 1; i < samplesPerBlock_; data += 4 * c) {
                for (std::uint32_t k = 0; k < 4 && i < samplesPerBlock_; ++k) {
                    std::uint32_t byte = state.Encode(pcm[i * c + ch]);
                    if (++i < samplesPerBlock_) byte |= state.Encode(pcm[i * c + ch]) << 4;
                    ++i;
                    data[k] = static_cast<std::uint8_t>(byte);
                }
            }
        }
    }

    ImaChannel states_[2];
};

}  // namespace

std::uint32_t ImaAdpcmDriver::SamplesPerBlock(std::uint32_t blockAlign, std::uint16_t channels) {
    if (channels == 0 || blockAlign < 4u * channels) return 0;
    return (blockAlign - 4u * channels) * 8 / (4u * channels) + 1;
}

FormatPtr ImaAdpcmDriver::MakeFormat(std::uint32_t rate, std::uint16_t channels) {
    const WaveFormat header = AdpcmHeader(kTagImaAdpcm, rate, channels, 2, SamplesPerBlock);
    const std::uint32_t perBlock = SamplesPerBlock(header.blockAlign, channels);
    FormatPtr format = NewFormat(header);
    Store16(ExtraBytes(*format), static_cast<std::int32_t>(perBlock));
    return format;
}

bool ImaAdpcmDriver::CanOpen(const WaveFormat& s, const WaveFormat& t) const {
    return CodesSameRatePcm(s, t, IsImaFormat);
}

std::unique_ptr<AcmCodec> ImaAdpcmDriver::Open(const WaveFormat& s, const WaveFormat& t) const {
    if (!CanOpen(s, t)) return nullptr;
    if (IsImaFormat(s))
        return std::make_unique<ImaDecoder>(s.blockAlign, s.channels, DeclaredSamplesPerBlock(s));
    return std::make_unique<ImaEncoder>(t, s.bitsPerSample);
}

void ImaAdpcmDriver::Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const {
    AddStandardCandidates(seed, out, MakeFormat);
}

}  // namespace kelvane
