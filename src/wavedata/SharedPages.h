#pragma once

#include <cstdint>
#include <span>

#include "wavedata/WaveObject.h"

namespace kelvane {

// Bytes of temporary storage that `states` hold and `besides` does not use: each file once,
// however many states share it; a state in memory counts its own bytes.
[[nodiscard]] std::uint64_t HeldBytes(std::span<const WaveObject* const> states,
                                      const WaveObject* besides);

}  // namespace kelvane
