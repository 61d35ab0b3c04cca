#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/raenc/RaEncoder.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

enum class RealAudioResult : std::uint32_t {
    Success = 0,
    NotConvertible = 1,  // the sound cannot be converted to 16-bit PCM
    EncoderInit = 2,     // message 1010
    OutputFile = 3,      // message 1009
};

// The encoder library's calls as the export imports them; tests put a recorder in between.
struct RealAudioEncoderCalls {
    decltype(&RAenc_PackageInit) packageInit = nullptr;
    decltype(&RAenc_Create) create = nullptr;
    decltype(&RAenc_InitializeEncoder) initializeEncoder = nullptr;
    decltype(&RAenc_SetDestination) setDestination = nullptr;
    decltype(&RAenc_SetOutputFile) setOutputFile = nullptr;
    decltype(&RAenc_GetBufferSizes) getBufferSizes = nullptr;
    decltype(&RAenc_Start) start = nullptr;
    decltype(&RAenc_Encode) encode = nullptr;
    decltype(&RAenc_Done) done = nullptr;
    decltype(&RAenc_Destroy) destroy = nullptr;
};

// The calls of the encoder module, which is loaded by the first call and stays loaded for the
// life of the process; null when it cannot be loaded or lacks a call. Safe from any thread.
[[nodiscard]] const RealAudioEncoderCalls* RealAudioEncoderModule();
// Where the module is looked for first.
[[nodiscard]] const char* RealAudioEncoderPath();

// Writes the sound as a RealAudio file with compression method 0 to 9 (string 175 + method
// names it), reporting 0 to 100 to `progress`. Encoding errors after the start are not seen:
// the export then still reports success. Without calls, through the encoder module; a module
// that cannot be loaded fails as the encoder's set-up does.
[[nodiscard]] RealAudioResult ExportRealAudio(const std::string& path, std::uint32_t method,
                                              const WaveObject& wave, ProgressIndicator& progress,
                                              const RealAudioEncoderCalls& calls);
[[nodiscard]] RealAudioResult ExportRealAudio(const std::string& path, std::uint32_t method,
                                              const WaveObject& wave, ProgressIndicator& progress);

// The message shown for a result; empty for Success.
[[nodiscard]] std::string_view RealAudioErrorText(RealAudioResult result);

}  // namespace kelvane
