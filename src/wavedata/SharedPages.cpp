#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "wavedata/SharedPages.h"

namespace kelvane {

namespace {

// Beyond this many mappings a sound is written whole: a long chain of small edits would
// otherwise end in thousands of mappings, which the kernel limits per process.
constexpr std::size_t kMaxPieces = 128;

std::uint64_t PageFloor(std::uint64_t bytes) {
    return bytes / PageBytes() * PageBytes();
}

std::uint64_t PageCeil(std::uint64_t bytes) {
    return PageFloor(bytes + PageBytes() - 1);
}

// A run of the new mapping taken from the source's mapping: `length` bytes at `at`, seen at
// `sourceAt` in the source's block.
struct SharedRun {
    std::uint64_t at;
    std::uint64_t sourceAt;
    std::uint64_t length;
};

void Append(std::vector<Piece>& pieces, Piece piece) {
    if (!pieces.empty()) {
        Piece& last = pieces.back();
        if (last.file == piece.file && last.offset + last.length == piece.offset &&
            last.at + last.length == piece.at) {
            last.length += piece.length;
            return;
        }
    }
    pieces.push_back(std::move(piece));
}

// The source's pieces behind [sourceAt, sourceAt + length), placed from `at` on.
void AppendShared(std::vector<Piece>& pieces, const std::vector<Piece>& source, SharedRun run) {
    for (const Piece& from : source) {
        const std::uint64_t begin = std::max(run.sourceAt, from.at);
        const std::uint64_t end = std::min(run.sourceAt + run.length, from.at + from.length);
        if (begin >= end) continue;
        Append(pieces, {from.file, from.offset + (begin - from.at), run.at + (begin - run.sourceAt),
                        end - begin});
    }
}

std::shared_ptr<PieceFile> NewPieceFile(const std::string& path, std::uint64_t bytes) {
    if (path.empty()) return nullptr;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ::unlink(path.c_str());
    if (fd < 0) return nullptr;
    // Reserved now, so that a full disk fails here and not with SIGBUS at a first write.
    if (::posix_fallocate(fd, 0, static_cast<off_t>(bytes)) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_shared<PieceFile>(fd, bytes, path);
}

}  // namespace

std::uint32_t WaveObject::AllocateSharing(const WaveObject& source, std::uint32_t frames,
                                          std::span<const KeptRun> kept,
                                          std::vector<KeptRun>& toCopy) {
    toCopy.clear();
    if (!source.format || &source == this) return 0;
    const WaveFormat format = *source.format;
    const std::uint64_t bpf = BytesPerFrame(source.frameLayout);
    auto wholeCopy = [&] {
        toCopy.clear();
        for (const KeptRun& run : kept)
            if (run.count != 0) toCopy.push_back({run.to * bpf, run.from * bpf, run.count * bpf});
        return Allocate(format, frames);
    };
    const KeptRun* anchor = nullptr;
    for (const KeptRun& run : kept)
        if (!anchor || run.count > anchor->count) anchor = &run;
    if (bpf == 0 || frames == 0 || useTempFiles == 0 || !PageSharing() || !anchor ||
        anchor->count == 0 || !source.storage || source.data == nullptr)
        return wholeCopy();
    const std::vector<Piece> sourcePieces = source.storage->Pieces();
    if (sourcePieces.empty()) return wholeCopy();

    // The new data starts at the same place in its page as the anchor run's source bytes, so
    // that the largest run's pages line up.
    const auto page = static_cast<std::int64_t>(PageBytes());
    const std::uint64_t sourceOffset =
        static_cast<std::uint64_t>(source.data - source.storage->pointer);
    const std::uint64_t bytes = frames * bpf;
    const auto lead = static_cast<std::uint64_t>(
        ((static_cast<std::int64_t>(sourceOffset + anchor->from * bpf - anchor->to * bpf) % page) +
         page) %
        page);
    const std::uint64_t end = lead + bytes;

    std::vector<SharedRun> shared;
    for (const KeptRun& run : kept) {
        if (run.count == 0) continue;
        const std::uint64_t m0 = lead + run.to * bpf;
        const std::uint64_t m1 = m0 + run.count * bpf;
        const auto delta = static_cast<std::int64_t>(sourceOffset + run.from * bpf) -
                           static_cast<std::int64_t>(m0);
        // The page holding the sound's first or last byte has nothing else of the sound in it.
        const std::uint64_t p0 = m0 == lead ? PageFloor(m0) : PageCeil(m0);
        const std::uint64_t p1 = m1 == end ? PageCeil(m1) : PageFloor(m1);
        if (delta % page != 0 || p0 >= p1) {
            toCopy.push_back({m0 - lead, run.from * bpf, run.count * bpf});
            continue;
        }
        shared.push_back(
            {p0, static_cast<std::uint64_t>(static_cast<std::int64_t>(p0) + delta), p1 - p0});
        if (m0 < p0) toCopy.push_back({m0 - lead, run.from * bpf, p0 - m0});
        if (p1 < m1) toCopy.push_back({p1 - lead, run.from * bpf + (p1 - m0), m1 - p1});
    }
    if (shared.empty()) return wholeCopy();

    const std::uint64_t whole = PageCeil(end);
    std::uint64_t freshBytes = whole;
    for (const SharedRun& run : shared) freshBytes -= run.length;
    std::shared_ptr<PieceFile> fresh;
    if (freshBytes != 0) {
        fresh = NewPieceFile(MakeTempFileName(), freshBytes);
        if (!fresh) return 0;
    }
    std::vector<Piece> pieces;
    std::uint64_t at = 0;
    std::uint64_t freshAt = 0;
    auto appendFresh = [&](std::uint64_t until) {
        if (until <= at) return;
        Append(pieces, {fresh, freshAt, at, until - at});
        freshAt += until - at;
    };
    for (const SharedRun& run : shared) {
        appendFresh(run.at);
        AppendShared(pieces, sourcePieces, run);
        at = run.at + run.length;
    }
    appendFresh(whole);
    if (pieces.size() > kMaxPieces) return wholeCopy();

    auto block = std::make_unique<PieceBlock>(end, std::move(pieces), fresh.get());
    if (block->pointer == nullptr) return wholeCopy();
    Reset();
    SetFormat(format);
    data = block->pointer + lead;
    dataBytes = static_cast<std::uint32_t>(bytes);
    storage = std::move(block);
    mode = WaveMode::Resident;
    return 1;
}

std::uint64_t HeldBytes(std::span<const WaveObject* const> states, const WaveObject* besides) {
    std::vector<const PieceFile*> skip;
    if (besides && besides->storage)
        for (const Piece& piece : besides->storage->Pieces()) skip.push_back(piece.file.get());
    std::vector<const PieceFile*> counted;
    std::uint64_t bytes = 0;
    for (const WaveObject* state : states) {
        const std::vector<Piece> pieces =
            state->storage ? state->storage->Pieces() : std::vector<Piece>{};
        if (pieces.empty()) bytes += state->dataBytes;
        for (const Piece& piece : pieces) {
            const PieceFile* file = piece.file.get();
            if (std::find(skip.begin(), skip.end(), file) != skip.end() ||
                std::find(counted.begin(), counted.end(), file) != counted.end())
                continue;
            counted.push_back(file);
            bytes += file->bytes;
        }
    }
    return bytes;
}

void PrepareToRead(const WaveObject& wave, std::uint64_t offset, std::uint64_t bytes) {
#ifdef MADV_POPULATE_READ
    if (!wave.storage || wave.storage->kind != BlockKind::Pieces || wave.data == nullptr) return;
    offset = std::min<std::uint64_t>(offset, wave.dataBytes);
    bytes = std::min<std::uint64_t>(bytes, wave.dataBytes - offset);
    if (bytes == 0) return;
    const auto begin = reinterpret_cast<std::uintptr_t>(wave.data + offset);
    const std::uintptr_t first = PageFloor(begin);
    // A kernel without it (before 5.14) refuses the advice, and the reader faults as before.
    ::madvise(reinterpret_cast<void*>(first), PageCeil(begin + bytes) - first, MADV_POPULATE_READ);
#else
    (void)wave, (void)offset, (void)bytes;
#endif
}

void CopyKeptBytes(const WaveObject& source, WaveObject& target, std::span<const KeptRun> toCopy,
                   std::uint64_t begin, std::uint64_t end) {
    for (const KeptRun& run : toCopy) {
        const std::uint64_t a = std::max(begin, run.to);
        const std::uint64_t b = std::min(end, run.to + run.count);
        if (a < b) std::memcpy(target.data + a, source.data + run.from + (a - run.to), b - a);
    }
}

}  // namespace kelvane
