#include "formats/WaveFile.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "formats/ChunkWriter.h"
#include "formats/SourceFile.h"
#include "formats/WriterSource.h"
#include "formats/streams/BlockStream.h"
#include "formats/streams/RiffReader.h"

namespace kelvane {

namespace {

// The "fmt " body as the format record: at least 18 bytes, zero-extended; a body longer than
// that is kept whole. Room for extraSize bytes is always there, so FormatSize never reaches
// past the record whatever the file claims.
FormatPtr ReadFormatBody(const std::uint8_t* body, std::uint32_t size) {
    WaveFormat header{};
    std::memcpy(&header, body, std::min<std::uint32_t>(size, sizeof header));
    const std::uint32_t bytes = std::max<std::uint32_t>(
        {size, sizeof(WaveFormat), std::uint32_t{sizeof(WaveFormat)} + header.extraSize});
    FormatPtr format(static_cast<WaveFormat*>(std::calloc(1, bytes)));
    if (format) std::memcpy(format.get(), body, size);
    return format;
}

bool ParseImage(WaveObject& wave, const std::uint8_t* image, std::uint32_t imageSize) {
    BorrowedBlock view(const_cast<std::uint8_t*>(image), imageSize, false, true);
    BlockStream bytes(view);
    RiffReader riff(bytes);
    if (!riff.IsOk() || !riff.Descend("WAVE", RiffReader::DescendForm)) return false;
    const ByteView file(image, imageSize);

    if (!riff.Descend("fmt ", RiffReader::DescendChunk)) return false;
    const std::uint32_t formatAt = riff.ChunkStart();
    const std::uint32_t formatSize = riff.ChunkSize();
    riff.Ascend();
    if (!file.Has(formatAt, formatSize)) return false;
    FormatPtr format = ReadFormatBody(image + formatAt, formatSize);
    if (!format) return false;

    if (!riff.Descend("data", RiffReader::DescendChunk)) return false;
    const std::uint32_t dataAt = riff.ChunkStart();
    const std::uint32_t dataSize = riff.ChunkSize();
    riff.Ascend();
    // A truncated file is refused, not shortened.
    if (!file.Has(dataAt, dataSize)) return false;

    wave.format = std::move(format);
    wave.frameLayout = FrameLayoutOf(wave.format.get());
    wave.data = const_cast<std::uint8_t*>(image) + dataAt;
    wave.dataBytes = dataSize;
    wave.mode = WaveMode::Resident;

    if (riff.Descend("INFO", RiffReader::DescendList)) {
        for (const auto id : kInfoIds) {
            if (!riff.Descend(id.data(), RiffReader::DescendChunk)) continue;
            const std::uint32_t at = std::min(riff.ChunkStart(), imageSize);
            const std::uint32_t size = std::min(riff.ChunkSize(), imageSize - at);
            const auto* text = reinterpret_cast<const char*>(image + at);
            const std::string value(text, strnlen(text, size));
            wave.SetInfo(id, value.c_str());
            riff.Ascend();
        }
        riff.Ascend();
    }
    wave.sourceType = SourceType::Wave;
    return true;
}

bool WriteInfoList(const WaveObject& wave, ChunkWriter& chunks) {
    if (!chunks.CreateList("LIST", "INFO")) return false;
    // As with the platform's writer, the steps inside the list are not checked; a failure
    // shows in the ascend and flush that follow.
    for (const auto id : kInfoIds) {
        const char* text = wave.GetInfo(id);
        if (text == nullptr) continue;
        const auto bytes = static_cast<std::uint32_t>(std::strlen(text) + 1);
        chunks.CreateChunk(id.data(), bytes);
        chunks.Write(text, bytes);
        chunks.Ascend();
    }
    return chunks.Ascend();
}

void DefaultTitle(WaveObject& wave, const std::string& fileName) {
    if (wave.GetInfo("INAM") == nullptr) wave.SetInfo("INAM", FileTitle(fileName).c_str());
}

struct HalfProgress {
    ProgressFn fn;
    void* context;
};

// The converting save of a copied load fills the first half of the bar, as phase 2.
bool FirstHalfAsConversion(void* context, std::uint32_t, std::uint32_t percent) {
    const auto* half = static_cast<const HalfProgress*>(context);
    return half->fn(half->context, 2, percent / 2);
}

FileError ConvertToPcmFile(WaveObject& source, const std::string& tempName, ProgressFn progressFn,
                           void* context) {
    const WaveFormat target = PcmFormat(source.format->samplesPerSec, 16, source.format->channels);
    return WriteWaveConverted(source, tempName, &target, progressFn, context);
}

// The converted copy, mapped read-write and gone from the folder once open.
std::unique_ptr<DataBlock> OpenConverted(const std::string& temp) {
    auto block = std::make_unique<MappedFileBlock>(0, temp.c_str(), true, nullptr, false, true);
    if (block->pointer != nullptr) return block;
    ::unlink(temp.c_str());
    return nullptr;
}

FileError ReadKeptMapped(WaveObject& wave, std::unique_ptr<DataBlock> block, std::uint32_t flags,
                         ProgressFn progressFn, void* context) {
    if (!wave.ParseWaveImage(block)) return FileError::BadContents;
    if (wave.format->formatTag == kTagPcm || (flags & LOAD_CONVERT_TO_PCM) == 0)
        return FileError::Success;
    const std::string temp = wave.MakeTempFileName();
    if (const FileError code = ConvertToPcmFile(wave, temp, progressFn, context);
        code != FileError::Success) {
        ::unlink(temp.c_str());
        return code;
    }
    wave.Reset();
    std::unique_ptr<DataBlock> converted = OpenConverted(temp);
    if (!converted) return FileError::BadContents;
    return wave.ParseWaveImage(converted) ? FileError::Success : FileError::BadContents;
}

FileError ReadIntoMemory(WaveObject& wave, std::unique_ptr<DataBlock> block, std::uint32_t flags,
                         ProgressFn progressFn, void* context) {
    {
        WaveObject scratch(1, nullptr);
        if (!scratch.ParseWaveImage(*block)) return FileError::BadContents;
        if (scratch.format->formatTag != kTagPcm && (flags & LOAD_CONVERT_TO_PCM) != 0) {
            const std::string temp = wave.MakeTempFileName();
            HalfProgress half{progressFn, context};
            const FileError code = ConvertToPcmFile(
                scratch, temp, progressFn ? FirstHalfAsConversion : nullptr, &half);
            if (code != FileError::Success) {
                ::unlink(temp.c_str());
                return code;
            }
            scratch.Reset();
            block = OpenConverted(temp);
            if (!block) return FileError::BadContents;
        }
    }
    std::unique_ptr<DataBlock> memory = CopyToMemory(*block, progressFn, context);
    if (!memory) return FileError::NoMemory;
    block.reset();
    return wave.ParseWaveImage(memory) ? FileError::Success : FileError::BadContents;
}

}  // namespace

std::string FileTitle(const std::string& fileName) {
    const std::size_t slash = fileName.rfind('/');
    std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

std::uint32_t WaveObject::ParseWaveImage(std::unique_ptr<DataBlock>& block) {
    if (!block || block->pointer == nullptr) return 0;
    Reset();
    if (!ParseImage(*this, block->pointer, block->size)) {
        Reset();
        return 0;
    }
    storage = std::move(block);
    return 1;
}

std::uint32_t WaveObject::ParseWaveImage(DataBlock& block) {
    if (block.pointer == nullptr) return 0;
    Reset();
    if (!ParseImage(*this, block.pointer, block.size)) {
        Reset();
        return 0;
    }
    storage =
        std::make_unique<BorrowedBlock>(block.pointer, block.size, false, block.readOnly != 0);
    return 1;
}

FileError ReadWaveFile(WaveObject& wave, const std::string& fileName, std::uint32_t flags,
                       ProgressFn progressFn, void* context) {
    wave.Reset();
    const bool headerOnly = (flags & LOAD_HEADER_ONLY) != 0;
    const bool toMemory = (flags & LOAD_TO_MEMORY) != 0;
    const bool mapFile = (flags & LOAD_MAP_FILE) != 0;
    const bool keepMapped =
        !headerOnly && ((mapFile && !toMemory) || (!mapFile && !toMemory && wave.useTempFiles));
    const bool readOnly = !keepMapped || (flags & LOAD_READ_ONLY) != 0;
    std::unique_ptr<DataBlock> block = MapSourceFile(fileName, flags, readOnly);
    if (!block) return FileError::CannotOpen;

    if (headerOnly) {
        const bool parsed = wave.ParseWaveImage(*block) != 0;
        wave.storage.reset();
        wave.data = nullptr;
        wave.dataBytes = 0;
        if (!parsed) return FileError::BadContents;
        wave.mode = WaveMode::FormatOnly;
        return FileError::Success;
    }
    if (keepMapped) return ReadKeptMapped(wave, std::move(block), flags, progressFn, context);
    return ReadIntoMemory(wave, std::move(block), flags, progressFn, context);
}

namespace {

// A Wave file of `to` up to the header of its "data" chunk, whose size the tail fills in.
bool WriteWaveHead(ChunkWriter& chunks, const WaveFormat& to) {
    return chunks.CreateList("RIFF", "WAVE") && chunks.CreateChunk("fmt ", FormatSize(to)) &&
           chunks.Write(&to, FormatSize(to)) && chunks.Ascend() && chunks.CreateChunk("data", 0);
}

// After the frames: the "data" chunk's end, the texts, and the file in place of its target.
bool WriteWaveTail(const WaveObject& wave, ChunkWriter& chunks, OutputFile& file) {
    return chunks.Ascend() && WriteInfoList(wave, chunks) && chunks.Ascend() && file.Commit();
}

}  // namespace

std::uint32_t WaveObject::WriteWaveFile(const std::string& fileName) {
    if (mode != WaveMode::Resident || !format) return 0;
    DefaultTitle(*this, fileName);
    OutputFile file(fileName, OutputFile::Mode::Replace);
    if (!file.IsOpen()) return 0;
    ChunkWriter chunks(file);
    return WriteWaveHead(chunks, *format) && chunks.Write(data, dataBytes) &&
                   WriteWaveTail(*this, chunks, file)
               ? 1
               : 0;
}

FileError WriteWaveConverted(WaveObject& wave, const std::string& fileName,
                             const WaveFormat* target, ProgressFn progressFn, void* context) {
    const WaveFormat& to = target != nullptr ? *target : *wave.format;
    DefaultTitle(wave, fileName);
    OutputFile file(fileName, OutputFile::Mode::Replace);
    if (!file.IsOpen()) return FileError::CannotCreate;
    ChunkWriter chunks(file);
    // A step that failed because the disk refused the bytes says so, not "unknown error".
    const auto failed = [&file] {
        return file.Failed() ? FileError::WriteFailed : FileError::RiffFailed;
    };
    if (!WriteWaveHead(chunks, to)) return failed();

    WriterSource source(wave);
    if (source.Stream() == nullptr) return FileError::NothingToSave;
    std::unique_ptr<SampleStream> converter;
    SampleStream* samples = source.Stream();
    if (!SameFormat(*wave.format, to)) {
        converter = OpenAcmStream(*wave.format, to, *samples);
        if (!converter) return FileError::Unsupported;
        samples = converter.get();
    }
    if (!CopyStreamToFile(*samples, file, 1, progressFn, context)) return failed();
    converter.reset();
    if (!WriteWaveTail(wave, chunks, file)) return failed();
    return FileError::Success;
}

std::uint64_t WaveHeaderBytes(const WaveFormat& format) {
    const std::uint64_t fmt = FormatSize(format);
    return 12 + 8 + fmt + (fmt & 1) + 8;
}

FileError FinishWaveAround(WaveObject& wave, OutputFile& file, const std::string& fileName) {
    DefaultTitle(wave, fileName);
    ChunkWriter chunks(file);
    if (!WriteWaveHead(chunks, *wave.format) || file.Position() != WaveHeaderBytes(*wave.format) ||
        !file.Skip(wave.dataBytes) || !WriteWaveTail(wave, chunks, file))
        return file.Failed() ? FileError::WriteFailed : FileError::RiffFailed;
    return FileError::Success;
}

}  // namespace kelvane
