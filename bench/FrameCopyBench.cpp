// Copying ten minutes of 44100 Hz 16-bit stereo three ways: frame by frame through the
// layout-dispatched GetFrame/SetFrame, through the layout-specialised loop that effects use,
// and with memcpy. All three write into temporary storage like an effect does.
#include <benchmark/benchmark.h>

#include <cstring>

#include "wavedata/WaveObject.h"

namespace kelvane {
namespace {

constexpr std::uint32_t kFrames = 44100 * 600;

struct Pair {
    WaveObject src{1, nullptr};
    WaveObject dst{1, nullptr};
    Pair() {
        src.Allocate(PcmFormat(44100, 16, 2), kFrames);
        dst.Allocate(PcmFormat(44100, 16, 2), kFrames);
        for (std::uint32_t i = 0; i < src.dataBytes; ++i)
            src.data[i] = static_cast<std::uint8_t>(i * 31);
    }
};

Pair& Waves() {
    static Pair pair;
    return pair;
}

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * Waves().src.dataBytes);
}

void BM_GetSetFrame(benchmark::State& state) {
    Pair& w = Waves();
    for (auto _ : state) {
        for (std::uint32_t i = 0; i < kFrames; ++i) w.dst.SetFrame(i, w.src.GetFrame(i));
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

void BM_LayoutLoop(benchmark::State& state) {
    Pair& w = Waves();
    for (auto _ : state) {
        DispatchLayout(w.src.frameLayout, [&](auto l) {
            constexpr FrameLayout L = decltype(l)::value;
            const std::uint8_t* in = w.src.data;
            std::uint8_t* out = w.dst.data;
            for (std::uint32_t i = 0; i < kFrames; ++i) WriteFrame<L>(out, i, ReadFrame<L>(in, i));
        });
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

void BM_Memcpy(benchmark::State& state) {
    Pair& w = Waves();
    for (auto _ : state) {
        std::memcpy(w.dst.data, w.src.data, w.src.dataBytes);
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

BENCHMARK(BM_GetSetFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_LayoutLoop)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace kelvane

BENCHMARK_MAIN();
