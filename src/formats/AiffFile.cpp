#include "formats/AiffFile.h"

#include <cstring>

#include "formats/OutputFile.h"
#include "formats/SourceFile.h"
#include "formats/WriterSource.h"
#include "formats/streams/BlockStream.h"
#include "formats/streams/RangeStream.h"
#include "formats/streams/SampleCodeStream.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kHeaderBytes = 54;

void PutBe16(std::uint8_t* to, std::uint32_t v) {
    to[0] = static_cast<std::uint8_t>(v >> 8);
    to[1] = static_cast<std::uint8_t>(v);
}

void PutBe32(std::uint8_t* to, std::uint32_t v) {
    PutBe16(to, v >> 16);
    PutBe16(to + 2, v);
}

}  // namespace

bool DecodeAiffRate(const std::uint8_t extended[10], std::uint32_t& rate) {
    const std::uint32_t exponent = std::uint32_t{extended[0]} << 8 | extended[1];
    const std::uint32_t mantissa = std::uint32_t{extended[2]} << 8 | extended[3];
    if (exponent >= 0x4009 && exponent <= 0x400E) {
        rate = mantissa >> (0x400E - exponent);
        return true;
    }
    if (exponent >= 0x400F && exponent <= 0x4011) {
        rate = mantissa << (exponent - 0x400E);
        return true;
    }
    return false;
}

void EncodeAiffRate(std::uint32_t rate, std::uint8_t extended[10]) {
    std::memset(extended, 0, 10);
    if (rate == 0) return;
    const int top = 31 - __builtin_clz(rate);
    PutBe16(extended, 16383u + static_cast<std::uint32_t>(top));
    const std::uint64_t mantissa = std::uint64_t{rate} << (63 - top);
    for (int i = 0; i < 8; ++i)
        extended[2 + i] = static_cast<std::uint8_t>(mantissa >> (56 - 8 * i));
}

std::uint32_t FindAiffChunk(const DataBlock& file, const char id[4]) {
    const ByteView view(file.pointer, file.size);
    std::uint32_t formSize = 0;
    if (!view.Be32(4, formSize)) return 0;
    std::uint64_t offset = 12;
    for (;;) {
        std::uint32_t size = 0;
        // A header that does not fit in the file ends the search like the end of the form.
        if (!view.Be32(offset + 4, size)) return 0;
        if (view.IdAt(offset, id)) return static_cast<std::uint32_t>(offset);
        if (offset >= formSize) return 0;
        offset += 8 + std::uint64_t{size} + (size & 1);
        if (!view.Has(offset, 8)) return 0;
    }
}

FileError ReadAiffFile(WaveObject& wave, const std::string& fileName, std::uint32_t flags,
                       ProgressFn progressFn, void* context) {
    wave.Reset();
    std::unique_ptr<DataBlock> block = MapSourceFile(fileName, flags, true);
    if (!block) return FileError::CannotOpen;
    const ByteView view(block->pointer, block->size);
    if (!view.IdAt(8, "AIFF")) return FileError::Corrupt;
    const std::uint32_t comm = FindAiffChunk(*block, "COMM");
    const std::uint32_t ssnd = FindAiffChunk(*block, "SSND");
    if (comm == 0 || ssnd == 0) return FileError::Corrupt;

    std::uint16_t channels = 0, sampleSize = 0;
    std::uint32_t ssndSize = 0, ssndOffset = 0, rate = 0;
    if (!view.Be16(comm + 8, channels) || !view.Be16(comm + 14, sampleSize) ||
        !view.Has(comm + 16, 10) || !view.Be32(ssnd + 4, ssndSize) ||
        !view.Be32(ssnd + 8, ssndOffset) || !view.Has(ssnd + 12, 4))
        return FileError::Corrupt;
    if (!DecodeAiffRate(block->pointer + comm + 16, rate)) return FileError::Corrupt;
    const std::uint16_t bits = sampleSize == 8 ? 8 : 16;

    // The range is cut to what the file holds; a stream over it never reads past the map.
    const std::uint64_t start =
        std::min<std::uint64_t>(std::uint64_t{ssnd} + 16 + ssndOffset, block->size);
    const std::uint32_t claimed = ssndSize - 8 - ssndOffset;
    const auto length =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(claimed, block->size - start));

    wave.SetFormat(PcmFormat(rate, bits, channels));
    wave.sourceType = SourceType::Aiff;
    wave.sourceTag = kTagPcm;
    wave.sourceChannels = channels;
    wave.sourceRate = rate;
    wave.sourceBits = bits;
    if ((flags & LOAD_HEADER_ONLY) != 0) {
        wave.mode = WaveMode::FormatOnly;
        return FileError::Success;
    }
    auto range = std::make_unique<RangeStream>(std::make_unique<BlockStream>(std::move(block)),
                                               static_cast<std::uint32_t>(start), length);
    wave.stream = bits == 8 ? std::make_unique<SampleCodeStream>(
                                  std::move(range), SampleCode::Signed8, SampleCode::Unsigned8)
                            : std::make_unique<SampleCodeStream>(
                                  std::move(range), SampleCode::Signed16BE, SampleCode::Signed16LE);
    wave.mode = WaveMode::Streamed;
    if ((flags & (LOAD_TO_MEMORY | LOAD_CONVERT_TO_PCM)) != 0)
        return wave.Materialize(progressFn, context);
    return FileError::Success;
}

FileError WriteAiffFile(WaveObject& wave, const std::string& fileName, ProgressFn progressFn,
                        void* context) {
    const std::uint32_t layout = wave.frameLayout;
    if (layout == LayoutNone) return FileError::NoConverter;
    const bool eightBit = layout == LayoutMono8 || layout == LayoutStereo8;
    const std::uint32_t frames = wave.FrameCount();
    const std::uint32_t dataBytes = BytesPerFrame(layout) * frames;

    std::uint8_t header[kHeaderBytes] = {'F', 'O', 'R', 'M', 0,   0,   0, 0, 'A', 'I',
                                         'F', 'F', 'C', 'O', 'M', 'M', 0, 0, 0,   18};
    PutBe32(header + 4, dataBytes + 46);
    PutBe16(header + 20, wave.format->channels);
    PutBe32(header + 22, frames);
    PutBe16(header + 26, eightBit ? 8 : 16);
    EncodeAiffRate(wave.format->samplesPerSec, header + 28);
    std::memcpy(header + 38, "SSND", 4);
    PutBe32(header + 42, dataBytes + 8);

    OutputFile file(fileName, OutputFile::Mode::Replace);
    if (!file.IsOpen()) return FileError::CannotCreate;
    if (!file.Write(header, sizeof header)) return FileError::WriteFailed;
    WriterSource source(wave);
    if (source.Stream() == nullptr) return FileError::NothingToSave;
    SampleCodeStream samples(*source.Stream(),
                             eightBit ? SampleCode::Unsigned8 : SampleCode::Signed16LE,
                             eightBit ? SampleCode::Signed8 : SampleCode::Signed16BE);
    if (!samples.IsOk()) return FileError::NoConverter;
    if (!CopyStreamToFile(samples, file, 1, progressFn, context) || !file.Commit())
        return FileError::WriteFailed;
    return FileError::Success;
}

}  // namespace kelvane
