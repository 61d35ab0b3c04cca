// Load, Save and Materialize: the WaveObject's doors to files. Each picks the reader or writer
// of the file's type; the formats themselves live in their own files.
#include <unistd.h>

#include "formats/AiffFile.h"
#include "formats/AuFile.h"
#include "formats/FileError.h"
#include "formats/MpegFile.h"
#include "formats/OutputFile.h"
#include "formats/RawFile.h"
#include "formats/SndfileFile.h"
#include "formats/SourceFile.h"
#include "formats/WaveFile.h"
#include "formats/WriterSource.h"

namespace kelvane {

namespace {

FileError ReadOwnType(WaveObject& wave, std::uint32_t type, const std::string& fileName,
                      std::uint32_t flags, const RawParams* raw, ProgressFn progressFn,
                      void* context) {
    switch (type) {
        case kFileWave:
            return ReadWaveFile(wave, fileName, flags, progressFn, context);
        case kFileAu:
            return ReadAuFile(wave, fileName, flags);
        case kFileAiff:
            return ReadAiffFile(wave, fileName, flags, progressFn, context);
        case kFileMpeg:
            return ReadMpegFile(wave, fileName, flags, progressFn, context);
        case kFileRawLoad:
            return ReadRawFile(wave, fileName, flags, raw, progressFn, context);
        default:
            return FileError::UnknownType;
    }
}

}  // namespace

FileError WaveObject::Load(const std::string& fileName, std::uint32_t flags, const RawParams* raw,
                           ProgressFn progressFn, void* context) {
    std::uint32_t type = flags & kFileTypeMask;
    if (type == 0) type = LoadTypeOfName(fileName);
    if (type == kFileMp3) type = kFileMpeg;
    if (type == kFileMpeg || type == kFileRawLoad)
        return ReadOwnType(*this, type, fileName, flags, raw, progressFn, context);
    // What the own readers refuse or misread goes to libsndfile first; what they refuse as an
    // unknown type or sub-format goes there afterwards.
    LoadProbe probe(fileName);
    const bool own = type == kFileWave || type == kFileAu || type == kFileAiff;
    if (!own || probe.WantsSndfile()) {
        if (type == 0 && !probe.IsOpen()) return FileError::UnknownType;
        return ReadSndfile(*this, probe.Take(), fileName, flags, progressFn, context);
    }
    const FileError code = ReadOwnType(*this, type, fileName, flags, raw, progressFn, context);
    if (code != FileError::Unsupported || !probe.IsOpen()) return code;
    const FileError wide = ReadSndfile(*this, probe.Take(), fileName, flags, progressFn, context);
    return wide == FileError::UnknownType ? code : wide;
}

FileError WaveObject::Save(const std::string& fileName, std::uint32_t flags, SaveOption option,
                           ProgressFn progressFn, void* context) {
    const bool hasData = (mode == WaveMode::Resident && dataBytes > 0 && data != nullptr) ||
                         (mode == WaveMode::Streamed && stream);
    if (!hasData || !format) return FileError::NothingToSave;
    std::uint32_t type = flags & kFileTypeMask;
    if (type == 0) type = SaveTypeOfName(fileName);
    switch (type) {
        case kFileWave:
            return WriteWaveConverted(*this, fileName, option.target, progressFn, context);
        case kFileAu:
            return WriteAuFile(*this, fileName, option.code, progressFn, context);
        case kFileAiff:
            return WriteAiffFile(*this, fileName, progressFn, context);
        case kFileRawSave:
            return WriteRawFile(*this, fileName, option.code, progressFn, context);
        case kFileFlac:
        case kFileOgg:
        case kFileOpus:
        case kFileMp3:
            return WriteSndfile(*this, fileName, type,
                                option.encoder ? *option.encoder : EncoderSettings{}, progressFn,
                                context);
        default:
            return FileError::BadRequest;
    }
}

FileError WaveObject::Materialize(ProgressFn progressFn, void* context) {
    if (mode != WaveMode::Streamed || !stream) return FileError::NotStreamed;
    const std::string temp = MakeTempFileName();
    {
        OutputFile file(temp, OutputFile::Mode::Direct);
        if (!file.IsOpen()) return FileError::CannotCreate;
        stream->Seek(0, SeekStart);
        if (!CopyStreamToFile(*stream, file, 2, progressFn, context)) return FileError::WriteFailed;
        if (!file.Commit()) return FileError::WriteFailed;
    }
    auto block = std::make_unique<MappedFileBlock>(0, temp.c_str(), true, nullptr, false, true);
    if (block->pointer == nullptr) {
        ::unlink(temp.c_str());
        return FileError::BadContents;
    }
    stream.reset();
    sourceType = SourceType::Wave;
    mode = WaveMode::Resident;
    data = block->pointer;
    dataBytes = block->size;
    storage = std::move(block);
    return FileError::Success;
}

}  // namespace kelvane
