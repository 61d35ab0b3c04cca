#include "processing/Pan.h"

#include "processing/Fade.h"
#include "processing/RangeEffect.h"

namespace kelvane {

std::unique_ptr<WaveObject> PanEffect::Process(const WaveObject& source, std::uint32_t start,
                                               std::uint32_t length,
                                               ProgressIndicator* progress) const {
    const bool leftIn = kind_ == PanKind::RightToLeft;
    return RunRangeEffect(
        source, start, length, progress,
        [leftIn](auto layout, const std::uint8_t* src, std::uint8_t* dst, std::uint32_t first,
                 std::uint32_t last, FrameRange range) {
            constexpr FrameLayout L = decltype(layout)::value;
            const double len = range.length;
            for (std::uint32_t i = first; i < last; ++i) {
                const double kIn = i - range.start;
                const double kOut = range.end() - 1 - i;
                const FrameValue v = ReadFrame<L>(src, i);
                WriteFrame<L>(dst, i,
                              leftIn ? RampFrame(v, kIn, kOut, len) : RampFrame(v, kOut, kIn, len));
            }
        });
}

}  // namespace kelvane
