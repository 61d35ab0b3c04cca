#include "platform/acm/GsmDriver.h"

#include <gsm/gsm.h>

#include <cstring>

#include "platform/acm/BlockCodec.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kRate = 8000;
constexpr std::uint32_t kBlockBytes = 65;
constexpr std::uint32_t kBlockSamples = 320;
constexpr std::uint32_t kFrameSamples = 160;

struct GsmDeleter {
    void operator()(gsm_state* state) const { gsm_destroy(state); }
};
using GsmHandle = std::unique_ptr<gsm_state, GsmDeleter>;

// libgsm in its WAV49 packing: a block is a 32-byte half frame pair followed by 33 bytes.
GsmHandle CreateWav49() {
    GsmHandle state(gsm_create());
    if (state) {
        int on = 1;
        gsm_option(state.get(), GSM_OPT_WAV49, &on);
    }
    return state;
}

void StartBlock(gsm_state* state) {
    int index = 0;
    gsm_option(state, GSM_OPT_FRAME_INDEX, &index);
}

bool IsGsmFormat(const WaveFormat& f) {
    return f.formatTag == kTagGsm610 && f.channels == 1 && f.samplesPerSec == kRate &&
           f.blockAlign == kBlockBytes &&
           (f.extraSize < 2 || static_cast<std::uint16_t>(Load16(ExtraBytes(f))) == kBlockSamples);
}

class GsmDecoder final : public BlockCodec {
  public:
    explicit GsmDecoder(GsmHandle state)
        : BlockCodec(kBlockBytes, kBlockSamples * 2), state_(std::move(state)) {}

  private:
    void ConvertBlocks(const std::uint8_t* source, std::uint8_t* target,
                       std::uint32_t blocks) override {
        for (std::uint32_t b = 0; b < blocks; ++b) {
            // libgsm takes non-const bytes but only reads them.
            auto* in = const_cast<gsm_byte*>(source + static_cast<std::size_t>(b) * kBlockBytes);
            auto* out =
                reinterpret_cast<gsm_signal*>(target) + static_cast<std::size_t>(b) * kBlockSamples;
            StartBlock(state_.get());
            if (gsm_decode(state_.get(), in, out) < 0 ||
                gsm_decode(state_.get(), in + 33, out + kFrameSamples) < 0)
                std::memset(out, 0, kBlockSamples * 2);
        }
    }
    std::uint32_t ConvertTail(const std::uint8_t*, std::uint32_t, std::uint8_t*) override {
        return 0;
    }

    GsmHandle state_;
};

class GsmEncoder final : public BlockEncoder {
  public:
    GsmEncoder(GsmHandle state, std::uint16_t sourceBits)
        : BlockEncoder(kBlockSamples, 1, sourceBits, kBlockBytes), state_(std::move(state)) {}

  private:
    void EncodeBlock(const std::int16_t* pcm, std::uint8_t* out) override {
        // libgsm takes non-const samples but only reads them.
        auto* in = const_cast<gsm_signal*>(pcm);
        StartBlock(state_.get());
        gsm_encode(state_.get(), in, out);
        gsm_encode(state_.get(), in + kFrameSamples, out + 32);
    }

    GsmHandle state_;
};

}  // namespace

FormatPtr GsmDriver::MakeFormat() {
    WaveFormat header;
    header.formatTag = kTagGsm610;
    header.channels = 1;
    header.samplesPerSec = kRate;
    header.avgBytesPerSec = kRate * kBlockBytes / kBlockSamples;
    header.blockAlign = kBlockBytes;
    header.bitsPerSample = 0;
    header.extraSize = 2;
    FormatPtr format = NewFormat(header);
    Store16(ExtraBytes(*format), kBlockSamples);
    return format;
}

bool GsmDriver::CanOpen(const WaveFormat& s, const WaveFormat& t) const {
    if (IsGsmFormat(s)) return IsPcm16(t) && t.channels == 1 && t.samplesPerSec == kRate;
    return IsGsmFormat(t) && s.formatTag == kTagPcm && s.channels == 1 &&
           s.samplesPerSec == kRate && (s.bitsPerSample == 8 || s.bitsPerSample == 16) &&
           s.blockAlign == s.bitsPerSample / 8;
}

std::unique_ptr<AcmCodec> GsmDriver::Open(const WaveFormat& s, const WaveFormat& t) const {
    if (!CanOpen(s, t)) return nullptr;
    GsmHandle state = CreateWav49();
    if (!state) return nullptr;
    if (IsGsmFormat(s)) return std::make_unique<GsmDecoder>(std::move(state));
    return std::make_unique<GsmEncoder>(std::move(state), s.bitsPerSample);
}

void GsmDriver::Candidates(const WaveFormat*, std::vector<FormatPtr>& out) const {
    out.push_back(MakeFormat());
}

}  // namespace kelvane
