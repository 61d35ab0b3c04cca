#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "formats/streams/InnerStream.h"

namespace kelvane {

// Walks the chunk structure of a RIFF file held in a readable, seekable stream.
class RiffReader final : public SampleStream {
  public:
    enum DescendMode : std::uint32_t { DescendForm = 0, DescendChunk = 1, DescendList = 2 };

    explicit RiffReader(std::unique_ptr<SampleStream> inner);
    explicit RiffReader(SampleStream& inner);

    // Form: the "RIFF" header whose form type is `id` (empty stack only). Chunk: the chunk
    // `id` inside the form or list on top. List: the "LIST" of list type `id` inside it.
    // 1 found (pushed, the stream at its data), 0 not found.
    std::uint32_t Descend(const char id[4], std::uint32_t mode);
    // Pops the top chunk and seeks to the data of the new top (to 0 when none is left).
    void Ascend();
    // Size of the top chunk, 0 when none is open.
    [[nodiscard]] std::uint32_t ChunkSize() const;
    // Offset of the top chunk's data in the inner stream (after the form or list type for
    // those), 0 when none is open.
    [[nodiscard]] std::uint32_t ChunkStart() const;
    [[nodiscard]] std::size_t Depth() const { return stack_.size(); }

    std::uint32_t Read(void* destination, std::uint32_t count) override;
    std::uint32_t Seek(std::int32_t offset, std::uint32_t origin) override;
    std::uint32_t IsEof() override;
    std::uint32_t Caps() override { return CapsReadable | CapsSeekable; }
    std::uint32_t Size() override;

  private:
    enum Kind : std::uint32_t { KindForm = 0, KindChunk = 1, KindList = 2 };
    struct Chunk {
        Kind kind;
        std::uint32_t dataStart;  // for a form or list: the offset of its 4-byte type
        std::uint32_t size;
    };

    bool OpenForm(const char id[4]);
    bool OpenInside(const char id[4], std::uint32_t mode);
    bool ReadWord(std::uint32_t& value);

    InnerStream inner_;
    std::vector<Chunk> stack_;
};

}  // namespace kelvane
