#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "wavedata/SampleStream.h"

struct sf_private_tag;

namespace kelvane {

// What a file read through libsndfile holds, before it is brought to the editor's forms.
struct SndfileSource {
    int major = 0;    // SF_FORMAT_WAV, SF_FORMAT_FLAC, ... (SF_FORMAT_TYPEMASK part)
    int subtype = 0;  // SF_FORMAT_PCM_24, SF_FORMAT_VORBIS, ... (SF_FORMAT_SUBMASK part)
    std::uint32_t rate = 0;
    std::uint32_t channels = 0;
    std::uint64_t frames = 0;
    std::uint16_t bits = 0;  // bits a sample holds; 0 for lossy codecs
    bool floating = false;   // float samples, or a lossy codec that decodes to float
};

// Why a file could not be opened through libsndfile.
enum class SndfileOpen { Ok, NotRecognised, Malformed, Unsupported, CannotOpen, Mpeg };

// The decoded sound of a file read through libsndfile, as interleaved 16-bit little-endian
// samples: mono stays mono, two or more channels become stereo (more than two mixed down by
// the usual matrix of the file's channel layout), the rate is kept. Samples of more than 16
// bits, and mixes, are brought to 16 bits with TPDF dither (seeded per stream, so a file
// always decodes to the same bytes) or, without dither, rounded.
class SndfileStream final : public SampleStream {
  public:
    // Takes the open descriptor (closed with the stream, also when the open fails).
    SndfileStream(int fd, bool dither);
    ~SndfileStream() override;

    [[nodiscard]] SndfileOpen OpenResult() const { return result_; }
    [[nodiscard]] const SndfileSource& Source() const { return source_; }
    [[nodiscard]] std::uint16_t OutputChannels() const { return outChannels_; }
    [[nodiscard]] std::uint64_t OutputBytes() const { return source_.frames * outChannels_ * 2; }
    // The file's own texts (SF_STR_TITLE and the others), empty where absent.
    [[nodiscard]] std::string Text(int which) const;

    std::uint32_t Read(void* destination, std::uint32_t count) override;
    std::uint32_t Seek(std::int32_t offset, std::uint32_t origin) override;
    std::uint32_t IsEof() override { return position_ >= Size(); }
    std::uint32_t Caps() override { return CapsReadable | CapsSeekable; }
    std::uint32_t Size() override { return static_cast<std::uint32_t>(OutputBytes()); }

    // The mix of `channels` input channels of the given libsndfile channel positions (null:
    // the usual order for the container) into `outChannels` (1 or 2): out x in weights.
    static std::vector<float> MixMatrix(int channels, const int* positions, bool vorbisOrder,
                                        int outChannels);

  private:
    bool Decode();
    void Restart();

    sf_private_tag* file_ = nullptr;
    SndfileOpen result_ = SndfileOpen::CannotOpen;
    SndfileSource source_;
    std::uint16_t outChannels_ = 0;
    bool shape_ = false;  // dither applies (more than 16 bits, or a mix)
    bool dither_ = true;
    std::vector<float> matrix_;
    std::vector<float> in_;
    std::vector<std::int16_t> out_;
    std::uint32_t outAt_ = 0;     // bytes of out_ already delivered
    std::uint32_t outBytes_ = 0;  // bytes in out_
    std::uint64_t framesRead_ = 0;
    std::uint64_t position_ = 0;
    std::uint64_t random_ = 0;
};

}  // namespace kelvane
