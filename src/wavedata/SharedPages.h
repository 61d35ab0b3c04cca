#pragma once

#include <cstdint>
#include <span>

#include "wavedata/WaveObject.h"

namespace kelvane {

// Bytes of temporary storage that `states` hold and `besides` does not use: each file once,
// however many states share it; a state in memory counts its own bytes.
[[nodiscard]] std::uint64_t HeldBytes(std::span<const WaveObject* const> states,
                                      const WaveObject* besides);

// Maps the pages behind `bytes` bytes of the wave's data from `offset` in one call, ahead of
// a reader that touches them all: a sound assembled from pieces starts with none of its pages
// mapped, and faulting them in one by one costs more than the reading.
void PrepareToRead(const WaveObject& wave, std::uint64_t offset, std::uint64_t bytes);

}  // namespace kelvane
