#include "formats/ChunkWriter.h"

namespace kelvane {

namespace {

void PutLe32(std::uint8_t* to, std::uint32_t v) {
    to[0] = static_cast<std::uint8_t>(v);
    to[1] = static_cast<std::uint8_t>(v >> 8);
    to[2] = static_cast<std::uint8_t>(v >> 16);
    to[3] = static_cast<std::uint8_t>(v >> 24);
}

}  // namespace

bool ChunkWriter::CreateChunk(const char id[4], std::uint32_t size) {
    std::uint8_t header[8];
    for (int i = 0; i < 4; ++i) header[i] = static_cast<std::uint8_t>(id[i]);
    PutLe32(header + 4, size);
    open_.push_back({file_.Position(), size});
    return file_.Write(header, sizeof header);
}

bool ChunkWriter::CreateList(const char kind[4], const char type[4]) {
    return CreateChunk(kind, 4) && file_.Write(type, 4);
}

bool ChunkWriter::Ascend() {
    if (open_.empty()) return false;
    const Open chunk = open_.back();
    open_.pop_back();
    const std::uint64_t body = file_.Position() - chunk.header - 8;
    if (body > 0xFFFFFFFFu) return false;
    const auto size = static_cast<std::uint32_t>(body);
    if ((size & 1) != 0) {
        const std::uint8_t pad = 0;
        if (!file_.Write(&pad, 1)) return false;
    }
    if (size == chunk.size) return true;
    std::uint8_t field[4];
    PutLe32(field, size);
    return file_.WriteAt(chunk.header + 4, field, sizeof field);
}

}  // namespace kelvane
