// Every prefix of a valid file, and valid files with bytes overwritten, load to a result code
// and never past the end of the file (the sanitizer build and the fuzzers watch the reads).
#include <gtest/gtest.h>

#include <random>

#include "formats/FormatsTestUtil.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

void ExpectSafeLoad(const std::string& file, std::uint32_t flags) {
    for (std::uint32_t storage : {0u, LOAD_TO_MEMORY, LOAD_HEADER_ONLY, LOAD_MAP_FILE}) {
        WaveObject wave;
        const FileError code = wave.Load(file, flags | storage | LOAD_CONVERT_TO_PCM);
        const auto n = static_cast<std::uint32_t>(code);
        EXPECT_TRUE(n <= 1 || n == 4 || n == 5 || n == 11) << file << " code " << n;
        if (code == FileError::Success && wave.mode == WaveMode::Resident) {
            ASSERT_TRUE(wave.storage);
            EXPECT_LE(wave.data + wave.dataBytes, wave.storage->pointer + wave.storage->size);
            std::uint32_t sum = 0;
            for (std::uint32_t i = 0; i < wave.dataBytes; ++i) sum += wave.data[i];
            (void)sum;
        }
    }
}

TEST(DamagedFiles, TruncatedAndOverwrittenFilesGiveResultCodes) {
    test::ScopedTempDir dir;
    auto wave = test::RandomWave(PcmFormat(8000, 16, 2), 8, 1);
    wave->SetInfo("ICMT", "odd");
    wave->SetInfo("IART", "even");
    const std::pair<const char*, std::uint32_t> saves[] = {
        {"v.wav", 0}, {"v.aiff", 0}, {"v.au", 0}, {"m.au", 1}};
    std::mt19937 rng(11);
    for (const auto& [name, option] : saves) {
        const std::string valid = dir.File(name);
        ASSERT_EQ(wave->Save(valid, 0, {.code = option}), FileError::Success);
        const Bytes bytes = test::ReadFileBytes(valid);
        const std::string damaged = dir.File(std::string("d") + name);
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            ASSERT_TRUE(
                test::WriteFileBytes(damaged, Bytes(bytes.begin(), bytes.begin() + length)));
            ExpectSafeLoad(damaged, 0);
        }
        for (int round = 0; round < 100; ++round) {
            Bytes copy = bytes;
            for (int k = 0; k < 3; ++k)
                copy[rng() % 60 % copy.size()] = static_cast<std::uint8_t>(rng());
            ASSERT_TRUE(test::WriteFileBytes(damaged, copy));
            ExpectSafeLoad(damaged, 0);
        }
    }
}

}  // namespace
}  // namespace kelvane
