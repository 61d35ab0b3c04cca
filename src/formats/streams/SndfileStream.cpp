#include "formats/streams/SndfileStream.h"

#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kelvane {

namespace {

constexpr sf_count_t kChunkFrames = 4096;
constexpr std::uint64_t kDitherSeed = 0x9E3779B97F4A7C15ull;

// Bits a sample of the subtype holds, 0 for lossy codecs.
std::uint16_t SubtypeBits(int subtype) {
    switch (subtype) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8:
        case SF_FORMAT_ULAW:
        case SF_FORMAT_ALAW:
        case SF_FORMAT_DPCM_8:
            return 8;
        case SF_FORMAT_DWVW_12:
            return 12;
        case SF_FORMAT_ALAC_20:
            return 20;
        case SF_FORMAT_PCM_24:
        case SF_FORMAT_DWVW_24:
        case SF_FORMAT_ALAC_24:
            return 24;
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_FLOAT:
        case SF_FORMAT_ALAC_32:
            return 32;
        case SF_FORMAT_DOUBLE:
            return 64;
        case SF_FORMAT_VORBIS:
        case SF_FORMAT_OPUS:
        case SF_FORMAT_MPEG_LAYER_I:
        case SF_FORMAT_MPEG_LAYER_II:
        case SF_FORMAT_MPEG_LAYER_III:
            return 0;
        default:
            return 16;
    }
}

bool IsFloating(int subtype) {
    return subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE ||
           subtype == SF_FORMAT_VORBIS || subtype == SF_FORMAT_OPUS;
}

SndfileOpen OpenResultOf(int error) {
    switch (error) {
        case SF_ERR_UNRECOGNISED_FORMAT:
            return SndfileOpen::NotRecognised;
        case SF_ERR_MALFORMED_FILE:
            return SndfileOpen::Malformed;
        case SF_ERR_UNSUPPORTED_ENCODING:
            return SndfileOpen::Unsupported;
        case SF_ERR_SYSTEM:
            return SndfileOpen::CannotOpen;
        default:
            // libsndfile's finer codes (bad chunk sizes, bad headers) all mean a damaged file.
            return SndfileOpen::Malformed;
    }
}

// The usual positions for a channel count: the Vorbis order in Ogg, the Wave order (which
// FLAC shares) elsewhere.
std::vector<int> DefaultPositions(int channels, bool vorbisOrder) {
    static const std::vector<int> kWave = {SF_CHANNEL_MAP_FRONT_LEFT,   SF_CHANNEL_MAP_FRONT_RIGHT,
                                           SF_CHANNEL_MAP_FRONT_CENTER, SF_CHANNEL_MAP_LFE,
                                           SF_CHANNEL_MAP_REAR_LEFT,    SF_CHANNEL_MAP_REAR_RIGHT,
                                           SF_CHANNEL_MAP_SIDE_LEFT,    SF_CHANNEL_MAP_SIDE_RIGHT};
    static const std::vector<std::vector<int>> kVorbis = {
        {SF_CHANNEL_MAP_FRONT_LEFT, SF_CHANNEL_MAP_FRONT_CENTER, SF_CHANNEL_MAP_FRONT_RIGHT},
        {SF_CHANNEL_MAP_FRONT_LEFT, SF_CHANNEL_MAP_FRONT_RIGHT, SF_CHANNEL_MAP_REAR_LEFT,
         SF_CHANNEL_MAP_REAR_RIGHT},
        {SF_CHANNEL_MAP_FRONT_LEFT, SF_CHANNEL_MAP_FRONT_CENTER, SF_CHANNEL_MAP_FRONT_RIGHT,
         SF_CHANNEL_MAP_REAR_LEFT, SF_CHANNEL_MAP_REAR_RIGHT},
        {SF_CHANNEL_MAP_FRONT_LEFT, SF_CHANNEL_MAP_FRONT_CENTER, SF_CHANNEL_MAP_FRONT_RIGHT,
         SF_CHANNEL_MAP_REAR_LEFT, SF_CHANNEL_MAP_REAR_RIGHT, SF_CHANNEL_MAP_LFE},
        {SF_CHANNEL_MAP_FRONT_LEFT, SF_CHANNEL_MAP_FRONT_CENTER, SF_CHANNEL_MAP_FRONT_RIGHT,
         SF_CHANNEL_MAP_SIDE_LEFT, SF_CHANNEL_MAP_SIDE_RIGHT, SF_CHANNEL_MAP_REAR_CENTER,
         SF_CHANNEL_MAP_LFE},
        {SF_CHANNEL_MAP_FRONT_LEFT, SF_CHANNEL_MAP_FRONT_CENTER, SF_CHANNEL_MAP_FRONT_RIGHT,
         SF_CHANNEL_MAP_SIDE_LEFT, SF_CHANNEL_MAP_SIDE_RIGHT, SF_CHANNEL_MAP_REAR_LEFT,
         SF_CHANNEL_MAP_REAR_RIGHT, SF_CHANNEL_MAP_LFE}};
    if (vorbisOrder && channels >= 3 && channels <= 8) return kVorbis[channels - 3];
    std::vector<int> positions(kWave.begin(), kWave.begin() + std::min<int>(channels, 8));
    positions.resize(channels, SF_CHANNEL_MAP_INVALID);
    return positions;
}

// Left and right weights of one position: fronts whole, centres and surrounds at -3 dB,
// the LFE left out, as the usual stereo downmix has it.
void PositionWeights(int position, float& left, float& right) {
    constexpr float kHalfPower = 0.70710678f;
    left = right = 0;
    switch (position) {
        case SF_CHANNEL_MAP_LEFT:
        case SF_CHANNEL_MAP_FRONT_LEFT:
        case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
            left = 1;
            break;
        case SF_CHANNEL_MAP_RIGHT:
        case SF_CHANNEL_MAP_FRONT_RIGHT:
        case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
            right = 1;
            break;
        case SF_CHANNEL_MAP_REAR_LEFT:
        case SF_CHANNEL_MAP_SIDE_LEFT:
        case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
        case SF_CHANNEL_MAP_TOP_REAR_LEFT:
            left = kHalfPower;
            break;
        case SF_CHANNEL_MAP_REAR_RIGHT:
        case SF_CHANNEL_MAP_SIDE_RIGHT:
        case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
        case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
            right = kHalfPower;
            break;
        case SF_CHANNEL_MAP_LFE:
            break;
        case SF_CHANNEL_MAP_REAR_CENTER:
        case SF_CHANNEL_MAP_TOP_REAR_CENTER:
            left = right = 0.5f;
            break;
        default:  // centres, mono, and positions nobody named
            left = right = kHalfPower;
            break;
    }
}

// xorshift64*: fast, and the same noise for the same file every time.
std::uint64_t NextRandom(std::uint64_t& state) {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 0x2545F4914F6CDD1Dull;
}

std::int16_t ToSample(float v) {
    // Clamped first, so the offset keeps it positive and truncation rounds to nearest.
    v = std::clamp(v, -32768.0f, 32767.0f);
    return static_cast<std::int16_t>(static_cast<std::int32_t>(v + 32768.5f) - 32768);
}

}  // namespace

std::vector<float> SndfileStream::MixMatrix(int channels, const int* positions, bool vorbisOrder,
                                            int outChannels) {
    std::vector<int> layout = positions ? std::vector<int>(positions, positions + channels)
                                        : DefaultPositions(channels, vorbisOrder);
    std::vector<float> matrix(static_cast<std::size_t>(outChannels) * channels, 0.0f);
    if (outChannels == channels) {
        for (int i = 0; i < channels; ++i) matrix[i * channels + i] = 1;
        return matrix;
    }
    float sumLeft = 0, sumRight = 0;
    for (int i = 0; i < channels; ++i) {
        float left = 0, right = 0;
        PositionWeights(layout[i], left, right);
        if (outChannels == 1) {
            matrix[i] = (left + right) / 2;
            sumLeft += matrix[i];
        } else {
            matrix[i] = left;
            matrix[channels + i] = right;
            sumLeft += left;
            sumRight += right;
        }
    }
    // Scaled so that a full-scale signal on every channel cannot clip.
    const float most = std::max(sumLeft, sumRight);
    if (most > 0)
        for (float& weight : matrix) weight /= most;
    return matrix;
}

SndfileStream::SndfileStream(int fd, bool dither) : dither_(dither) {
    SF_INFO info{};
    file_ = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (file_ == nullptr) {
        const int error = sf_error(nullptr);
        result_ = OpenResultOf(error);
        // libsndfile closes the descriptor only when the open succeeds.
        ::close(fd);
        return;
    }
    source_.major = info.format & SF_FORMAT_TYPEMASK;
    source_.subtype = info.format & SF_FORMAT_SUBMASK;
    if (source_.major == SF_FORMAT_MPEG) {
        result_ = SndfileOpen::Mpeg;
        return;
    }
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 0) {
        result_ = SndfileOpen::Malformed;
        return;
    }
    source_.rate = static_cast<std::uint32_t>(info.samplerate);
    source_.channels = static_cast<std::uint32_t>(info.channels);
    source_.frames = static_cast<std::uint64_t>(info.frames);
    source_.bits = SubtypeBits(source_.subtype);
    source_.floating = IsFloating(source_.subtype);
    outChannels_ = info.channels == 1 ? 1 : 2;

    std::vector<int> positions(source_.channels);
    const bool mapped = info.channels > 2 &&
                        sf_command(file_, SFC_GET_CHANNEL_MAP_INFO, positions.data(),
                                   static_cast<int>(positions.size() * sizeof(int))) == SF_TRUE;
    const bool vorbisOrder = source_.major == SF_FORMAT_OGG;
    matrix_ =
        MixMatrix(info.channels, mapped ? positions.data() : nullptr, vorbisOrder, outChannels_);
    shape_ = source_.bits == 0 || source_.bits > 16 || source_.floating ||
             source_.channels > outChannels_;
    // Float files are read as they are: values beyond full scale are clamped by us.
    sf_command(file_, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    in_.resize(static_cast<std::size_t>(kChunkFrames) * source_.channels);
    out_.resize(static_cast<std::size_t>(kChunkFrames) * outChannels_);
    random_ = kDitherSeed;
    result_ = SndfileOpen::Ok;
    ok = 1;
}

SndfileStream::~SndfileStream() {
    if (file_ != nullptr) sf_close(file_);
}

std::string SndfileStream::Text(int which) const {
    const char* text = file_ != nullptr ? sf_get_string(file_, which) : nullptr;
    return text != nullptr ? std::string(text) : std::string();
}

bool SndfileStream::Decode() {
    const std::uint64_t left = source_.frames - framesRead_;
    const sf_count_t want = static_cast<sf_count_t>(std::min<std::uint64_t>(left, kChunkFrames));
    if (want <= 0) return false;
    sf_count_t got = 0;
    if (!shape_) {
        // At most 16 bits, one or two channels: libsndfile's own conversion is exact.
        got = sf_readf_short(file_, out_.data(), want);
    } else {
        got = sf_readf_float(file_, in_.data(), want);
        const int channels = static_cast<int>(source_.channels);
        const float* in = in_.data();
        std::int16_t* out = out_.data();
        constexpr float kScale = 32768.0f;
        constexpr float kUnit = 1.0f / 4294967296.0f;
        for (sf_count_t f = 0; f < got; ++f, in += channels) {
            for (int o = 0; o < outChannels_; ++o) {
                const float* weights = matrix_.data() + o * channels;
                float v = 0;
                for (int c = 0; c < channels; ++c) v += weights[c] * in[c];
                v *= kScale;
                if (dither_) {
                    // Triangular noise of +-1 LSB: the sum of two uniform values.
                    const std::uint64_t r = NextRandom(random_);
                    v += static_cast<float>(r >> 32) * kUnit +
                         static_cast<float>(r & 0xFFFFFFFFu) * kUnit - 1.0f;
                }
                *out++ = ToSample(v);
            }
        }
    }
    if (got <= 0) return false;
    framesRead_ += static_cast<std::uint64_t>(got);
    outAt_ = 0;
    outBytes_ = static_cast<std::uint32_t>(got) * outChannels_ * 2;
    return true;
}

std::uint32_t SndfileStream::Read(void* destination, std::uint32_t count) {
    if (!ok) return 0;
    auto* to = static_cast<std::uint8_t*>(destination);
    std::uint32_t done = 0;
    while (done < count) {
        if (outAt_ == outBytes_ && !Decode()) break;
        const std::uint32_t n = std::min(count - done, outBytes_ - outAt_);
        std::memcpy(to + done, reinterpret_cast<const std::uint8_t*>(out_.data()) + outAt_, n);
        outAt_ += n;
        done += n;
    }
    position_ += done;
    return done;
}

void SndfileStream::Restart() {
    framesRead_ = 0;
    outAt_ = outBytes_ = 0;
    position_ = 0;
    random_ = kDitherSeed;
}

std::uint32_t SndfileStream::Seek(std::int32_t offset, std::uint32_t origin) {
    if (!ok) return kSeekFailed;
    std::int64_t target = offset;
    if (origin == SeekCurrent) target += static_cast<std::int64_t>(position_);
    if (origin == SeekEnd) target += static_cast<std::int64_t>(Size());
    if (target < 0 || target > static_cast<std::int64_t>(Size())) return kSeekFailed;
    if (static_cast<std::uint64_t>(target) == position_) return static_cast<std::uint32_t>(target);
    // Decoding restarts at the frame that holds the target, with the dither of a fresh start
    // from there on; a rewind to 0 reproduces the first decode exactly.
    const std::uint32_t frameBytes = outChannels_ * 2u;
    const auto frame = static_cast<sf_count_t>(target / frameBytes);
    if (sf_seek(file_, frame, SEEK_SET) < 0) return kSeekFailed;
    Restart();
    framesRead_ = static_cast<std::uint64_t>(frame);
    position_ = static_cast<std::uint64_t>(frame) * frameBytes;
    const auto within = static_cast<std::uint32_t>(target - static_cast<std::int64_t>(position_));
    if (within > 0 && Decode()) {
        outAt_ = std::min(within, outBytes_);
        position_ += outAt_;
    }
    return static_cast<std::uint32_t>(position_);
}

}  // namespace kelvane
