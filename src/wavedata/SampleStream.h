#pragma once

#include <cstdint>

namespace kelvane {

enum StreamCaps : std::uint32_t {
    CapsReadable = 1,
    CapsWritable = 2,
    CapsSeekable = 4,
    CapsGrowable = 8,
};

enum SeekOrigin : std::uint32_t { SeekStart = 0, SeekCurrent = 1, SeekEnd = 2 };

inline constexpr std::uint32_t kSeekFailed = 0xFFFFFFFFu;

// A chainable byte stream through which files are decoded, converted and written. The
// concrete streams live in formats/streams; a Streamed WaveObject owns one.
class SampleStream {
  public:
    virtual ~SampleStream() = default;
    // Bytes delivered; 0 at the end or on failure.
    virtual std::uint32_t Read(void* /*destination*/, std::uint32_t /*count*/) { return 1; }
    virtual std::uint32_t Write(const void* /*source*/, std::uint32_t /*count*/) { return 1; }
    // New position, or kSeekFailed.
    virtual std::uint32_t Seek(std::int32_t /*offset*/, std::uint32_t /*origin*/) {
        return kSeekFailed;
    }
    virtual std::uint32_t IsEof() { return 1; }
    virtual std::uint32_t Caps() { return 0; }
    [[nodiscard]] std::uint32_t IsOk() const { return ok; }
    // Total bytes the stream delivers.
    virtual std::uint32_t Size() { return 0; }

    SampleStream(const SampleStream&) = delete;
    SampleStream& operator=(const SampleStream&) = delete;

  protected:
    SampleStream() = default;
    std::uint32_t ok = 0;
};

}  // namespace kelvane
