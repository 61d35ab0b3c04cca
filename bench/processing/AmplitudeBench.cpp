// The amplitude effects and format conversion over ten minutes of 44100 Hz 16-bit stereo,
// each beside memcpy of the same bytes and beside the nearest sox effect on the same data.
#include "processing/BenchWave.h"
#include "processing/CenterSignals.h"
#include "processing/Fade.h"
#include "processing/FormatConversion.h"
#include "processing/Normalize.h"
#include "processing/Reverse.h"
#include "processing/SwapChannels.h"
#include "processing/Volume.h"

namespace kelvane::bench {
namespace {

void BM_Volume(benchmark::State& state) {
    VolumeEffect effect(true, {});
    effect.settings = {80, 120, 0};
    RunRange(state, effect);
}
void BM_FadeIn(benchmark::State& state) {
    RunRange(state, FadeEffect(FadeKind::In));
}
void BM_Reverse(benchmark::State& state) {
    RunRange(state, ReverseEffect());
}
void BM_Swap(benchmark::State& state) {
    RunRange(state, SwapChannelsEffect());
}
void BM_Normalize(benchmark::State& state) {
    RunRange(state, NormalizeEffect());
}
void BM_Center(benchmark::State& state) {
    RunWhole(state, CenterSignalsEffect());
}
void BM_ConvertTo22050Mono8(benchmark::State& state) {
    FormatConversionEffect effect({});
    effect.settings = {22050, 1, 8};
    RunWhole(state, effect);
}

// sox reads the WAV file and writes a WAV file in /tmp.
void BM_SoxVol(benchmark::State& state) {
    RunSox(state, "vol 0.8");
}
void BM_SoxFade(benchmark::State& state) {
    RunSox(state, "fade 600");
}
void BM_SoxReverse(benchmark::State& state) {
    RunSox(state, "reverse");
}
void BM_SoxSwap(benchmark::State& state) {
    RunSox(state, "swap");
}
void BM_SoxNorm(benchmark::State& state) {
    RunSox(state, "norm");
}
void BM_SoxDcshift(benchmark::State& state) {
    RunSox(state, "dcshift -0.01");
}
void BM_SoxRateRemix(benchmark::State& state) {
    // Quick rate (no long filter) and no dither: the nearest sox gets to picking frames.
    RunSox(state, "remix - rate -q 22050", true, "-D -b 8");
}

#define OURS(fn) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)
#define SOX(fn) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)

KELVANE_PROCESSING_BASELINES();
OURS(BM_Volume);
SOX(BM_SoxVol);
OURS(BM_FadeIn);
SOX(BM_SoxFade);
OURS(BM_Reverse);
SOX(BM_SoxReverse);
OURS(BM_Swap);
SOX(BM_SoxSwap);
OURS(BM_Normalize);
SOX(BM_SoxNorm);
OURS(BM_Center);
SOX(BM_SoxDcshift);
OURS(BM_ConvertTo22050Mono8);
SOX(BM_SoxRateRemix);

}  // namespace
}  // namespace kelvane::bench

BENCHMARK_MAIN();
