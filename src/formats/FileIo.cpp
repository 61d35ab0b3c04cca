// Load, Save and Materialize: the WaveObject's doors to files. Each picks the reader or writer
// of the file's type; the formats themselves live in their own files.
#include <unistd.h>

#include "formats/AiffFile.h"
#include "formats/AuFile.h"
#include "formats/FileError.h"
#include "formats/MpegFile.h"
#include "formats/OutputFile.h"
#include "formats/RawFile.h"
#include "formats/SourceFile.h"
#include "formats/WaveFile.h"
#include "formats/WriterSource.h"

namespace kelvane {

FileError WaveObject::Load(const std::string& fileName, std::uint32_t flags, const RawParams* raw,
                           ProgressFn progressFn, void* context) {
    std::uint32_t type = flags & kFileTypeMask;
    if (type == 0) type = LoadTypeOfName(fileName);
    switch (type) {
        case kFileWave:
            return ReadWaveFile(*this, fileName, flags, progressFn, context);
        case kFileAu:
            return ReadAuFile(*this, fileName, flags);
        case kFileAiff:
            return ReadAiffFile(*this, fileName, flags, progressFn, context);
        case kFileMpeg:
            return ReadMpegFile(*this, fileName, flags, progressFn, context);
        case kFileRawLoad:
            return ReadRawFile(*this, fileName, flags, raw, progressFn, context);
        default:
            return FileError::UnknownType;
    }
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
