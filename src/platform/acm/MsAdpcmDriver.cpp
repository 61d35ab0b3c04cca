#include "platform/acm/MsAdpcmDriver.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "platform/acm/BlockCodec.h"

namespace kelvane {

namespace {

constexpr std::int32_t kAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                          768, 614, 512, 409, 307, 230, 230, 230};

constexpr std::int16_t kStandardCoefficients[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                                                      {240, 0}, {460, -208}, {392, -232}};

constexpr std::uint32_t kMaxCoefficients = 256;
constexpr std::int32_t kMaxDelta = std::numeric_limits<std::int32_t>::max() / 768;

struct Coefficients {
    std::uint32_t count = 0;
    std::int16_t pairs[kMaxCoefficients][2] = {};
};

// Extra bytes: samples per block, coefficient count, then the pairs.
bool ReadCoefficients(const WaveFormat& f, Coefficients& out) {
    if (f.extraSize < 4) return false;
    const std::uint8_t* extra = ExtraBytes(f);
    const auto count = static_cast<std::uint16_t>(Load16(extra + 2));
    if (count == 0 || count > kMaxCoefficients || f.extraSize < 4u + 4u * count) return false;
    out.count = count;
    for (std::uint32_t i = 0; i < count; ++i) {
        out.pairs[i][0] = Load16(extra + 4 + 4 * i);
        out.pairs[i][1] = Load16(extra + 6 + 4 * i);
    }
    return true;
}

bool IsMsFormat(const WaveFormat& f) {
    if (f.formatTag != kTagMsAdpcm || (f.channels != 1 && f.channels != 2) ||
        f.samplesPerSec == 0 || f.bitsPerSample != 4 || f.blockAlign < 7u * f.channels)
        return false;
    Coefficients coefficients;
    if (!ReadCoefficients(f, coefficients)) return false;
    const auto perBlock = static_cast<std::uint16_t>(Load16(ExtraBytes(f)));
    return perBlock >= 2 && perBlock <= MsAdpcmDriver::SamplesPerBlock(f.blockAlign, f.channels);
}

struct MsChannel {
    std::int32_t coef1 = 256;
    std::int32_t coef2 = 0;
    std::int32_t delta = 16;
    std::int32_t sample1 = 0;  // the newest sample
    std::int32_t sample2 = 0;

    std::int32_t Predict() const { return (sample1 * coef1 + sample2 * coef2) >> 8; }

    void Advance(std::uint32_t nibble, std::int32_t predicted) {
        const std::int32_t signedNibble =
            nibble & 8 ? static_cast<std::int32_t>(nibble) - 16 : static_cast<std::int32_t>(nibble);
        sample2 = sample1;
        sample1 = Clamp16(predicted + signedNibble * delta);
        // Damaged data can grow the step without bound; keep the product within 32 bits.
        delta = std::clamp((kAdaptation[nibble] * delta) >> 8, 16, kMaxDelta);
    }

    std::int16_t Decode(std::uint32_t nibble) {
        Advance(nibble, Predict());
        return static_cast<std::int16_t>(sample1);
    }

    // Rounds the prediction error to the nearest step; returns the nibble.
    std::uint32_t Encode(std::int32_t input) {
        const std::int32_t predicted = Predict();
        const std::int32_t error = input - predicted;
        const std::int32_t bias = error >= 0 ? delta / 2 : -(delta / 2);
        const std::int32_t q = std::clamp((error + bias) / delta, -8, 7);
        const auto nibble = static_cast<std::uint32_t>(q) & 0x0F;
        Advance(nibble, predicted);
        return nibble;
    }
};

class MsDecoder final : public BlockDecoder {
  public:
    explicit MsDecoder(const WaveFormat& f)
        : BlockDecoder(f.blockAlign, f.channels,
                       static_cast<std::uint16_t>(Load16(ExtraBytes(f)))) {
        ReadCoefficients(f, coefficients_);
    }

  private:
    std::uint32_t FramesInPartialBlock(std::uint32_t bytes) const override {
        const std::uint32_t header = 7u * channels_;
        return bytes < header ? 0 : 2 + (bytes - header) * 2 / channels_;
    }

    // Header: predictor index per channel, then delta, newest and oldest sample per channel;
    // the oldest sample is output first. Nibbles follow high first, channels interleaved.
    void DecodeBlock(const std::uint8_t* in, std::int16_t* out,
                     std::uint32_t samples) const override {
        const std::uint32_t c = channels_;
        MsChannel states[2];
        for (std::uint32_t ch = 0; ch < c; ++ch) {
            const std::uint32_t predictor =
                std::min<std::uint32_t>(in[ch], coefficients_.count - 1);
            MsChannel& s = states[ch];
            s.coef1 = coefficients_.pairs[predictor][0];
            s.coef2 = coefficients_.pairs[predictor][1];
            s.delta = Load16(in + c + 2 * ch);
            s.sample1 = Load16(in + 3 * c + 2 * ch);
            s.sample2 = Load16(in + 5 * c + 2 * ch);
            out[ch] = static_cast<std::int16_t>(s.sample2);
            if (samples > 1) out[c + ch] = static_cast<std::int16_t>(s.sample1);
        }
        const std::uint8_t* data = in + 7 * c;
        const std::uint32_t nibbles = samples > 2 ? (samples - 2) * c : 0;
        std::int16_t* dst = out + 2 * c;
        for (std::uint32_t n = 0; n < nibbles; ++n) {
            const std::uint32_t byte = data[n >> 1];
            const std::uint32_t nibble = n & 1 ? byte & 0x0F : byte >> 4;
            dst[n] = states[c == 2 ? n & 1 : 0].Decode(nibble);
        }
    }

    Coefficients coefficients_;
};

class MsEncoder final : public BlockEncoder {
  public:
    MsEncoder(const WaveFormat& target, std::uint16_t sourceBits)
        : BlockEncoder(static_cast<std::uint16_t>(Load16(ExtraBytes(target))), target.channels,
                       sourceBits, target.blockAlign) {
        ReadCoefficients(target, coefficients_);
    }

  private:
    // Each channel tries every coefficient pair, from the delta it ended the last block with
    // and from an estimate of this block's, and keeps the choice with the least error.
    void EncodeBlock(const std::int16_t* pcm, std::uint8_t* out) override {
        const std::uint32_t c = channels_;
        std::fill(out, out + targetBlock_, std::uint8_t{0});
        for (std::uint32_t ch = 0; ch < c; ++ch) {
            const MsChannel best = ChooseStart(pcm, ch);
            out[ch] = static_cast<std::uint8_t>(chosen_[ch]);
            Store16(out + c + 2 * ch, best.delta);
            Store16(out + 3 * c + 2 * ch, best.sample1);
            Store16(out + 5 * c + 2 * ch, best.sample2);
            states_[ch] = best;
        }
        std::uint8_t* data = out + 7 * c;
        const std::uint32_t nibbles = (samplesPerBlock_ - 2) * c;
        const std::int16_t* src = pcm + 2 * c;
        for (std::uint32_t n = 0; n < nibbles; ++n) {
            const std::uint32_t nibble = states_[c == 2 ? n & 1 : 0].Encode(src[n]);
            data[n >> 1] |= static_cast<std::uint8_t>(n & 1 ? nibble : nibble << 4);
        }
        for (std::uint32_t ch = 0; ch < c; ++ch) carriedDelta_[ch] = states_[ch].delta;
    }

    MsChannel ChooseStart(const std::int16_t* pcm, std::uint32_t ch) {
        const std::uint32_t c = channels_;
        std::int64_t steps = 0;
        const std::uint32_t probe = std::min<std::uint32_t>(samplesPerBlock_, 8);
        for (std::uint32_t i = 1; i < probe; ++i)
            steps += std::abs(pcm[i * c + ch] - pcm[(i - 1) * c + ch]);
        const std::int32_t estimate =
            std::clamp<std::int32_t>(static_cast<std::int32_t>(steps / probe) / 2, 16, 0x7FFF);
        const std::int32_t deltas[2] = {std::clamp(carriedDelta_[ch], 16, 0x7FFF), estimate};

        MsChannel best;
        std::int64_t bestError = std::numeric_limits<std::int64_t>::max();
        for (std::uint32_t p = 0; p < coefficients_.count && p < 7; ++p) {
            for (std::int32_t delta : deltas) {
                MsChannel start;
                start.coef1 = coefficients_.pairs[p][0];
                start.coef2 = coefficients_.pairs[p][1];
                start.delta = delta;
                start.sample2 = pcm[ch];
                start.sample1 = pcm[c + ch];
                MsChannel trial = start;
                std::int64_t error = 0;
                for (std::uint32_t i = 2; i < samplesPerBlock_ && error < bestError; ++i) {
                    const std::int32_t input = pcm[i * c + ch];
                    trial.Encode(input);
                    const std::int64_t e = input - trial.sample1;
                    error += e * e;
                }
                if (error < bestError) {
                    bestError = error;
                    best = start;
                    chosen_[ch] = p;
                }
            }
        }
        return best;
    }

    Coefficients coefficients_;
    MsChannel states_[2];
    std::int32_t carriedDelta_[2] = {16, 16};
    std::uint32_t chosen_[2] = {};
};

}  // namespace

std::uint32_t MsAdpcmDriver::SamplesPerBlock(std::uint32_t blockAlign, std::uint16_t channels) {
    if (channels == 0 || blockAlign < 7u * channels) return 0;
    return (blockAlign - 7u * channels) * 2 / channels + 2;
}

FormatPtr MsAdpcmDriver::MakeFormat(std::uint32_t rate, std::uint16_t channels) {
    const WaveFormat header = AdpcmHeader(kTagMsAdpcm, rate, channels, 32, SamplesPerBlock);
    const std::uint32_t perBlock = SamplesPerBlock(header.blockAlign, channels);
    FormatPtr format = NewFormat(header);
    std::uint8_t* extra = ExtraBytes(*format);
    Store16(extra, static_cast<std::int32_t>(perBlock));
    Store16(extra + 2, 7);
    for (int i = 0; i < 7; ++i) {
        Store16(extra + 4 + 4 * i, kStandardCoefficients[i][0]);
        Store16(extra + 6 + 4 * i, kStandardCoefficients[i][1]);
    }
    return format;
}

bool MsAdpcmDriver::CanOpen(const WaveFormat& s, const WaveFormat& t) const {
    return CodesSameRatePcm(s, t, IsMsFormat);
}

std::unique_ptr<AcmCodec> MsAdpcmDriver::Open(const WaveFormat& s, const WaveFormat& t) const {
    if (!CanOpen(s, t)) return nullptr;
    if (IsMsFormat(s)) return std::make_unique<MsDecoder>(s);
    return std::make_unique<MsEncoder>(t, s.bitsPerSample);
}

void MsAdpcmDriver::Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const {
    AddStandardCandidates(seed, out, MakeFormat);
}

}  // namespace kelvane
