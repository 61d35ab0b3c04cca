#include "processing/Chorus.h"

#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <type_traits>
#include <utility>
#include <vector>

#include "processing/EffectResult.h"
#include "processing/FrameInterpolation.h"
#include "processing/ProgressCounter.h"
#include "processing/RangeEffect.h"
#include "processing/RuntimeRandom.h"

namespace kelvane {

namespace {

// Frame delays far beyond any 32-bit wave behave alike; saturating keeps the arithmetic
// defined for any settings file.
std::int64_t SaturatedFrames(double value) {
    constexpr double kLimit = 1099511627776.0;  // 2^40
    if (!(value > -kLimit)) return value < 0 ? -static_cast<std::int64_t>(kLimit) : 0;
    if (value >= kLimit) return static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(value);
}

std::int32_t Clamp16Wide(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -32768, 32767));
}

struct Voices {
    int active = 0;      // voices in use, 1 to 3
    bool plain = false;  // every voice read inside the wave, every gain at most 1
    std::int64_t offset[kChorusVoices] = {};  // k * D
    double displacement[kChorusVoices] = {};
    double gain[kChorusVoices] = {};
};

// The mix for frames that hear V voices: each voice's product truncated, then the sum
// clamped. The voices come by value: the byte stores below may alias anything the compiler
// cannot see is local, and would make it reload them every frame. kPlain spans need no bound
// checks and fit in 32 bits.
template <FrameLayout L, int V, bool kPlain>
void MixVoices(const std::uint8_t* in, std::uint32_t frames, std::uint8_t* out, Voices voices,
               std::uint32_t first, std::uint32_t last) {
    constexpr bool kMono = L == LayoutMono8 || L == LayoutMono16;
    using Sum = std::conditional_t<kPlain, std::int32_t, std::int64_t>;
    for (std::uint32_t i = first; i < last; ++i) {
        const FrameValue frame = ReadFrame<L>(in, i);
        Sum left = LeftOf(frame);
        Sum right = RightOf(frame);
        for (int k = 0; k < V; ++k) {
            const double at =
                static_cast<double>(std::int64_t{i} - voices.offset[k]) + voices.displacement[k];
            if constexpr (kPlain) {
                const FrameValue voice = InterpolateInside<L>(in, at);
                left += static_cast<std::int32_t>(LeftOf(voice) * voices.gain[k]);
                if constexpr (!kMono)
                    right += static_cast<std::int32_t>(RightOf(voice) * voices.gain[k]);
            } else {
                const FrameValue voice = InterpolateFrame<L>(in, frames, at);
                left += TruncToInt(LeftOf(voice) * voices.gain[k]);
                if constexpr (!kMono) right += TruncToInt(RightOf(voice) * voices.gain[k]);
            }
        }
        if constexpr (kMono) {
            const std::int32_t v = Clamp16Wide(left);
            WriteFrame<L>(out, i, PackFrame(v, v));
        } else {
            WriteFrame<L>(out, i, PackFrame(Clamp16Wide(left), Clamp16Wide(right)));
        }
    }
}

// Stereo frames in SSE2 lanes, left and right side by side: the same double operations as
// the scalar path, lane by lane, so the same bits; packing with signed saturation is the
// clamp to 16 bits.
namespace lanes {

inline __m128i UnsignedHalves(__m128i frames) {
    return _mm_unpacklo_epi16(frames, _mm_setzero_si128());
}
inline __m128i SignedHalves(__m128i frames) {
    return _mm_srai_epi32(_mm_unpacklo_epi16(_mm_setzero_si128(), frames), 16);
}
inline __m128i OneFrame(FrameValue v) {
    return _mm_cvtsi32_si128(static_cast<int>(v));
}
template <FrameLayout L>
inline __m128i TwoFrames(const std::uint8_t* in, std::uint32_t i) {
    if constexpr (L == LayoutStereo16)
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 4 * std::size_t{i}));
    else
        return _mm_unpacklo_epi32(OneFrame(ReadFrame<L>(in, i)), OneFrame(ReadFrame<L>(in, i + 1)));
}

// trunc(a_u + (b_s - a_s) * t), low 16 bits read as signed, for two halves.
inline __m128i Interpolate(__m128i au, __m128i step, __m128d t) {
    return _mm_cvttpd_epi32(_mm_add_pd(_mm_cvtepi32_pd(au), _mm_mul_pd(_mm_cvtepi32_pd(step), t)));
}
inline __m128i Low16Signed(__m128i v) {
    return _mm_srai_epi32(_mm_slli_epi32(v, 16), 16);
}
inline __m128i Scale(__m128i v, __m128d gain) {
    return _mm_cvttpd_epi32(_mm_mul_pd(_mm_cvtepi32_pd(v), gain));
}
// Four lanes (two frames) at once; the upper pair moved down for the double conversions.
inline __m128i Interpolate4(__m128i au, __m128i step, __m128d t) {
    return _mm_unpacklo_epi64(Interpolate(au, step, t),
                              Interpolate(_mm_srli_si128(au, 8), _mm_srli_si128(step, 8), t));
}
inline __m128i Scale4(__m128i v, __m128d gain) {
    return _mm_unpacklo_epi64(Scale(v, gain), Scale(_mm_srli_si128(v, 8), gain));
}

}  // namespace lanes

// One frame, each voice's position computed as it comes.
template <FrameLayout L, int V>
inline void MixStereoFrame(const std::uint8_t* in, std::uint8_t* out, const Voices& voices,
                           const __m128d* gain, std::uint32_t i) {
    using namespace lanes;
    __m128i sum = SignedHalves(OneFrame(ReadFrame<L>(in, i)));
    for (int k = 0; k < V; ++k) {
        const double at =
            static_cast<double>(std::int64_t{i} - voices.offset[k]) + voices.displacement[k];
        const auto at0 = static_cast<std::uint32_t>(at);
        const __m128i a = OneFrame(ReadFrame<L>(in, at0));
        const __m128i b = OneFrame(ReadFrame<L>(in, at0 + 1));
        const __m128d t = _mm_set1_pd(at - at0);
        const __m128i step = _mm_sub_epi32(SignedHalves(b), SignedHalves(a));
        const __m128i voice = Low16Signed(Interpolate(UnsignedHalves(a), step, t));
        sum = _mm_add_epi32(sum, Scale(voice, gain[k]));
    }
    WriteFrame<L>(out, i, static_cast<FrameValue>(_mm_cvtsi128_si32(_mm_packs_epi32(sum, sum))));
}

// Frames whose voices all read at a fixed fraction: voice k of frame i reads frames
// i + shift[k] and the one after at fraction t[k]. Two frames a turn.
template <FrameLayout L, int V>
void MixStereoFixed(const std::uint8_t* in, std::uint8_t* out, const Voices& voices,
                    const __m128d* gain, const std::int64_t* shift, const double* fraction,
                    std::uint32_t first, std::uint32_t last) {
    using namespace lanes;
    __m128d t[V];
    std::int64_t delta[V];
    for (int k = 0; k < V; ++k) {
        t[k] = _mm_set1_pd(fraction[k]);
        delta[k] = shift[k];
    }
    std::uint32_t i = first;
    for (; i + 1 < last; i += 2) {
        __m128i sum = SignedHalves(TwoFrames<L>(in, i));
        for (int k = 0; k < V; ++k) {
            const auto at0 = static_cast<std::uint32_t>(std::int64_t{i} + delta[k]);
            const __m128i a = TwoFrames<L>(in, at0);
            const __m128i b = TwoFrames<L>(in, at0 + 1);
            const __m128i step = _mm_sub_epi32(SignedHalves(b), SignedHalves(a));
            const __m128i voice = Low16Signed(Interpolate4(UnsignedHalves(a), step, t[k]));
            sum = _mm_add_epi32(sum, Scale4(voice, gain[k]));
        }
        const __m128i packed = _mm_packs_epi32(sum, sum);
        WriteFrame<L>(out, i, static_cast<FrameValue>(_mm_cvtsi128_si32(packed)));
        WriteFrame<L>(out, i + 1,
                      static_cast<FrameValue>(_mm_cvtsi128_si32(_mm_srli_si128(packed, 4))));
    }
    if (i < last) MixStereoFrame<L, V>(in, out, voices, gain, i);
}

// The position of a voice is double(m) + displacement with m = i - k * D. While m + the
// displacement stays inside one binade [2^e, 2^(e+1)) of m (e < 52), the sum rounds to m plus
// the displacement rounded to that binade's spacing, the same for every m there: the frame
// read is m plus a fixed shift and the fraction is fixed. Frames near the binade edges take
// the per-frame path.
template <FrameLayout L, int V>
void MixStereoLanes(const std::uint8_t* in, std::uint8_t* out, Voices voices, std::uint32_t first,
                    std::uint32_t last) {
    __m128d gain[V];
    std::int64_t reach[V];
    for (int k = 0; k < V; ++k) {
        gain[k] = _mm_set1_pd(voices.gain[k]);
        reach[k] = static_cast<std::int64_t>(std::ceil(std::fabs(voices.displacement[k]))) + 1;
    }
    std::uint32_t i = first;
    while (i < last) {
        std::uint32_t stop = last;
        bool fixed = true;
        std::int64_t shift[V];
        double fraction[V];
        for (int k = 0; k < V; ++k) {
            const std::int64_t m = std::int64_t{i} - voices.offset[k];  // at least 1 inside
            const std::int64_t low = std::int64_t{1}
                                     << (std::bit_width(static_cast<std::uint64_t>(m)) - 1);
            const std::int64_t high = 2 * low;
            std::int64_t until;
            if (m >= low + reach[k] && m < high - reach[k]) {
                until = high - reach[k];
                const double at = static_cast<double>(m) + voices.displacement[k];
                const auto at0 = static_cast<std::uint32_t>(at);
                shift[k] = std::int64_t{at0} - std::int64_t{i};
                fraction[k] = at - at0;
            } else {
                fixed = false;
                until =
                    m < low + reach[k] && low + reach[k] < high - reach[k] ? low + reach[k] : high;
            }
            stop = static_cast<std::uint32_t>(
                std::min<std::int64_t>(stop, std::int64_t{i} + (until - m)));
        }
        if (fixed) {
            MixStereoFixed<L, V>(in, out, voices, gain, shift, fraction, i, stop);
        } else {
            for (std::uint32_t j = i; j < stop; ++j) MixStereoFrame<L, V>(in, out, voices, gain, j);
        }
        i = stop;
    }
}

template <FrameLayout L, int V>
void MixVoices(const std::uint8_t* in, std::uint32_t frames, std::uint8_t* out,
               const Voices& voices, std::uint32_t first, std::uint32_t last) {
    if constexpr (L == LayoutStereo8 || L == LayoutStereo16) {
        if (voices.plain) return MixStereoLanes<L, V>(in, out, voices, first, last);
    }
    if (voices.plain)
        MixVoices<L, V, true>(in, frames, out, voices, first, last);
    else
        MixVoices<L, V, false>(in, frames, out, voices, first, last);
}

template <FrameLayout L>
void MixSpan(const WaveObject& source, WaveObject& result, const Voices& voices,
             std::uint32_t first, std::uint32_t last) {
    const std::uint8_t* in = source.data;
    const std::uint32_t frames = source.FrameCount();
    std::uint8_t* out = result.data;
    switch (voices.active) {
        case 1:
            MixVoices<L, 1>(in, frames, out, voices, first, last);
            break;
        case 2:
            MixVoices<L, 2>(in, frames, out, voices, first, last);
            break;
        default:
            MixVoices<L, 3>(in, frames, out, voices, first, last);
            break;
    }
}

// What each frame of one run hears: the delay D, the three voices (displacements drawn
// here, one per voice, in order) and the points between which frames are mixed alike.
class ChorusPlan {
  public:
    ChorusPlan(const ChorusSettings& s, std::uint32_t rate, std::uint32_t waveLength,
               FrameRange range)
        : range_(range),
          delay_(SaturatedFrames(rate * s.delay)),
          voiceCount_(std::clamp(s.number, 1, kChorusVoices)),
          gentle_(std::fabs(s.size) <= 1.0),
          gains_{s.size, s.size * s.size, s.size * s.size * s.size},
          displacement_(DrawChorusDisplacements(s.depth, s.frequency)) {
        // Voice k reads inside the wave, with a frame after the one it starts on, for frames
        // i in [inside_[k].first, inside_[k].second): a margin of a frame beyond the
        // displacement.
        for (int k = 0; k < kChorusVoices; ++k) {
            const double reach = std::fabs(displacement_[k]);
            if (!(reach < 1e9)) continue;
            const auto margin = static_cast<std::int64_t>(std::ceil(reach)) + 1;
            const std::int64_t offset = (k + 1) * delay_;
            inside_[k] = {offset + margin, offset + waveLength - 1 - margin};
        }
        points_ = {range.start, range.end()};
        for (int k = 0; k < kChorusVoices; ++k) {
            AddPoint((k + 1) * delay_);
            AddPoint(inside_[k].first);
            AddPoint(inside_[k].second);
        }
    }

    // The end of the span from `first` (before `last`) whose frames are mixed alike.
    [[nodiscard]] std::uint32_t SpanEnd(std::uint32_t first, std::uint32_t last) const {
        for (const std::uint32_t p : points_)
            if (p > first && p < last) last = p;
        return last;
    }

    // No voices outside the range and before D; then voice 1, and voices 2 and 3 while the
    // number allows, each once the frame is k * D frames in.
    [[nodiscard]] Voices VoicesAt(std::uint32_t i) const {
        Voices v;
        const std::int64_t at = i;
        if (i < range_.start || i >= range_.end() || at < delay_) return v;
        for (int k = 1; k <= voiceCount_ && at >= k * delay_; ++k) {
            v.offset[v.active] = k * delay_;
            v.displacement[v.active] = displacement_[k - 1];
            v.gain[v.active] = gains_[k - 1];
            ++v.active;
        }
        v.plain = gentle_;
        for (int k = 0; k < v.active; ++k)
            v.plain = v.plain && at >= inside_[k].first && at < inside_[k].second;
        return v;
    }

  private:
    void AddPoint(std::int64_t p) {
        if (p > range_.start && p < std::int64_t{range_.end()})
            points_.push_back(static_cast<std::uint32_t>(p));
    }

    FrameRange range_;
    std::int64_t delay_;
    int voiceCount_;
    bool gentle_;  // every gain at most 1: sums fit in 32 bits
    double gains_[kChorusVoices];
    std::array<double, kChorusVoices> displacement_;
    std::pair<std::int64_t, std::int64_t> inside_[kChorusVoices] = {};
    std::vector<std::uint32_t> points_;
};

}  // namespace

ChorusSettings ChorusFromStored(const ChorusStored& stored) {
    ChorusSettings s;
    s.delay = stored.delay * 0.001;
    s.size = stored.size * 0.001;
    s.number = stored.number;
    s.depth = stored.depth * 0.001;
    s.frequency = stored.frequency;
    return s;
}

ChorusStored StoredChorus(const ChorusSettings& s) {
    return {TruncToInt(s.delay * 1000), TruncToInt(s.size * 1000), s.number,
            TruncToInt(s.depth * 1000), TruncToInt(s.frequency)};
}

std::array<double, kChorusVoices> DrawChorusDisplacements(double depth, double frequency) {
    const double m = 0.02 * depth * frequency;
    std::array<double, kChorusVoices> displacement{};
    for (double& p : displacement) p = RuntimeRandom::Next() * (2 * m) / 32767 - m;
    return displacement;
}

ChorusEffect::ChorusEffect(SettingsPlace place) : place_(std::move(place)) {
    ChorusStored stored;
    LoadSettings<ChorusStored>(stored, kChorusKeys, place_, kChorusSection);
    settings = ChorusFromStored(stored);
}

void ChorusEffect::SaveSettings() const {
    kelvane::SaveSettings<ChorusStored>(StoredChorus(settings), kChorusKeys, place_,
                                        kChorusSection);
}

std::unique_ptr<WaveObject> ChorusEffect::Process(const WaveObject& source, std::uint32_t start,
                                                  std::uint32_t length,
                                                  ProgressIndicator* progress) const {
    SaveSettings();
    if (!HasReadableFrames(source)) return nullptr;
    const std::uint32_t waveLength = source.FrameCount();
    const FrameRange range = ProcessedRange(start, length, waveLength);
    std::vector<KeptRun> toCopy;
    auto result = NewResultKeeping(source, waveLength, range, toCopy);
    if (!result) return nullptr;
    const ChorusPlan plan(settings, source.format->samplesPerSec, waveLength, range);

    DispatchLayout(source.frameLayout, [&](auto layout) {
        constexpr FrameLayout L = decltype(layout)::value;
        ForEachProgressBlock(0, waveLength, waveLength, progress,
                             [&](std::uint32_t first, std::uint32_t last) {
                                 while (first < last) {
                                     const std::uint32_t stop = plan.SpanEnd(first, last);
                                     const Voices voices = plan.VoicesAt(first);
                                     if (voices.active == 0)
                                         CopyUnshared(source, *result, toCopy, range, first, stop);
                                     else
                                         MixSpan<L>(source, *result, voices, first, stop);
                                     first = stop;
                                 }
                             });
    });
    result->CopyInfo(&source);
    return result;
}

}  // namespace kelvane
