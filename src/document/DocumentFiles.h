#pragma once

#include <cstdint>
#include <string>

#include "wavedata/DataBlock.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The editor's own choice of file types by extension. It differs from the file layer's: only
// "mp", "mpa" and "mp2" open as MPEG audio (anything unlisted, ".mp3" too, opens as raw), and
// no MPEG name can be saved.

// Wave, AU and AIFF files by their contents, anything else by the name.
[[nodiscard]] std::uint32_t OpenTypeOf(const std::string& path);
// 0 for the MPEG names, which have no writer.
[[nodiscard]] std::uint32_t SaveTypeForPlainSave(const std::string& path);
// Whether the file loads as MPEG audio of layer 3, which the editor does not decode.
[[nodiscard]] bool IsMpegLayer3(const std::string& path);
// Asks for the format of a headerless file; false when the user cancelled.
[[nodiscard]] bool AskRawFileFormat(RawParams& raw);
[[nodiscard]] std::uint32_t CopyResultMessage(CopyResult result);

// The types of the Save As list, by position (1 to 9).
enum SaveAsType : std::uint32_t {
    kSaveWave = 1,
    kSaveAu = 2,
    kSaveAiff = 3,
    kSaveRealAudio = 4,
    kSaveRaw = 5,
    kSaveFlac = 6,
    kSaveOgg = 7,
    kSaveOpus = 8,
    kSaveMp3 = 9
};
inline constexpr std::uint32_t kSaveAsTypeCount = 9;
[[nodiscard]] std::uint32_t SaveAsPreselection(const std::string& path);
// The file layer's save type of a list position; RealAudio has none and stays 4.
[[nodiscard]] std::uint32_t SaveTypeOfChoice(std::uint32_t choice);
// A name without extension gets the type's own (raw gets none).
[[nodiscard]] std::string WithDefaultExtension(const std::string& path, std::uint32_t choice);

}  // namespace kelvane
