#pragma once

#include <cstddef>

namespace kelvane {

// Lets a runner that converts files on several threads order chosen filter steps across them.
// ConvertFile calls Enter on the converting thread before the filter at `step` of the chain is
// applied to its file, and Leave once that filter is done with it.
class FilterGate {
  public:
    virtual ~FilterGate() = default;
    virtual void Enter(std::size_t step, int filter) = 0;
    virtual void Leave(std::size_t step, int filter) = 0;
};

}  // namespace kelvane
