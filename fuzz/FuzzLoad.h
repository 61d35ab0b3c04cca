#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvane::fuzz {

// Writes the input to a file and loads it as `type` with each storage choice, reading every
// byte of what loads and saving it again, so the readers, Materialize and the writers all see
// the damaged data.
void LoadEveryWay(const std::uint8_t* data, std::size_t size, std::uint32_t type);

}  // namespace kelvane::fuzz
