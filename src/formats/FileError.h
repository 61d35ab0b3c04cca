#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// Result codes of Load, Save, Materialize and the readers and writers behind them.
enum class FileError : std::uint32_t {
    Success = 0,
    Unsupported = 1,  // encoding or target format not supported
    BadRequest = 2,   // unknown save type, bad raw parameters, bad sub-format
    UnknownType = 3,  // type cannot be told from the extension
    CannotOpen = 4,   // file cannot be opened or mapped
    BadContents = 5,  // opened, but the contents could not be used
    NoMemory = 6,
    CannotCreate = 7,  // output file cannot be created
    NothingToSave = 8,
    RiffFailed = 9,    // a Wave write step failed, or the MPEG stream did not open
    NoConverter = 10,  // a writer's conversion stream is not usable
    Corrupt = 11,      // bad signature, unusable rate, or a read outside the file
    WriteFailed = 12,
    NotStreamed = 17,  // Materialize of an object that is not Streamed
    TooLong = 18,      // as 16-bit samples the sound would need more than 4 GiB
};

// Load flags: the low 16 bits of Load's flags.
inline constexpr std::uint32_t LOAD_DELETE_ON_CLOSE = 0x1;
inline constexpr std::uint32_t LOAD_HEADER_ONLY = 0x2;
inline constexpr std::uint32_t LOAD_TO_MEMORY = 0x4;
inline constexpr std::uint32_t LOAD_MAP_FILE = 0x8;
inline constexpr std::uint32_t LOAD_CONVERT_TO_PCM = 0x10;
inline constexpr std::uint32_t LOAD_READ_ONLY = 0x20;
// Samples of more than 16 bits are rounded instead of dithered (files read through libsndfile).
inline constexpr std::uint32_t LOAD_NO_DITHER = 0x40;

// File types: the high 16 bits of Load's and Save's flags. MPEG is a load type only, and raw
// has a different number for loading and for saving.
inline constexpr std::uint32_t kFileTypeMask = 0xFFFF0000u;
inline constexpr std::uint32_t kFileWave = 0x10000;
inline constexpr std::uint32_t kFileAu = 0x20000;
inline constexpr std::uint32_t kFileAiff = 0x30000;
inline constexpr std::uint32_t kFileMpeg = 0x40000;
inline constexpr std::uint32_t kFileRawLoad = 0x50000;
inline constexpr std::uint32_t kFileRawSave = 0x40000;
// Read through libsndfile: modern Wave, RF64, Wave64, AIFF-C, CAF, FLAC, Ogg Vorbis, Opus.
inline constexpr std::uint32_t kFileSndfile = 0x60000;
// Written through libsndfile (FLAC, Ogg and Opus load as kFileSndfile, MP3 as kFileMpeg).
inline constexpr std::uint32_t kFileFlac = 0x70000;
inline constexpr std::uint32_t kFileOgg = 0x80000;
inline constexpr std::uint32_t kFileOpus = 0x90000;
inline constexpr std::uint32_t kFileMp3 = 0xA0000;

// The type a file name's extension stands for (case-insensitive), 0 when none.
[[nodiscard]] std::uint32_t LoadTypeOfName(std::string_view fileName);
[[nodiscard]] std::uint32_t SaveTypeOfName(std::string_view fileName);
// Wave, AU, AIFF or a kind libsndfile reads (kFileSndfile) told by the file's first bytes,
// whatever its name says; 0 for anything else (MPEG and raw data have no signature to tell
// them by).
[[nodiscard]] std::uint32_t LoadTypeOfContents(const std::string& fileName);

// The message shown for a code; empty for Success.
[[nodiscard]] std::string_view FileErrorText(FileError code);

}  // namespace kelvane
