#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "wavedata/DataBlock.h"
#include "wavedata/SampleStream.h"
#include "wavedata/WaveFormat.h"

namespace kelvane {

enum class WaveMode : std::uint32_t { Empty = 0, FormatOnly = 1, Resident = 2, Streamed = 3 };

// Sndfile: read through libsndfile and brought to the editor's forms (formats/SndfileFile.h).
enum class SourceType : std::uint32_t {
    Wave = 0,
    Mpeg = 1,
    Aiff = 2,
    Au = 3,
    Raw = 4,
    Sndfile = 5
};

enum class DeviceState : std::uint8_t { Idle = 0, Playing = 1, Recording = 2 };

// Result codes of loading and saving; the values, the load flags and the file types are in
// formats/FileError.h.
enum class FileError : std::uint32_t;

// Parameters of a headerless file, as the raw-file dialog fills them; `size` must be 16.
struct RawParams {
    std::uint32_t size = 16;
    std::uint32_t rate = 0;
    std::uint32_t dataFormat = 0;  // SampleCode 1 to 6
    std::uint32_t channels = 0;
};

// What Save needs beyond the type: the Wave target format (null keeps the sound's own), the
// AU sub-format (0 linear, 1 Mu-Law, 2 A-law) or the raw SampleCode.
// FLAC, Ogg Vorbis, Opus and MP3 take their settings from `encoder` (null: the defaults).
struct EncoderSettings;
struct SaveOption {
    const WaveFormat* target = nullptr;
    std::uint32_t code = 0;
    const EncoderSettings* encoder = nullptr;
};

// Description of an MPEG source, filled by the MPEG stream; `size` is always 40.
#pragma pack(push, 1)
struct MpegInfo {
    std::uint32_t size = 40;
    std::uint32_t version = 0;  // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
    std::uint32_t layer = 0;
    std::uint32_t bitRate = 0;  // kbit/s
    std::uint32_t rate = 0;     // Hz
    std::uint16_t channels = 0;
    std::uint8_t reserved[18] = {};
};
#pragma pack(pop)
static_assert(sizeof(MpegInfo) == 40);

inline constexpr std::size_t kInfoCount = 23;
inline constexpr std::array<std::string_view, kInfoCount> kInfoIds = {
    "IARL", "IART", "ICMS", "ICMT", "ICOP", "ICRD", "ICRP", "IDIM", "IDPI", "IENG", "IGNR", "IKEY",
    "ILGT", "IMED", "INAM", "IPLT", "IPRD", "ISBJ", "ISFT", "ISHP", "ISRC", "ISRF", "ITCH"};

// `count` units at `to` in a new sound that are those at `from` in the sound it is made from:
// frames where a sound is being planned, bytes where they are left to copy.
struct KeptRun {
    std::uint64_t to = 0;
    std::uint64_t from = 0;
    std::uint64_t count = 0;
};

// One sound: its format, its sample data and where that lives, and its INFO texts.
// Edits never change a WaveObject in place; they build a new one.
class WaveObject {
  public:
    explicit WaveObject(std::uint32_t useTempFiles = 1, const char* tempDirectory = nullptr);
    ~WaveObject();
    WaveObject(const WaveObject&) = delete;
    WaveObject& operator=(const WaveObject&) = delete;

    void Reset();
    // Ends playback or recording of this object, if any.
    void StopDevice();
    // 1 on success, 0 when no memory or temporary disk space could be had.
    std::uint32_t Allocate(const WaveFormat& format, std::uint32_t frames);
    // Allocate in the source's format for a sound whose `kept` frame runs (in order, apart)
    // hold the source's frames. Whole pages of them that line up with the source's temporary
    // files are mapped from there, read-only, and cost neither time nor disk; the bytes left in
    // `toCopy` are the caller's to copy (all of them when pages are not shared). A sound of
    // too many pieces is made whole again.
    std::uint32_t AllocateSharing(const WaveObject& source, std::uint32_t frames,
                                  std::span<const KeptRun> kept, std::vector<KeptRun>& toCopy);
    std::uint32_t AttachBuffer(const WaveFormat& format, std::uint8_t* buffer, std::uint32_t bytes);
    // Adopting: on success the object takes the block (it becomes null); on failure the
    // caller keeps it. Borrowing: the object uses the block's bytes, the caller keeps them alive.
    std::uint32_t AttachBlock(const WaveFormat& format, std::unique_ptr<DataBlock>& block);
    std::uint32_t AttachBlock(const WaveFormat& format, DataBlock& block);
    // Parses a whole RIFF WAVE file held in the block, adopting or borrowing it as above
    // (defined with the Wave reader, formats/).
    std::uint32_t ParseWaveImage(std::unique_ptr<DataBlock>& block);
    std::uint32_t ParseWaveImage(DataBlock& block);

    [[nodiscard]] std::uint32_t FrameCount() const;
    [[nodiscard]] FrameValue GetFrame(std::uint32_t index) const;
    void SetFrame(std::uint32_t index, FrameValue value);
    [[nodiscard]] FrameValue GetFrameInterpolated(double position) const;

    [[nodiscard]] const char* GetInfo(std::string_view id) const;
    void SetInfo(std::string_view id, const char* text);
    void ClearInfo();
    void CopyInfo(const WaveObject* other);

    // A new, empty, uniquely named file in tempDirectory (or the system's), "" on failure.
    [[nodiscard]] std::string MakeTempFileName() const;

    // The file layer (formats/). `flags` is a file type in the high 16 bits (0: by the name's
    // extension) and load flags in the low 16 bits; `raw` is read for raw files only.
    [[nodiscard]] FileError Load(const std::string& fileName, std::uint32_t flags,
                                 const RawParams* raw = nullptr, ProgressFn progressFn = nullptr,
                                 void* context = nullptr);
    // Only the file type in the high 16 bits of `flags` is used.
    [[nodiscard]] FileError Save(const std::string& fileName, std::uint32_t flags,
                                 SaveOption option = {}, ProgressFn progressFn = nullptr,
                                 void* context = nullptr);
    // Decodes a Streamed object into a temporary file that becomes its storage.
    [[nodiscard]] FileError Materialize(ProgressFn progressFn = nullptr, void* context = nullptr);
    // Writes a Resident object as a Wave file in its own format; 1 success, 0 failure.
    std::uint32_t WriteWaveFile(const std::string& fileName);

    WaveMode mode = WaveMode::Empty;
    std::uint32_t useTempFiles;
    FormatPtr format;
    std::uint32_t dataBytes = 0;
    std::uint8_t* data = nullptr;
    std::uint32_t frameLayout = LayoutNone;
    std::unique_ptr<DataBlock> storage;
    SourceType sourceType = SourceType::Wave;
    std::unique_ptr<MpegInfo> mpegInfo;
    std::unique_ptr<SampleStream> stream;
    std::uint16_t sourceTag = kTagPcm;
    std::uint16_t sourceChannels = 0;
    std::uint32_t sourceRate = 0;
    std::uint16_t sourceBits = 0;
    // A file converted on load keeps its own format here ("FLAC", and "FLAC, 24-bit, 96000 Hz,
    // 6 channels, read as 16-bit stereo"); both survive Materialize, empty for other files.
    std::string sourceFormatName;
    std::string sourceText;
    void* deviceContext = nullptr;
    DeviceState deviceState = DeviceState::Idle;
    std::array<std::unique_ptr<char[]>, kInfoCount> infoTexts;
    std::string tempDirectory;

    // Sets the format (a copy) and keeps frameLayout in step with it.
    void SetFormat(const WaveFormat& f);
};

// Copies the bytes of `toCopy` (as AllocateSharing leaves them) whose place in the target lies
// within [begin, end).
void CopyKeptBytes(const WaveObject& source, WaveObject& target, std::span<const KeptRun> toCopy,
                   std::uint64_t begin, std::uint64_t end);

// Stops a playing or recording object. The device layer installs it; the core never
// depends on the device library.
using StopDeviceHook = void (*)(WaveObject& wave);
void SetStopDeviceHook(StopDeviceHook hook);

}  // namespace kelvane
