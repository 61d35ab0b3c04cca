#include "processing/RuntimeRandom.h"

namespace kelvane {

namespace {
std::uint32_t gState = RuntimeRandom::kInitialState;
}  // namespace

int RuntimeRandom::Next() {
    gState = gState * 214013u + 2531011u;
    return static_cast<int>((gState >> 16) & 0x7FFFu);
}

std::uint32_t RuntimeRandom::State() {
    return gState;
}

void RuntimeRandom::SetState(std::uint32_t state) {
    gState = state;
}

}  // namespace kelvane
