#pragma once

#include <cstdint>

namespace kelvane {

// The process-wide pseudo-random sequence of the classic C runtime's rand(): never seeded, so
// every start of the program draws the same values, and successive users continue one
// sequence. The platform's rand() differs between C libraries, so it is not used.
class RuntimeRandom {
  public:
    static constexpr int kMax = 0x7FFF;
    static constexpr std::uint32_t kInitialState = 1;

    // The next value, 0 to kMax.
    static int Next();

    // The generator's state, for a test that needs a known starting point.
    [[nodiscard]] static std::uint32_t State();
    static void SetState(std::uint32_t state);
};

}  // namespace kelvane
