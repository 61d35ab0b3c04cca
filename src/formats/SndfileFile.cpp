#include "formats/SndfileFile.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "formats/OutputFile.h"
#include "formats/SourceFile.h"
#include "formats/WriterSource.h"
#include "formats/streams/ConvertStream.h"
#include "formats/streams/SndfileStream.h"
#include "platform/profile/Profile.h"
#include "resources/Strings.h"

namespace kelvane {

namespace {

constexpr std::size_t kProbeBytes = 65536;

// INFO texts and the tags libsndfile reads and writes (Vorbis comments, ID3, Wave and AIFF).
struct TextTag {
    const char* info;
    int tag;
};
constexpr TextTag kTextTags[] = {
    {"INAM", SF_STR_TITLE}, {"IART", SF_STR_ARTIST},   {"ICMT", SF_STR_COMMENT},
    {"ICRD", SF_STR_DATE},  {"IGNR", SF_STR_GENRE},    {"ICOP", SF_STR_COPYRIGHT},
    {"IPRD", SF_STR_ALBUM}, {"ISFT", SF_STR_SOFTWARE},
};

std::uint32_t Le16(const std::uint8_t* p) {
    return p[0] | p[1] << 8;
}
std::uint32_t Le32(const std::uint8_t* p) {
    return Le16(p) | Le16(p + 2) << 16;
}
std::uint32_t Be16(const std::uint8_t* p) {
    return p[0] << 8 | p[1];
}
std::uint32_t Be32(const std::uint8_t* p) {
    return Be16(p) << 16 | Be16(p + 2);
}

// The body offset of the first chunk `id` of a RIFF or IFF form within the probe, 0 if none.
std::size_t FindChunk(const std::uint8_t* head, std::size_t size, const char* id, bool bigEndian) {
    std::size_t at = 12;
    while (at + 8 <= size) {
        const std::uint32_t bytes = bigEndian ? Be32(head + at + 4) : Le32(head + at + 4);
        if (std::memcmp(head + at, id, 4) == 0) return at + 8;
        at += 8 + std::size_t{bytes} + (bytes & 1);
    }
    return 0;
}

bool WaveWantsSndfile(const std::uint8_t* head, std::size_t size) {
    const std::size_t fmt = FindChunk(head, size, "fmt ", false);
    if (fmt == 0 || fmt + 16 > size) return false;
    const std::uint32_t tag = Le16(head + fmt);
    const std::uint32_t channels = Le16(head + fmt + 2);
    const std::uint32_t bits = Le16(head + fmt + 14);
    if (tag == 3 || tag == 0xFFFE) return true;  // IEEE float, extensible
    return tag == kTagPcm && channels > 0 && (channels > 2 || (bits != 8 && bits != 16));
}

bool AiffWantsSndfile(const std::uint8_t* head, std::size_t size) {
    const std::size_t comm = FindChunk(head, size, "COMM", true);
    if (comm == 0 || comm + 8 > size) return false;
    return Be16(head + comm) > 2 || Be16(head + comm + 6) > 16;
}

bool AuWantsSndfile(const std::uint8_t* head, std::size_t size) {
    if (size < 24) return false;
    const std::uint32_t encoding = Be32(head + 12);
    return (encoding >= 4 && encoding <= 7) || Be32(head + 20) > 2;  // 24/32-bit, float
}

std::string FormatName(const SndfileSource& s) {
    switch (s.major) {
        case SF_FORMAT_WAV:
        case SF_FORMAT_WAVEX:
            return "Wave";
        case SF_FORMAT_RF64:
            return "RF64";
        case SF_FORMAT_W64:
            return "Wave64";
        case SF_FORMAT_AIFF:
            return "AIFF";
        case SF_FORMAT_AU:
            return "AU";
        case SF_FORMAT_CAF:
            return "CAF";
        case SF_FORMAT_FLAC:
            return "FLAC";
        case SF_FORMAT_OGG:
            return s.subtype == SF_FORMAT_OPUS     ? "Opus"
                   : s.subtype == SF_FORMAT_VORBIS ? "Ogg Vorbis"
                                                   : "Ogg";
        default: {
            SF_FORMAT_INFO info{};
            info.format = s.major;
            if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) == 0 && info.name)
                return info.name;
            return "?";
        }
    }
}

std::string ChannelsText(std::uint32_t channels) {
    if (channels == 1) return std::string(LoadString(2302));
    if (channels == 2) return std::string(LoadString(2303));
    return FormatString(2304, channels);
}

// "FLAC, 24-bit, 96000 Hz, 6 channels, read as 16-bit stereo"
std::string SourceText(const SndfileSource& s, std::uint32_t outChannels) {
    std::string sample;
    if (s.bits != 0) sample = FormatString(s.floating ? 2306 : 2305, unsigned{s.bits});
    return FormatString(2301, FormatName(s).c_str(), sample.c_str(), s.rate,
                        ChannelsText(s.channels).c_str(), ChannelsText(outChannels).c_str());
}

FileError LoadErrorOf(SndfileOpen result) {
    switch (result) {
        case SndfileOpen::Malformed:
            return FileError::Corrupt;
        case SndfileOpen::Unsupported:
            return FileError::Unsupported;
        case SndfileOpen::CannotOpen:
            return FileError::CannotOpen;
        default:
            return FileError::UnknownType;
    }
}

// libsndfile's output goes through an OutputFile, so a failed save leaves no partial file
// and the earlier file as it was. Only the encoders' header rewrites seek back.
struct OutputIo {
    OutputFile& file;
    sf_count_t position = 0;
    bool failed = false;
};

sf_count_t IoLength(void* user) {
    return static_cast<sf_count_t>(static_cast<OutputIo*>(user)->file.Position());
}

sf_count_t IoSeek(sf_count_t offset, int whence, void* user) {
    auto* io = static_cast<OutputIo*>(user);
    const sf_count_t base = whence == SEEK_CUR   ? io->position
                            : whence == SEEK_END ? IoLength(user)
                                                 : 0;
    if (base + offset < 0) return -1;
    io->position = base + offset;
    return io->position;
}

sf_count_t IoRead(void*, sf_count_t, void*) {
    return 0;
}

sf_count_t IoWrite(const void* data, sf_count_t count, void* user) {
    auto* io = static_cast<OutputIo*>(user);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const auto end = static_cast<sf_count_t>(io->file.Position());
    bool ok = true;
    sf_count_t done = 0;
    if (io->position < end) {
        done = std::min(count, end - io->position);
        ok = io->file.WriteAt(static_cast<std::uint64_t>(io->position), bytes, done);
    }
    // A seek past the end leaves zeros, as a file would.
    for (sf_count_t gap = io->position - end; ok && gap > 0; --gap) ok = io->file.Write("", 1);
    if (ok && done < count)
        ok = io->file.Write(bytes + done, static_cast<std::size_t>(count - done));
    if (!ok) {
        io->failed = true;
        return 0;
    }
    io->position += count;
    return count;
}

sf_count_t IoTell(void* user) {
    return static_cast<OutputIo*>(user)->position;
}

// The rate a type is written at: Opus takes five rates (others go at 48000 Hz), MP3 nine (others
// at the nearest one below).
std::uint32_t WrittenRate(std::uint32_t type, std::uint32_t rate) {
    static constexpr std::uint32_t kOpus[] = {8000, 12000, 16000, 24000, 48000};
    static constexpr std::uint32_t kMp3[] = {8000,  11025, 12000, 16000, 22050,
                                             24000, 32000, 44100, 48000};
    if (type == kFileOpus)
        return std::find(std::begin(kOpus), std::end(kOpus), rate) != std::end(kOpus) ? rate
                                                                                      : 48000;
    if (type != kFileMp3) return rate;
    std::uint32_t best = kMp3[0];
    for (const std::uint32_t r : kMp3)
        if (r <= rate) best = r;
    return best;
}

// libsndfile's compression level (0 to 1) for each setting.
double Mp3BitrateLevel(int kbits, std::uint32_t rate) {
    // libsndfile picks bitrate = top - level * (top - bottom), truncated: aim half a kbit up.
    const double top = rate >= 32000 ? 320 : rate >= 16000 ? 160 : 64;
    const double bottom = rate >= 32000 ? 32 : 8;
    return std::clamp((top - kbits - 0.5) / (top - bottom), 0.0, 1.0);
}

double OpusBitrateLevel(int kbits, int channels) {
    // libsndfile takes 6 to 256 kbit/s a channel, from level 1 to level 0.
    const double perChannel = kbits * 1000.0 / channels;
    return std::clamp(1.0 - (perChannel - 6000.0) / 250000.0, 0.0, 1.0);
}

bool ApplySettings(SNDFILE* file, std::uint32_t type, const EncoderSettings& s, std::uint32_t rate,
                   int channels) {
    double level = 0;
    switch (type) {
        case kFileFlac:
            level = std::clamp(s.flacLevel, 0, 8) / 8.0;
            break;
        case kFileOgg: {
            double quality = std::clamp(s.vorbisQuality, 0, 10) / 10.0;
            return sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality) ==
                   SF_TRUE;
        }
        case kFileOpus: {
            int mode = SF_BITRATE_MODE_VARIABLE;
            sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
            level = OpusBitrateLevel(s.opusBitrate, channels);
            break;
        }
        case kFileMp3: {
            // libsndfile 1.2 answers SF_FALSE here even when it takes the mode.
            int mode = s.mp3Vbr ? SF_BITRATE_MODE_VARIABLE : SF_BITRATE_MODE_CONSTANT;
            sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
            level = s.mp3Vbr ? std::clamp(s.mp3Quality, 0, 9) / 10.0
                             : Mp3BitrateLevel(s.mp3Bitrate, rate);
            break;
        }
        default:
            return false;
    }
    return sf_command(file, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level) == SF_TRUE;
}

int SndfileFormatOf(std::uint32_t type) {
    switch (type) {
        case kFileFlac:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        case kFileOgg:
            return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
        case kFileOpus:
            return SF_FORMAT_OGG | SF_FORMAT_OPUS;
        case kFileMp3:
            return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
        default:
            return 0;
    }
}

// FLAC takes the samples as they are. libsndfile 1.2's MP3 encoder mangles 16-bit input (its
// float input is right), and the Vorbis and Opus encoders work in float anyway.
sf_count_t WriteFrames(SNDFILE* file, std::uint32_t type, const std::int16_t* samples, int channels,
                       std::vector<float>& floats, sf_count_t frames) {
    if (type == kFileFlac) return sf_writef_short(file, samples, frames);
    const auto count = static_cast<std::size_t>(frames * channels);
    for (std::size_t i = 0; i < count; ++i) floats[i] = samples[i] * (1.0f / 32768.0f);
    return sf_writef_float(file, floats.data(), frames);
}

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

}  // namespace

bool LoadDitherSetting() {
    return GetProfileInt("MISCELLANEOUS", "DITHER", 1) != 0;
}

void SaveDitherSetting(bool on) {
    WriteProfileInt("MISCELLANEOUS", "DITHER", on ? 1 : 0);
}

bool WantsSndfile(const std::uint8_t* head, std::size_t size) {
    static constexpr std::uint8_t kWave64[16] = {'r',  'i',  'f',  'f',  0x2E, 0x91, 0xCF, 0x11,
                                                 0xA5, 0xD6, 0x28, 0xDB, 0x04, 0xC1, 0x00, 0x00};
    const auto id = [&](std::size_t at, const char* text) {
        return at + 4 <= size && std::memcmp(head + at, text, 4) == 0;
    };
    if (id(0, "fLaC") || id(0, "OggS") || id(0, "caff")) return true;
    if ((id(0, "RF64") || id(0, "BW64")) && id(8, "WAVE")) return true;
    if (size >= 16 && std::memcmp(head, kWave64, 16) == 0) return true;
    if (id(0, "FORM") && id(8, "AIFC")) return true;
    if (id(0, "FORM") && id(8, "AIFF")) return AiffWantsSndfile(head, size);
    if (id(0, "RIFF") && id(8, "WAVE")) return WaveWantsSndfile(head, size);
    if (id(0, ".snd")) return AuWantsSndfile(head, size);
    return false;
}

LoadProbe::LoadProbe(const std::string& fileName) {
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;
    std::vector<std::uint8_t> head(kProbeBytes);
    const ssize_t got = ::pread(fd_, head.data(), head.size(), 0);
    wants_ = got > 0 && kelvane::WantsSndfile(head.data(), static_cast<std::size_t>(got));
}

LoadProbe::~LoadProbe() {
    if (fd_ >= 0) ::close(fd_);
}

int LoadProbe::Take() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

FileError ReadSndfile(WaveObject& wave, int fd, const std::string& fileName, std::uint32_t flags,
                      ProgressFn progressFn, void* context) {
    wave.Reset();
    if (fd < 0) return FileError::CannotOpen;
    // The descriptor keeps the file readable for as long as the stream needs it.
    if ((flags & LOAD_DELETE_ON_CLOSE) != 0) ::unlink(fileName.c_str());
    auto stream = std::make_unique<SndfileStream>(fd, (flags & LOAD_NO_DITHER) == 0);
    if (stream->OpenResult() != SndfileOpen::Ok) return LoadErrorOf(stream->OpenResult());
    if (stream->OutputBytes() > 0xFFFFFFFFu) return FileError::TooLong;

    const SndfileSource& s = stream->Source();
    const std::uint16_t channels = stream->OutputChannels();
    wave.SetFormat(PcmFormat(s.rate, 16, channels));
    wave.sourceType = SourceType::Sndfile;
    wave.sourceTag = kTagPcm;
    wave.sourceChannels = static_cast<std::uint16_t>(std::min<std::uint32_t>(s.channels, 0xFFFF));
    wave.sourceRate = s.rate;
    wave.sourceBits = s.bits;
    wave.sourceFormatName = FormatName(s);
    wave.sourceText = SourceText(s, channels);
    for (const TextTag& t : kTextTags) {
        const std::string text = stream->Text(t.tag);
        if (!text.empty()) wave.SetInfo(t.info, text.c_str());
    }
    if ((flags & LOAD_HEADER_ONLY) != 0) {
        wave.mode = WaveMode::FormatOnly;
        return FileError::Success;
    }
    const std::uint32_t bytes = stream->Size();
    wave.stream = std::move(stream);
    wave.mode = WaveMode::Streamed;
    if ((flags & (LOAD_TO_MEMORY | LOAD_CONVERT_TO_PCM)) == 0) return FileError::Success;
    const FileError code = wave.Materialize(progressFn, context);
    // A file that ends before its header says it does is damaged, not a shorter sound.
    if (code == FileError::Success && wave.dataBytes != bytes) return FileError::Corrupt;
    return code;
}

FileError WriteSndfile(WaveObject& wave, const std::string& fileName, std::uint32_t type,
                       const EncoderSettings& settings, ProgressFn progressFn, void* context) {
    const int format = SndfileFormatOf(type);
    if (format == 0) return FileError::BadRequest;
    WriterSource source(wave);
    if (source.Stream() == nullptr) return FileError::NothingToSave;
    const WaveFormat& from = *wave.format;
    const std::uint16_t channels = from.channels;
    if (channels < 1 || channels > 2) return FileError::Unsupported;
    const std::uint32_t rate = WrittenRate(type, from.samplesPerSec);
    const WaveFormat target = PcmFormat(rate, 16, channels);
    ConvertStream samples(from, target, *source.Stream());
    if (!samples.IsOk()) return FileError::NoConverter;

    OutputFile file(fileName, OutputFile::Mode::Replace);
    if (!file.IsOpen()) return FileError::CannotCreate;
    OutputIo io{file};
    SF_VIRTUAL_IO calls{IoLength, IoSeek, IoRead, IoWrite, IoTell};
    SF_INFO info{};
    info.samplerate = static_cast<int>(rate);
    info.channels = channels;
    info.format = format;
    std::unique_ptr<SNDFILE, SndfileCloser> out(sf_open_virtual(&calls, SFM_WRITE, &info, &io));
    if (!out) return io.failed ? FileError::WriteFailed : FileError::Unsupported;
    if (!ApplySettings(out.get(), type, settings, rate, channels)) return FileError::BadRequest;
    for (const TextTag& t : kTextTags)
        if (const char* text = wave.GetInfo(t.info); text != nullptr && *text != '\0')
            sf_set_string(out.get(), t.tag, text);

    const std::uint64_t total = samples.Size();
    std::uint64_t written = 0;
    std::vector<std::int16_t> piece(kPieceBytes / 2);
    std::vector<float> floats(kPieceBytes / 2);
    const std::uint32_t frameBytes = channels * 2u;
    for (;;) {
        std::uint32_t n = samples.Read(piece.data(), kPieceBytes);
        n -= n % frameBytes;
        if (n == 0) break;
        const sf_count_t frames = n / frameBytes;
        if (WriteFrames(out.get(), type, piece.data(), channels, floats, frames) != frames)
            return io.failed ? FileError::WriteFailed : FileError::RiffFailed;
        written += n;
        if (progressFn != nullptr && !progressFn(context, 1, PercentOf(written, total)))
            return FileError::WriteFailed;  // cancelled: the file is not committed
    }
    const int closed = sf_close(out.release());
    if (closed != 0 || io.failed || !file.Commit()) return FileError::WriteFailed;
    return FileError::Success;
}

}  // namespace kelvane
