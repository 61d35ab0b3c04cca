#include "formats/AuFile.h"

#include <cstring>

#include "formats/OutputFile.h"
#include "formats/SourceFile.h"
#include "formats/WriterSource.h"
#include "formats/streams/BlockStream.h"
#include "formats/streams/RangeStream.h"
#include "formats/streams/SampleCodeStream.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kMuLaw8 = 1;
constexpr std::uint32_t kLinear8 = 2;
constexpr std::uint32_t kLinear16 = 3;
constexpr std::uint32_t kALaw8 = 27;
constexpr std::uint32_t kHeaderBytes = 28;

struct AuHeader {
    std::uint32_t magic, offset, size, encoding, rate, channels;
};

bool ReadHeader(const ByteView& view, AuHeader& h) {
    return view.Be32(0, h.magic) && view.Be32(4, h.offset) && view.Be32(8, h.size) &&
           view.Be32(12, h.encoding) && view.Be32(16, h.rate) && view.Be32(20, h.channels);
}

void PutBe32(std::uint8_t* to, std::uint32_t v) {
    to[0] = static_cast<std::uint8_t>(v >> 24);
    to[1] = static_cast<std::uint8_t>(v >> 16);
    to[2] = static_cast<std::uint8_t>(v >> 8);
    to[3] = static_cast<std::uint8_t>(v);
}

// The 8-bit companded format of the file, as the compression manager describes it.
WaveFormat CompandedFormat(std::uint16_t tag, std::uint32_t rate, std::uint16_t channels) {
    WaveFormat f = PcmFormat(rate, 8, channels);
    f.formatTag = tag;
    return f;
}

}  // namespace

FileError ReadAuFile(WaveObject& wave, const std::string& fileName, std::uint32_t flags) {
    wave.Reset();
    std::unique_ptr<DataBlock> block = MapSourceFile(fileName, flags, true);
    if (!block) return FileError::CannotOpen;
    AuHeader h{};
    if (!ReadHeader(ByteView(block->pointer, block->size), h)) return FileError::Corrupt;
    if (h.magic != 0x2E736E64u) return FileError::Corrupt;  // ".snd"
    std::uint16_t tag = kTagPcm;
    if (h.encoding == kMuLaw8)
        tag = kTagMuLaw;
    else if (h.encoding == kALaw8)
        tag = kTagALaw;
    else if (h.encoding != kLinear8 && h.encoding != kLinear16)
        return FileError::Unsupported;

    const auto channels = static_cast<std::uint16_t>(h.channels);
    const std::uint16_t bits = h.encoding == kLinear8 ? 8 : 16;
    wave.SetFormat(PcmFormat(h.rate, bits, channels));
    wave.sourceType = SourceType::Au;
    wave.sourceTag = tag;
    wave.sourceBits = h.encoding == kLinear16 ? 16 : 8;
    wave.sourceRate = h.rate;
    wave.sourceChannels = channels;
    if ((flags & LOAD_HEADER_ONLY) != 0) {
        if (tag != kTagPcm) wave.SetFormat(CompandedFormat(tag, h.rate, channels));
        wave.mode = WaveMode::FormatOnly;
        return FileError::Success;
    }

    // A data size past the end (or the "unknown size" of a piped file) means "to the end".
    const std::uint32_t start = std::min(h.offset, block->size);
    const std::uint32_t length = std::min(h.size, block->size - start);
    auto range = std::make_unique<RangeStream>(std::make_unique<BlockStream>(std::move(block)),
                                               start, length);
    if (tag != kTagPcm) {
        wave.stream =
            OpenAcmStream(CompandedFormat(tag, h.rate, channels), *wave.format, std::move(range));
        if (!wave.stream) return FileError::Unsupported;
    } else if (bits == 8) {
        wave.stream = std::make_unique<SampleCodeStream>(std::move(range), SampleCode::Signed8,
                                                         SampleCode::Unsigned8);
    } else {
        wave.stream = std::make_unique<SampleCodeStream>(std::move(range), SampleCode::Signed16BE,
                                                         SampleCode::Signed16LE);
    }
    wave.mode = WaveMode::Streamed;
    if ((flags & (LOAD_TO_MEMORY | LOAD_CONVERT_TO_PCM)) != 0) return wave.Materialize();
    return FileError::Success;
}

FileError WriteAuFile(WaveObject& wave, const std::string& fileName, std::uint32_t subFormat,
                      ProgressFn progressFn, void* context) {
    const std::uint32_t layout = wave.frameLayout;
    const std::uint32_t frames = wave.FrameCount();
    const WaveFormat& format = *wave.format;
    std::uint32_t encoding = 0, dataBytes = 0;
    switch (static_cast<AuSubFormat>(subFormat)) {
        case AuSubFormat::Linear:
            if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
                return FileError::BadRequest;
            encoding = format.bitsPerSample == 8 ? kLinear8 : kLinear16;
            dataBytes = BytesPerFrame(layout) * frames;
            break;
        case AuSubFormat::MuLaw:
            encoding = kMuLaw8;
            dataBytes = frames * format.channels;
            break;
        case AuSubFormat::ALaw:
            encoding = kALaw8;
            dataBytes = frames * format.channels;
            break;
        default:
            return FileError::BadRequest;
    }

    OutputFile file(fileName, OutputFile::Mode::Replace);
    if (!file.IsOpen()) return FileError::CannotCreate;
    std::uint8_t header[kHeaderBytes] = {'.', 's', 'n', 'd'};
    PutBe32(header + 4, kHeaderBytes);
    PutBe32(header + 8, dataBytes);
    PutBe32(header + 12, encoding);
    PutBe32(header + 16, format.samplesPerSec);
    PutBe32(header + 20, format.channels);
    std::memcpy(header + 24, "mood", 4);
    if (!file.Write(header, sizeof header)) return FileError::WriteFailed;

    WriterSource source(wave);
    if (source.Stream() == nullptr) return FileError::NothingToSave;
    std::unique_ptr<SampleStream> samples;
    if (encoding == kLinear8 || encoding == kLinear16) {
        samples = std::make_unique<SampleCodeStream>(
            *source.Stream(), encoding == kLinear8 ? SampleCode::Unsigned8 : SampleCode::Signed16LE,
            encoding == kLinear8 ? SampleCode::Signed8 : SampleCode::Signed16BE);
    } else {
        const std::uint16_t tag = encoding == kMuLaw8 ? kTagMuLaw : kTagALaw;
        samples = OpenAcmStream(format, CompandedFormat(tag, format.samplesPerSec, format.channels),
                                *source.Stream());
    }
    if (!samples || !samples->IsOk()) return FileError::NoConverter;
    if (!CopyStreamToFile(*samples, file, 1, progressFn, context) || !file.Commit())
        return FileError::WriteFailed;
    return FileError::Success;
}

}  // namespace kelvane
