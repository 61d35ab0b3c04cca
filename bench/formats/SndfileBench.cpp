// Ten minutes of sound through libsndfile, side by side with the command-line peers built on
// the same codecs: opening 24-bit 48 kHz stereo FLAC into the editor's storage (the document's
// open path: copy, then Load delete-on-close with conversion to 16-bit PCM and dither) against
// `sox in.flac out.wav` and `flac -d`; saving 44.1 kHz 16-bit stereo as FLAC at level 5 against
// `flac -5`, and as MP3 at variable quality 2 against `lame -V2`. Every peer runs as a child
// process, so its start-up is part of its time, as it is for a user.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane {
namespace {

struct Files {
    std::string dir;
    std::string flac24;  // 24-bit 48 kHz stereo FLAC
    std::string wave16;  // 16-bit 44.1 kHz stereo Wave
    WaveObject resident{1, nullptr};
    bool ok = false;

    Files() {
        std::string pattern = SystemTempDirectory() + "kelvane-bench-XXXXXX";
        dir = ::mkdtemp(pattern.data()) ? pattern : SystemTempDirectory();
        flac24 = dir + "/in.flac";
        wave16 = dir + "/in.wav";
        // Music-like material: tones under noise, so the encoders work as hard as on a record.
        const std::string synth = " synth 600 sine 220 sine 330 pinknoise vol 0.4";
        ok = std::system(("sox -n -r 48000 -c 2 -b 24 '" + flac24 + "'" + synth).c_str()) == 0 &&
             std::system(("sox -n -r 44100 -c 2 -b 16 '" + wave16 + "'" + synth).c_str()) == 0 &&
             resident.Load(wave16, LOAD_TO_MEMORY) == FileError::Success;
    }
    ~Files() { std::system(("rm -rf '" + dir + "'").c_str()); }
    [[nodiscard]] std::string Out(const char* name) const { return dir + "/" + name; }
};

Files& Shared() {
    static Files files;
    return files;
}

// Throughput in the 16-bit stereo bytes of the sound, for every benchmark alike.
void Frames(benchmark::State& state, std::uint32_t rate) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * rate * 600 * 4);
}

void Run(benchmark::State& state, const std::string& command) {
    if (!Shared().ok || std::system(command.c_str()) != 0)
        state.SkipWithError(("failed: " + command).c_str());
}

void BM_OpenFlac24_Kelvane(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        auto wave = std::make_unique<WaveObject>(1, nullptr);
        const std::string copy = wave->MakeTempFileName();
        if (!f.ok ||
            CopyFileWithProgress(f.flac24, copy, nullptr, nullptr) != CopyResult::Success ||
            wave->Load(copy, LOAD_DELETE_ON_CLOSE | LOAD_CONVERT_TO_PCM) != FileError::Success)
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(wave->data);
        state.PauseTiming();
        wave.reset();
        state.ResumeTiming();
    }
    Frames(state, 48000);
}

void BM_OpenFlac24_sox(benchmark::State& state) {
    for (auto _ : state)
        Run(state, "sox '" + Shared().flac24 + "' '" + Shared().Out("s.wav") + "'");
    Frames(state, 48000);
}

void BM_OpenFlac24_flac(benchmark::State& state) {
    for (auto _ : state)
        Run(state, "flac -d -f -s -o '" + Shared().Out("f.wav") + "' '" + Shared().flac24 + "'");
    Frames(state, 48000);
}

void Save(benchmark::State& state, const char* name) {
    Files& f = Shared();
    for (auto _ : state)
        if (!f.ok || f.resident.Save(f.Out(name), 0) != FileError::Success)
            state.SkipWithError("save failed");
    Frames(state, 44100);
}

void BM_SaveFlac_Kelvane(benchmark::State& state) {
    Save(state, "k.flac");
}

void BM_SaveFlac_flac(benchmark::State& state) {
    for (auto _ : state)
        Run(state, "flac -5 -f -s -o '" + Shared().Out("f.flac") + "' '" + Shared().wave16 + "'");
    Frames(state, 44100);
}

void BM_SaveMp3_Kelvane(benchmark::State& state) {
    Save(state, "k.mp3");
}

void BM_SaveMp3_lame(benchmark::State& state) {
    for (auto _ : state)
        Run(state, "lame --quiet -V2 '" + Shared().wave16 + "' '" + Shared().Out("l.mp3") + "'");
    Frames(state, 44100);
}

#define KELVANE_BENCH(fn) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1)
KELVANE_BENCH(BM_OpenFlac24_Kelvane);
KELVANE_BENCH(BM_OpenFlac24_sox);
KELVANE_BENCH(BM_OpenFlac24_flac);
KELVANE_BENCH(BM_SaveFlac_Kelvane);
KELVANE_BENCH(BM_SaveFlac_flac);
KELVANE_BENCH(BM_SaveMp3_Kelvane);
KELVANE_BENCH(BM_SaveMp3_lame);

}  // namespace
}  // namespace kelvane

BENCHMARK_MAIN();
