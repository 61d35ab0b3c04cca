#pragma once

#include <memory>

#include "wavedata/SampleStream.h"

namespace kelvane {

// The stream a wrapping stream reads from: owned (destroyed with the wrapper) or borrowed
// (the caller keeps it alive for the wrapper's life).
class InnerStream {
  public:
    explicit InnerStream(std::unique_ptr<SampleStream> owned)
        : owned_(std::move(owned)), stream_(owned_.get()) {}
    explicit InnerStream(SampleStream& borrowed) : stream_(&borrowed) {}

    [[nodiscard]] SampleStream* operator->() const { return stream_; }
    [[nodiscard]] SampleStream* get() const { return stream_; }
    [[nodiscard]] bool Owns() const { return owned_ != nullptr; }
    // Usable when present, ok and offering every bit of `caps`.
    [[nodiscard]] bool Offers(std::uint32_t caps) const {
        return stream_ != nullptr && stream_->IsOk() && (stream_->Caps() & caps) == caps;
    }
    // The owned stream handed on to a new owner; null when borrowed.
    std::unique_ptr<SampleStream> Release() {
        stream_ = nullptr;
        return std::move(owned_);
    }

  private:
    std::unique_ptr<SampleStream> owned_;
    SampleStream* stream_;
};

}  // namespace kelvane
