#include "formats/streams/RiffReader.h"

#include <cstring>

namespace kelvane {

namespace {

std::uint32_t FourCc(const char id[4]) {
    std::uint32_t value;
    std::memcpy(&value, id, 4);
    return value;
}

constexpr std::uint32_t kRiff = 0x46464952u;  // "RIFF" read as a little-endian word
constexpr std::uint32_t kList = 0x5453494Cu;  // "LIST"

}  // namespace

RiffReader::RiffReader(std::unique_ptr<SampleStream> inner) : inner_(std::move(inner)) {
    ok = inner_.Offers(CapsReadable | CapsSeekable) ? 1 : 0;
}

RiffReader::RiffReader(SampleStream& inner) : inner_(inner) {
    ok = inner_.Offers(CapsReadable | CapsSeekable) ? 1 : 0;
}

bool RiffReader::ReadWord(std::uint32_t& value) {
    std::uint8_t bytes[4];
    if (inner_->Read(bytes, 4) != 4) return false;
    value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
            std::uint32_t{bytes[3]} << 24;
    return true;
}

std::uint32_t RiffReader::Descend(const char id[4], std::uint32_t mode) {
    if (!ok || id == nullptr) return 0;
    if (mode == DescendForm) return OpenForm(id) ? 1 : 0;
    if (mode == DescendChunk || mode == DescendList) return OpenInside(id, mode) ? 1 : 0;
    return 0;
}

bool RiffReader::OpenForm(const char id[4]) {
    if (!stack_.empty()) return false;
    std::uint32_t magic = 0, size = 0, type = 0;
    if (inner_->Seek(0, SeekStart) != 0 || !ReadWord(magic) || !ReadWord(size) || !ReadWord(type) ||
        magic != kRiff || type != FourCc(id))
        return false;
    stack_.push_back({KindForm, 8, size});
    return true;
}

bool RiffReader::OpenInside(const char id[4], std::uint32_t mode) {
    if (stack_.empty() || stack_.back().kind == KindChunk) return false;
    const Chunk parent = stack_.back();
    const std::uint64_t parentEnd = std::uint64_t{parent.dataStart} + parent.size;
    std::uint64_t position = std::uint64_t{parent.dataStart} + 4;
    const std::uint32_t wanted = FourCc(id);
    while (position + 8 <= parentEnd && position <= 0x7FFFFFFFu) {
        std::uint32_t chunkId = 0, size = 0;
        if (inner_->Seek(static_cast<std::int32_t>(position), SeekStart) != position ||
            !ReadWord(chunkId) || !ReadWord(size))
            break;
        const std::uint32_t dataStart = static_cast<std::uint32_t>(position + 8);
        if (mode == DescendChunk && chunkId == wanted) {
            stack_.push_back({KindChunk, dataStart, size});
            return true;
        }
        std::uint32_t listType = 0;
        if (mode == DescendList && chunkId == kList && ReadWord(listType) && listType == wanted) {
            stack_.push_back({KindList, dataStart, size});
            return true;
        }
        position = std::uint64_t{dataStart} + size + (size & 1);
    }
    // Leave the stream inside the parent, never past its end.
    inner_->Seek(static_cast<std::int32_t>(parent.dataStart), SeekStart);
    return false;
}

void RiffReader::Ascend() {
    if (stack_.empty()) return;
    stack_.pop_back();
    const std::uint32_t target = stack_.empty() ? 0 : stack_.back().dataStart;
    inner_->Seek(static_cast<std::int32_t>(target), SeekStart);
}

std::uint32_t RiffReader::ChunkSize() const {
    return stack_.empty() ? 0 : stack_.back().size;
}

std::uint32_t RiffReader::ChunkStart() const {
    return stack_.empty() ? 0 : stack_.back().dataStart;
}

std::uint32_t RiffReader::Read(void* destination, std::uint32_t count) {
    return ok ? inner_->Read(destination, count) : 0;
}

std::uint32_t RiffReader::Seek(std::int32_t offset, std::uint32_t origin) {
    return ok ? inner_->Seek(offset, origin) : kSeekFailed;
}

std::uint32_t RiffReader::IsEof() {
    return ok ? inner_->IsEof() : 1;
}

std::uint32_t RiffReader::Size() {
    return ok ? inner_->Size() : 0;
}

}  // namespace kelvane
