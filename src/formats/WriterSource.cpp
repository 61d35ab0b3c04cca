#include "formats/WriterSource.h"

#include "formats/SourceFile.h"
#include "formats/streams/AcmStream.h"
#include "formats/streams/BlockStream.h"

namespace kelvane {

WriterSource::WriterSource(WaveObject& wave) {
    if (wave.mode == WaveMode::Resident && wave.data != nullptr) {
        owned_ = std::make_unique<BlockStream>(
            std::make_unique<BorrowedBlock>(wave.data, wave.dataBytes, false, true));
        stream_ = owned_.get();
    } else if (wave.mode == WaveMode::Streamed && wave.stream) {
        stream_ = wave.stream.get();
        stream_->Seek(0, SeekStart);
    }
}

namespace {

std::unique_ptr<SampleStream> IfUsable(std::unique_ptr<AcmStream> stream) {
    if (!stream->IsOk()) return nullptr;
    return stream;
}

}  // namespace

std::unique_ptr<SampleStream> OpenAcmStream(const WaveFormat& from, const WaveFormat& to,
                                            SampleStream& inner) {
    return IfUsable(std::make_unique<AcmStream>(from, to, inner));
}

std::unique_ptr<SampleStream> OpenAcmStream(const WaveFormat& from, const WaveFormat& to,
                                            std::unique_ptr<SampleStream> inner) {
    return IfUsable(std::make_unique<AcmStream>(from, to, std::move(inner)));
}

std::uint32_t PercentOf(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return 100;
    return done >= total ? 100 : static_cast<std::uint32_t>(done * 100 / total);
}

bool CopyStreamToFile(SampleStream& stream, OutputFile& file, std::uint32_t phase,
                      ProgressFn progressFn, void* context) {
    const std::uint64_t total = stream.Size();
    std::uint64_t written = 0;
    for (;;) {
        // Pieces are decoded straight into the file's buffer.
        std::uint8_t* space = file.Space(kPieceBytes);
        if (space == nullptr) return false;
        const std::uint32_t n = stream.Read(space, kPieceBytes);
        if (n == 0) return true;
        file.Advance(n);
        written += n;
        if (progressFn != nullptr && !progressFn(context, phase, PercentOf(written, total)))
            return false;
    }
}

}  // namespace kelvane
