#include "platform/raenc/Ra144Timing.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace kelvane {

namespace {

constexpr std::uint32_t kFrameBytes = 20;
constexpr std::uint32_t kFrameMs = 20;  // 160 samples at 8000 Hz
constexpr std::size_t kPacketHeader = 12;

std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}
std::uint16_t Get16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}
void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v);
}

// Numbers the packets of the DATA chunk at `at`; returns how many, or -1 when damaged.
long StampPackets(std::vector<std::uint8_t>& b, std::size_t at) {
    const std::uint32_t count = Get32(b, at + 10);
    std::size_t p = at + 18;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (p + kPacketHeader > b.size()) return -1;
        const std::uint16_t length = Get16(b, p + 2);
        if (length < kPacketHeader) return -1;
        Put32(b, p + 6, i * kFrameMs);
        p += length;
    }
    return count;
}

// The MDPR's type-specific data starts after its two length-prefixed strings.
bool FixStreamHeader(std::vector<std::uint8_t>& b, std::size_t at, std::size_t end,
                     std::uint32_t duration) {
    Put32(b, at + 36, duration);
    std::size_t p = at + 40;
    p += 1 + b[p];  // description
    if (p >= end) return false;
    p += 1 + b[p];  // mime type
    if (p + 4 + 44 > end) return false;
    const std::size_t data = p + 4;
    if (std::memcmp(&b[data], ".ra\xfd", 4) != 0 || Get16(b, data + 4) != 4) return false;
    Put32(b, data + 24, kFrameBytes);
    Put16(b, data + 42, kFrameBytes);
    return true;
}

}  // namespace

bool FixRa144Timing(const std::string& path, std::uint32_t durationMs) {
    std::vector<std::uint8_t> b;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        b.assign(std::istreambuf_iterator<char>(in), {});
    }
    if (b.size() < 18 || std::memcmp(b.data(), ".RMF", 4) != 0) return false;
    std::size_t prop = 0, mdpr = 0, mdprEnd = 0;
    long packets = -1;
    for (std::size_t p = Get32(b, 4); p + 10 <= b.size();) {
        // The muxer overstates the DATA chunk's size, so the packets are walked instead.
        if (std::memcmp(&b[p], "DATA", 4) == 0) {
            if (p + 18 <= b.size()) packets = StampPackets(b, p);
            break;
        }
        const std::uint32_t size = Get32(b, p + 4);
        if (size < 10 || p + size > b.size()) break;
        if (std::memcmp(&b[p], "PROP", 4) == 0) prop = p;
        if (std::memcmp(&b[p], "MDPR", 4) == 0) mdpr = p, mdprEnd = p + size;
        p += size;
    }
    if (!prop || !mdpr || packets < 0) return false;
    Put32(b, prop + 30, durationMs);
    if (!FixStreamHeader(b, mdpr, mdprEnd, durationMs)) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace kelvane
