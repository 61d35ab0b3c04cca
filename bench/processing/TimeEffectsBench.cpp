// Echo, chorus, change pitch and compress/expand over ten minutes of 44100 Hz 16-bit stereo,
// each beside memcpy of the same bytes and beside the nearest sox effect on the same data.
#include <unistd.h>

#include "processing/BenchWave.h"
#include "processing/ChangePitch.h"
#include "processing/Chorus.h"
#include "processing/CompressExpand.h"
#include "processing/Echo.h"

namespace kelvane::bench {
namespace {

// Chorus and compress/expand write their settings on every run; a private file in /tmp keeps
// the user's profile out of it.
const SettingsPlace& ScratchSettings() {
    static const struct Place {
        SettingsPlace place{"/tmp/kelvane-bench-settings-" + std::to_string(::getpid()) + ".ini",
                            "BATCH"};
        ~Place() { std::remove(place.file.c_str()); }
    } place;
    return place.place;
}

void BM_Echo(benchmark::State& state) {
    EchoEffect effect(ScratchSettings());
    effect.settings = EchoSettings{};
    RunRange(state, effect);
}
void BM_Chorus(benchmark::State& state) {
    ChorusEffect effect(ScratchSettings());
    effect.settings = ChorusSettings{};
    RunRange(state, effect);
}
void BM_ChangePitch150Resample(benchmark::State& state) {
    ChangePitchEffect effect(ScratchSettings());
    effect.settings = ChangePitchSettings{};
    effect.settings.percent = 150;
    effect.settings.preserveLength = 0;
    RunByAddress(state, effect);
}
void BM_ChangePitch150KeepLength(benchmark::State& state) {
    ChangePitchEffect effect(ScratchSettings());
    effect.settings = ChangePitchSettings{};
    effect.settings.percent = 150;
    effect.settings.preserveLength = 1;
    RunByAddress(state, effect);
}
void BM_CompressExpand80(benchmark::State& state) {
    CompressExpandEffect effect(ScratchSettings());
    effect.settings = CompressExpandSettings{};
    effect.settings.percent = 80;
    RunByAddress(state, effect);
}

// sox reads the WAV file and writes a WAV file in /tmp, without dither (less work for sox).
void Sox(benchmark::State& state, const std::string& effect) {
    RunSox(state, effect, true, "-D");
}

void BM_SoxEcho(benchmark::State& state) {
    Sox(state, "echo 1 1 100 0.7");
}
void BM_SoxChorus(benchmark::State& state) {
    // Two voices, 100 ms apart in delay, at 0.7 and 0.49; sox's modulation stops below 5 Hz.
    Sox(state, "chorus 1 1 100 0.7 4.9 2 -s 100 0.49 4.9 2 -s");
}
void BM_SoxPitch150(benchmark::State& state) {
    Sox(state, "pitch 702");  // 1.5 = 702 cents
}
void BM_SoxTempo125(benchmark::State& state) {
    Sox(state, "tempo 1.25");  // 80 % of the length
}

#define OURS(fn) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)
#define SOX(fn) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)

KELVANE_PROCESSING_BASELINES();
OURS(BM_Echo);
SOX(BM_SoxEcho);
OURS(BM_Chorus);
SOX(BM_SoxChorus);
OURS(BM_ChangePitch150Resample);
OURS(BM_ChangePitch150KeepLength);
SOX(BM_SoxPitch150);
OURS(BM_CompressExpand80);
SOX(BM_SoxTempo125);

}  // namespace
}  // namespace kelvane::bench

BENCHMARK_MAIN();
