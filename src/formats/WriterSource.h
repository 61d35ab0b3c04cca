#pragma once

#include <cstdint>
#include <memory>

#include "formats/OutputFile.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The stream through which a writer reads a sound: a BlockStream over the bytes of a Resident
// object, or the Streamed object's own stream (rewound; it stays the object's).
class WriterSource {
  public:
    explicit WriterSource(WaveObject& wave);
    [[nodiscard]] SampleStream* Stream() const { return stream_; }

  private:
    std::unique_ptr<SampleStream> owned_;
    SampleStream* stream_ = nullptr;
};

// A compression-manager conversion of `inner` from one format to another, reading `inner`
// without owning it; null when the conversion is not available.
[[nodiscard]] std::unique_ptr<SampleStream> OpenAcmStream(const WaveFormat& from,
                                                          const WaveFormat& to,
                                                          SampleStream& inner);
// The same owning its inner stream.
[[nodiscard]] std::unique_ptr<SampleStream> OpenAcmStream(const WaveFormat& from,
                                                          const WaveFormat& to,
                                                          std::unique_ptr<SampleStream> inner);

// Percent of `done` in `total`, 0 to 100, for phase reports.
[[nodiscard]] std::uint32_t PercentOf(std::uint64_t done, std::uint64_t total);

// Copies the whole stream to the file in 16384-byte pieces, reporting `phase` after each.
// False when a write fails.
bool CopyStreamToFile(SampleStream& stream, OutputFile& file, std::uint32_t phase,
                      ProgressFn progressFn, void* context);

}  // namespace kelvane
