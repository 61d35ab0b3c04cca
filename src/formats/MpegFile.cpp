#include "formats/MpegFile.h"

#include "formats/SourceFile.h"
#include "formats/streams/MpegStream.h"

namespace kelvane {

FileError ReadMpegFile(WaveObject& wave, const std::string& fileName, std::uint32_t flags,
                       ProgressFn progressFn, void* context) {
    wave.Reset();
    std::unique_ptr<DataBlock> block = MapSourceFile(fileName, flags, true);
    if (!block) return FileError::CannotOpen;
    if ((flags & (LOAD_TO_MEMORY | LOAD_HEADER_ONLY | LOAD_CONVERT_TO_PCM)) == LOAD_TO_MEMORY) {
        block = CopyToMemory(*block, nullptr, nullptr);
        if (!block) return FileError::NoMemory;
    }
    auto mpeg = std::make_unique<MpegStream>(std::move(block));
    if (!mpeg->IsOk()) return FileError::RiffFailed;
    wave.mpegInfo = std::make_unique<MpegInfo>();
    mpeg->GetInfo(*wave.mpegInfo);
    const MpegInfo& info = *wave.mpegInfo;
    wave.stream = std::move(mpeg);

    wave.SetFormat(PcmFormat(info.rate, 16, info.channels));
    wave.mode = WaveMode::Streamed;
    wave.sourceType = SourceType::Mpeg;
    wave.sourceTag = kTagPcm;
    wave.sourceChannels = info.channels;
    wave.sourceRate = info.rate;
    wave.sourceBits = 0;
    if ((flags & LOAD_HEADER_ONLY) != 0) {
        wave.mode = WaveMode::FormatOnly;
        wave.stream.reset();
        return FileError::Success;
    }
    if ((flags & LOAD_CONVERT_TO_PCM) != 0) return wave.Materialize(progressFn, context);
    return FileError::Success;
}

}  // namespace kelvane
