#include "processing/ProgressLabel.h"

#include <cstdint>

namespace kelvane {

std::string ProgressPercentText(int position, int lower, int upper) {
    int percent = 0;
    if (upper != lower) {
        // Wrapping 32-bit products, as the window computes them.
        const auto scaled =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(position - lower) * 100u);
        percent = scaled / (upper - lower);
    }
    if (percent != 100) percent %= 100;
    return std::to_string(percent) + '%';
}

}  // namespace kelvane
