#pragma once

#include <cstdint>
#include <vector>

#include "formats/OutputFile.h"

namespace kelvane {

// Writes RIFF chunks (little-endian sizes) into an output file: Create writes a chunk's header
// with the size expected, Ascend ends the chunk, writes its pad byte when the body is odd and
// corrects the size when the body came out at another length.
class ChunkWriter {
  public:
    explicit ChunkWriter(OutputFile& file) : file_(file) {}

    bool CreateChunk(const char id[4], std::uint32_t size);
    // A "RIFF" form or a "LIST" (`kind`) with its four-character type.
    bool CreateList(const char kind[4], const char type[4]);
    bool Write(const void* data, std::size_t bytes) { return file_.Write(data, bytes); }
    bool Ascend();

  private:
    struct Open {
        std::uint64_t header;
        std::uint32_t size;
    };

    OutputFile& file_;
    std::vector<Open> open_;
};

}  // namespace kelvane
