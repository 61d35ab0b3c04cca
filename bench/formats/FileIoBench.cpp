// Ten minutes of 44100 Hz 16-bit stereo Wave, side by side with the command-line peers:
// the document's open path (copy into temporary storage, then Load delete-on-close with
// conversion to PCM) against cp, and Save as Wave, AU and AIFF against sox converting the
// same file. Every peer runs as a child process, so its start-up is part of its time, as it
// is for a user.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane {
namespace {

constexpr std::uint32_t kFrames = 44100 * 600;

struct Files {
    std::string dir;
    std::string input;
    WaveObject resident{1, nullptr};

    Files() {
        std::string pattern = SystemTempDirectory() + "kelvane-bench-XXXXXX";
        dir = ::mkdtemp(pattern.data()) ? pattern : SystemTempDirectory();
        input = dir + "/in.wav";
        WaveObject wave(1, nullptr);
        wave.Allocate(PcmFormat(44100, 16, 2), kFrames);
        std::mt19937 rng(1);
        for (std::uint32_t i = 0; i < wave.dataBytes; i += 4) {
            const std::uint32_t v = rng();
            std::memcpy(wave.data + i, &v, 4);
        }
        wave.WriteWaveFile(input);
        (void)resident.Load(input, LOAD_TO_MEMORY);
    }
    ~Files() { std::system(("rm -rf '" + dir + "'").c_str()); }
    [[nodiscard]] std::string Out(const char* name) const { return dir + "/" + name; }
};

Files& Shared() {
    static Files files;
    return files;
}

void Bytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            Shared().resident.dataBytes);
}

void Run(benchmark::State& state, const std::string& command) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
}

void BM_Open_Kelvane(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        auto wave = std::make_unique<WaveObject>(1, nullptr);
        const std::string copy = wave->MakeTempFileName();
        if (CopyFileWithProgress(f.input, copy, nullptr, nullptr) != CopyResult::Success ||
            wave->Load(copy, kFileWave | LOAD_DELETE_ON_CLOSE | LOAD_CONVERT_TO_PCM) !=
                FileError::Success)
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(wave->data);
        // Closing the document (and dropping its temporary copy) is not part of opening it,
        // as removing cp's copy is not part of cp.
        state.PauseTiming();
        wave.reset();
        state.ResumeTiming();
    }
    Bytes(state);
}

void BM_Open_cp(benchmark::State& state) {
    Files& f = Shared();
    const std::string copy = f.Out("cp.wav");
    for (auto _ : state) {
        Run(state, "cp '" + f.input + "' '" + copy + "'");
        state.PauseTiming();
        ::unlink(copy.c_str());
        state.ResumeTiming();
    }
    Bytes(state);
}

void SaveKelvane(benchmark::State& state, const char* name) {
    Files& f = Shared();
    for (auto _ : state)
        if (f.resident.Save(f.Out(name), 0) != FileError::Success) state.SkipWithError("save");
    Bytes(state);
}

void SaveSox(benchmark::State& state, const char* name) {
    Files& f = Shared();
    for (auto _ : state) Run(state, "sox '" + f.input + "' '" + f.Out(name) + "'");
    Bytes(state);
}

void BM_SaveWave_Kelvane(benchmark::State& s) {
    SaveKelvane(s, "k.wav");
}
void BM_SaveWave_sox(benchmark::State& s) {
    SaveSox(s, "s.wav");
}
void BM_SaveAu_Kelvane(benchmark::State& s) {
    SaveKelvane(s, "k.au");
}
void BM_SaveAu_sox(benchmark::State& s) {
    SaveSox(s, "s.au");
}
void BM_SaveAiff_Kelvane(benchmark::State& s) {
    SaveKelvane(s, "k.aiff");
}
void BM_SaveAiff_sox(benchmark::State& s) {
    SaveSox(s, "s.aiff");
}

#define KELVANE_BENCH(fn) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2)
KELVANE_BENCH(BM_Open_Kelvane);
KELVANE_BENCH(BM_Open_cp);
KELVANE_BENCH(BM_SaveWave_Kelvane);
KELVANE_BENCH(BM_SaveWave_sox);
KELVANE_BENCH(BM_SaveAu_Kelvane);
KELVANE_BENCH(BM_SaveAu_sox);
KELVANE_BENCH(BM_SaveAiff_Kelvane);
KELVANE_BENCH(BM_SaveAiff_sox);

}  // namespace
}  // namespace kelvane

BENCHMARK_MAIN();
