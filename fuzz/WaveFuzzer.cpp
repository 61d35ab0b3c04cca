#include <vector>

#include "FuzzLoad.h"
#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The image parser on its own, over an exact-size copy so any overread is caught.
    std::vector<std::uint8_t> image(data, data + size);
    kelvane::BorrowedBlock block(image.data(), static_cast<std::uint32_t>(size), false, true);
    kelvane::WaveObject wave;
    if (wave.ParseWaveImage(block) != 0) {
        volatile std::uint32_t sum = 0;
        for (std::uint32_t i = 0; i < wave.dataBytes; ++i) sum = sum + wave.data[i];
    }
    kelvane::fuzz::LoadEveryWay(data, size, kelvane::kFileWave);
    return 0;
}
