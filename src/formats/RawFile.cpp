#include "formats/RawFile.h"

#include "formats/OutputFile.h"
#include "formats/SourceFile.h"
#include "formats/WriterSource.h"
#include "formats/streams/BlockStream.h"
#include "formats/streams/SampleCodeStream.h"

namespace kelvane {

namespace {

bool IsEightBit(std::uint32_t code) {
    return code == 1 || code == 2;
}

}  // namespace

std::uint32_t RawCodeOfListEntry(std::uint32_t entry) {
    if (entry == 1 || entry == 2) return 3 - entry;
    return entry <= 6 ? entry : 0;
}

std::uint32_t RawListEntryOfCode(std::uint32_t code) {
    return RawCodeOfListEntry(code);
}

FileError ReadRawFile(WaveObject& wave, const std::string& fileName, std::uint32_t flags,
                      const RawParams* raw, ProgressFn progressFn, void* context) {
    wave.Reset();
    if (raw == nullptr || raw->size != sizeof(RawParams) || raw->dataFormat < 1 ||
        raw->dataFormat > 6 || raw->channels < 1 || raw->channels > 2 || raw->rate == 0)
        return FileError::BadRequest;
    std::unique_ptr<DataBlock> block = MapSourceFile(fileName, flags, true);
    if (!block) return FileError::CannotOpen;
    if ((flags & LOAD_TO_MEMORY) != 0 && (flags & LOAD_CONVERT_TO_PCM) == 0) {
        block = CopyToMemory(*block, nullptr, nullptr);
        if (!block) return FileError::NoMemory;
    }
    const bool eightBit = IsEightBit(raw->dataFormat);
    wave.stream = std::make_unique<SampleCodeStream>(
        std::make_unique<BlockStream>(std::move(block)), static_cast<SampleCode>(raw->dataFormat),
        eightBit ? SampleCode::Unsigned8 : SampleCode::Signed16LE);
    wave.mode = WaveMode::Streamed;

    const auto channels = static_cast<std::uint16_t>(raw->channels);
    const std::uint16_t bits = eightBit ? 8 : 16;
    wave.SetFormat(PcmFormat(raw->rate, bits, channels));
    wave.sourceType = SourceType::Raw;
    wave.sourceTag = kTagPcm;
    wave.sourceChannels = channels;
    wave.sourceRate = raw->rate;
    wave.sourceBits = bits;
    if ((flags & LOAD_CONVERT_TO_PCM) != 0) return wave.Materialize(progressFn, context);
    return FileError::Success;
}

FileError WriteRawFile(WaveObject& wave, const std::string& fileName, std::uint32_t code,
                       ProgressFn progressFn, void* context) {
    if (code == 0 || code > 6) return FileError::BadRequest;
    OutputFile file(fileName, OutputFile::Mode::Replace);
    if (!file.IsOpen()) return FileError::CannotCreate;
    WriterSource source(wave);
    if (source.Stream() == nullptr) return FileError::NothingToSave;
    const bool eightBit = wave.format->bitsPerSample == 8;
    SampleCodeStream samples(*source.Stream(),
                             eightBit ? SampleCode::Unsigned8 : SampleCode::Signed16LE,
                             static_cast<SampleCode>(code));
    if (wave.frameLayout == LayoutNone || !samples.IsOk()) return FileError::NoConverter;
    if (!CopyStreamToFile(samples, file, 1, progressFn, context) || !file.Commit())
        return FileError::WriteFailed;
    return FileError::Success;
}

}  // namespace kelvane
