#pragma once

// The data every processing benchmark runs on: ten minutes of 44100 Hz 16-bit stereo held in
// temporary storage like a document's wave, the same frames as a WAV file for sox, and the
// baselines an effect is measured against (memcpy of the same bytes, and memcpy into a freshly
// set up result wave, which is the least any effect has to do).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <sys/resource.h>

#include "processing/EffectResult.h"
#include "wavedata/WaveObject.h"

namespace kelvane::bench {

inline constexpr std::uint32_t kBenchRate = 44100;
inline constexpr std::uint32_t kBenchFrames = kBenchRate * 600;

// Two tones with a little noise, below full scale and off centre, so normalize and center
// signals have real work.
inline const WaveObject& BenchWave() {
    static const std::unique_ptr<WaveObject> wave = [] {
        auto w = std::make_unique<WaveObject>(1, nullptr);
        if (!w->Allocate(PcmFormat(kBenchRate, 16, 2), kBenchFrames)) std::abort();
        std::uint32_t noise = 1;
        const double step1 = 2.0 * M_PI * 440.0 / kBenchRate;
        const double step2 = 2.0 * M_PI * 554.37 / kBenchRate;
        for (std::uint32_t i = 0; i < kBenchFrames; ++i) {
            noise = noise * 1664525u + 1013904223u;
            const auto n = static_cast<std::int32_t>(noise >> 24) - 128;
            const auto l = static_cast<std::int32_t>(12000.0 * std::sin(step1 * i)) + n + 300;
            const auto r = static_cast<std::int32_t>(9000.0 * std::sin(step2 * i)) - n - 200;
            w->SetFrame(i, PackFrame(l, r));
        }
        return w;
    }();
    return *wave;
}

inline void PutLE(std::FILE* f, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), f);
}

// BenchWave as a canonical 44-byte-header WAV file in /tmp, written once, removed at exit.
inline const std::string& BenchWavFile() {
    struct File {
        std::string path;
        File() {
            char name[] = "/tmp/kelvane-bench-XXXXXX.wav";
            const int fd = ::mkstemps(name, 4);
            std::FILE* f = fd < 0 ? nullptr : ::fdopen(fd, "wb");
            if (f == nullptr) std::abort();
            path = name;
            const WaveObject& w = BenchWave();
            std::fputs("RIFF", f);
            PutLE(f, 36 + w.dataBytes, 4);
            std::fputs("WAVEfmt ", f);
            PutLE(f, 16, 4);
            PutLE(f, 1, 2);
            PutLE(f, 2, 2);
            PutLE(f, kBenchRate, 4);
            PutLE(f, kBenchRate * 4, 4);
            PutLE(f, 4, 2);
            PutLE(f, 16, 2);
            std::fputs("data", f);
            PutLE(f, w.dataBytes, 4);
            std::fwrite(w.data, 1, w.dataBytes, f);
            std::fclose(f);
        }
        ~File() { std::remove(path.c_str()); }
    };
    static const File file;
    return file.path;
}

inline void SetBenchBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * BenchWave().dataBytes);
}

// User and system time of finished child processes.
inline double ChildCpuMilliseconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs `sox -q <BenchWavFile> [outputOptions] <output> <effect>` once per iteration: output
// "-n" discards the result, anything else is a WAV file in /tmp that is removed afterwards.
inline void RunSox(benchmark::State& state, const std::string& effect, bool toFile = true,
                   const std::string& outputOptions = "") {
    const std::string out = toFile ? BenchWavFile() + ".out.wav" : std::string("-n");
    const std::string command =
        "sox -q " + BenchWavFile() + " " + outputOptions + " " + out + " " + effect;
    const double before = ChildCpuMilliseconds();
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
    if (toFile) std::remove(out.c_str());
    // The CPU column counts only this process; sox's own time is reported beside it, which
    // stays comparable when the machine is busy and wall time is not.
    state.counters["sox_cpu_ms"] =
        (ChildCpuMilliseconds() - before) / static_cast<double>(state.iterations());
    SetBenchBytes(state);
}

// One effect run per iteration, over the whole bench wave, by each form of Process.
template <typename Effect>
inline void RunRange(benchmark::State& state, const Effect& effect) {
    const WaveObject& wave = BenchWave();
    for (auto _ : state) {
        auto result = effect.Process(wave, 0, 0, nullptr);
        if (!result) state.SkipWithError("no result");
        benchmark::DoNotOptimize(result.get());
    }
    SetBenchBytes(state);
}

template <typename Effect>
inline void RunWhole(benchmark::State& state, const Effect& effect) {
    const WaveObject& wave = BenchWave();
    for (auto _ : state) {
        auto result = effect.Process(wave, nullptr);
        if (!result) state.SkipWithError("no result");
        benchmark::DoNotOptimize(result.get());
    }
    SetBenchBytes(state);
}

template <typename Effect>
inline void RunByAddress(benchmark::State& state, const Effect& effect) {
    const WaveObject& wave = BenchWave();
    for (auto _ : state) {
        std::uint32_t start = 0, length = 0;
        auto result = effect.Process(wave, start, length, nullptr);
        if (!result) state.SkipWithError("no result");
        benchmark::DoNotOptimize(result.get());
    }
    SetBenchBytes(state);
}

inline void BM_Memcpy(benchmark::State& state) {
    const WaveObject& src = BenchWave();
    static const std::unique_ptr<WaveObject> dst = [&] {
        auto w = std::make_unique<WaveObject>(1, nullptr);
        if (!w->Allocate(*src.format, kBenchFrames)) std::abort();
        std::memset(w->data, 0, w->dataBytes);
        return w;
    }();
    for (auto _ : state) {
        std::memcpy(dst->data, src.data, src.dataBytes);
        benchmark::ClobberMemory();
    }
    SetBenchBytes(state);
}

inline void BM_NewResultMemcpy(benchmark::State& state) {
    const WaveObject& src = BenchWave();
    for (auto _ : state) {
        auto result = NewResultWave(src, kBenchFrames);
        if (!result) state.SkipWithError("no temporary storage");
        if (!result) break;
        // In 64 KiB pieces, as effects copy untouched frames.
        for (std::uint32_t at = 0; at < src.dataBytes; at += 65536)
            std::memcpy(result->data + at, src.data + at, std::min(65536u, src.dataBytes - at));
        benchmark::ClobberMemory();
    }
    SetBenchBytes(state);
}

}  // namespace kelvane::bench

// Registers both baselines; each benchmark file calls it once.
#define KELVANE_PROCESSING_BASELINES()                                                  \
    BENCHMARK(kelvane::bench::BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime(); \
    BENCHMARK(kelvane::bench::BM_NewResultMemcpy)->Unit(benchmark::kMillisecond)->UseRealTime()
