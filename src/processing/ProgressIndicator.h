#pragma once

#include <string_view>

namespace kelvane {

// Where long operations report how far they are. The editor's progress window implements it
// (and keeps the interface painting on every SetPos); the batch command and tests have their own.
class ProgressIndicator {
  public:
    virtual ~ProgressIndicator() = default;
    // `parent` is the window the indicator belongs to, null when there is none.
    virtual bool Create(void* parent) = 0;
    virtual void SetText(std::string_view text) = 0;
    // Returns the previous position.
    virtual int SetPos(int position) = 0;
    virtual void SetRange(int lower, int upper) = 0;
    // Whether the person asked the operation to stop; it then stops at its next report and
    // leaves everything as it was.
    [[nodiscard]] virtual bool Cancelled() const { return false; }
};

// For callers that need an indicator but show nothing.
class NullProgress final : public ProgressIndicator {
  public:
    bool Create(void*) override { return true; }
    void SetText(std::string_view) override {}
    int SetPos(int) override { return 0; }
    void SetRange(int, int) override {}
};

}  // namespace kelvane
