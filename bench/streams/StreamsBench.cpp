// Ten minutes of 44100 Hz stereo through our streams beside sox doing the same conversion,
// file to file: IMA ADPCM and Mu-Law decoding and encoding, and the PCM driver's change
// from 44100 to 22050 Hz. sox runs as a child process (its start-up is a few milliseconds
// of its time) without dither, as our conversions have none.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "formats/streams/BlockStream.h"
#include "formats/streams/ConvertStream.h"
#include "formats/streams/RiffReader.h"
#include "platform/acm/G711Driver.h"
#include "platform/acm/ImaAdpcmDriver.h"

namespace kelvane {
namespace {

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kFrames = kRate * 600;

void Put32(FILE* f, std::uint32_t v) {
    std::fwrite(&v, 4, 1, f);
}

// Writes a WAV file from a stream of `format` bytes, the header sizes fixed afterwards.
void WriteWav(const std::string& path, const WaveFormat& format, SampleStream& stream) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    const std::uint32_t fmtSize = FormatSize(format);
    std::fwrite("RIFF\0\0\0\0WAVEfmt ", 1, 16, f);
    Put32(f, fmtSize);
    std::fwrite(&format, 1, fmtSize, f);
    std::fwrite("data\0\0\0\0", 1, 8, f);
    std::vector<std::uint8_t> buffer(1 << 20);
    std::uint32_t total = 0;
    while (std::uint32_t n =
               stream.Read(buffer.data(), static_cast<std::uint32_t>(buffer.size()))) {
        std::fwrite(buffer.data(), 1, n, f);
        total += n;
    }
    std::fseek(f, 4, SEEK_SET);
    Put32(f, 4 + 8 + fmtSize + 8 + total);
    std::fseek(f, 24 + static_cast<long>(fmtSize), SEEK_SET);
    Put32(f, total);
    std::fclose(f);
}

// Reads a WAV file into memory and converts its data to `target` into another WAV file.
void ConvertFile(const std::string& in, const std::string& out, const WaveFormat& target) {
    MappedFileBlock block(0, in.c_str(), false, nullptr, true, true);
    BlockStream file(block);
    RiffReader riff(file);
    if (!riff.Descend("WAVE", RiffReader::DescendForm) ||
        !riff.Descend("fmt ", RiffReader::DescendChunk))
        return;
    std::vector<std::uint8_t> fmt(std::max<std::uint32_t>(riff.ChunkSize(), 18));
    riff.Read(fmt.data(), riff.ChunkSize());
    riff.Ascend();
    if (!riff.Descend("data", RiffReader::DescendChunk)) return;
    const std::uint32_t start = riff.ChunkStart();
    const std::uint32_t size = std::min<std::uint32_t>(riff.ChunkSize(), block.size - start);
    BorrowedBlock data(block.pointer + start, size, false, true);
    BlockStream dataStream(data);
    ConvertStream stream(*reinterpret_cast<const WaveFormat*>(fmt.data()), target, dataStream);
    WriteWav(out, target, stream);
}

struct Files {
    std::string dir;
    std::string pcm, ima, mulaw;

    Files() {
        std::string pattern = SystemTempDirectory() + "kelvane-bench-XXXXXX";
        dir = ::mkdtemp(pattern.data()) ? pattern : SystemTempDirectory();
        pcm = dir + "/pcm.wav";
        ima = dir + "/ima.wav";
        mulaw = dir + "/mulaw.wav";
        // A sweep with a little noise, so no codec meets a trivial signal.
        std::vector<std::uint8_t> samples(std::size_t{kFrames} * 4);
        std::mt19937 rng(1);
        std::normal_distribution<double> noise(0, 300);
        for (std::uint32_t i = 0; i < kFrames; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double phase = 2 * M_PI * (100 * t + 5 * t * t);
            const auto l = static_cast<std::int16_t>(12000 * std::sin(phase) + noise(rng));
            const auto r = static_cast<std::int16_t>(12000 * std::cos(phase) + noise(rng));
            std::memcpy(&samples[4 * std::size_t{i}], &l, 2);
            std::memcpy(&samples[4 * std::size_t{i} + 2], &r, 2);
        }
        BorrowedBlock block(samples.data(), static_cast<std::uint32_t>(samples.size()), false,
                            true);
        BlockStream stream(block);
        WriteWav(pcm, PcmFormat(kRate, 16, 2), stream);
        ConvertFile(pcm, ima, *ImaAdpcmDriver::MakeFormat(kRate, 2));
        ConvertFile(pcm, mulaw, G711Driver::MakeFormat(kTagMuLaw, kRate, 2));
    }
    ~Files() { std::system(("rm -rf '" + dir + "'").c_str()); }
};

Files& Inputs() {
    static Files files;
    return files;
}

void Ours(benchmark::State& state, const std::string Files::*input, const WaveFormat& target) {
    Files& files = Inputs();
    const std::string out = files.dir + "/ours.wav";
    for (auto _ : state) ConvertFile(files.*input, out, target);
}

void Sox(benchmark::State& state, const std::string Files::*input, const std::string& options) {
    Files& files = Inputs();
    const std::string command =
        "sox -D '" + files.*input + "' " + options + " '" + files.dir + "/sox.wav'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("sox failed");
}

const WaveFormat kPcm = PcmFormat(kRate, 16, 2);
const WaveFormat kHalfRate = PcmFormat(22050, 16, 2);

void BM_ImaDecode_Ours(benchmark::State& s) {
    Ours(s, &Files::ima, kPcm);
}
void BM_ImaDecode_Sox(benchmark::State& s) {
    Sox(s, &Files::ima, "-e signed -b 16");
}
void BM_ImaEncode_Ours(benchmark::State& s) {
    Ours(s, &Files::pcm, *ImaAdpcmDriver::MakeFormat(kRate, 2));
}
void BM_ImaEncode_Sox(benchmark::State& s) {
    Sox(s, &Files::pcm, "-e ima-adpcm");
}
void BM_MuLawDecode_Ours(benchmark::State& s) {
    Ours(s, &Files::mulaw, kPcm);
}
void BM_MuLawDecode_Sox(benchmark::State& s) {
    Sox(s, &Files::mulaw, "-e signed -b 16");
}
void BM_MuLawEncode_Ours(benchmark::State& s) {
    Ours(s, &Files::pcm, G711Driver::MakeFormat(kTagMuLaw, kRate, 2));
}
void BM_MuLawEncode_Sox(benchmark::State& s) {
    Sox(s, &Files::pcm, "-e mu-law");
}
void BM_Resample_Ours(benchmark::State& s) {
    Ours(s, &Files::pcm, kHalfRate);
}
void BM_Resample_Sox(benchmark::State& s) {
    Sox(s, &Files::pcm, "-r 22050");
}

#define KELVANE_PAIR(name)                                                                 \
    BENCHMARK(BM_##name##_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2); \
    BENCHMARK(BM_##name##_Sox)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2)

KELVANE_PAIR(ImaDecode);
KELVANE_PAIR(ImaEncode);
KELVANE_PAIR(MuLawDecode);
KELVANE_PAIR(MuLawEncode);
KELVANE_PAIR(Resample);

}  // namespace
}  // namespace kelvane

BENCHMARK_MAIN();
