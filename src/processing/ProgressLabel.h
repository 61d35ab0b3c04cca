#pragma once

#include <string>

namespace kelvane {

// The percentage a progress window shows beside its bar for `position` in [lower, upper]:
// (position - lower) * 100 / (upper - lower) in 32-bit integer arithmetic, then, unless it is
// exactly 100, taken modulo 100, followed by a percent sign. Positions past the upper bound
// wrap (150 of 0..100 shows "50%"). An empty range shows "0%".
[[nodiscard]] std::string ProgressPercentText(int position, int lower, int upper);

}  // namespace kelvane
