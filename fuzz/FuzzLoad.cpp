#include "FuzzLoad.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane::fuzz {

namespace {

std::string ScratchName(const char* suffix) {
    return SystemTempDirectory() + "kelvane-fuzz-" + std::to_string(::getpid()) + suffix;
}

bool WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

void Touch(const WaveObject& wave) {
    if (wave.mode != WaveMode::Resident) return;
    volatile std::uint32_t sum = 0;
    for (std::uint32_t i = 0; i < wave.dataBytes; ++i) sum = sum + wave.data[i];
    for (std::uint32_t i = 0; i < wave.FrameCount() && i < 4096; ++i) sum = sum + wave.GetFrame(i);
}

}  // namespace

void LoadEveryWay(const std::uint8_t* data, std::size_t size, std::uint32_t type) {
    static const std::string input = ScratchName(".in");
    static const std::string output = ScratchName(".out");
    if (!WriteInput(input, data, size)) return;
    for (std::uint32_t flags :
         {0u, LOAD_TO_MEMORY, LOAD_HEADER_ONLY, LOAD_CONVERT_TO_PCM,
          LOAD_TO_MEMORY | LOAD_CONVERT_TO_PCM, LOAD_MAP_FILE | LOAD_READ_ONLY}) {
        WaveObject wave;
        if (wave.Load(input, type | flags) != FileError::Success) continue;
        Touch(wave);
        // Saving once from a stream and once from memory covers the writers' two sources.
        if ((flags == 0 || flags == LOAD_CONVERT_TO_PCM) &&
            (wave.mode == WaveMode::Resident || wave.mode == WaveMode::Streamed))
            (void)wave.Save(output, kFileWave);
    }
    ::unlink(input.c_str());
    ::unlink(output.c_str());
}

}  // namespace kelvane::fuzz
