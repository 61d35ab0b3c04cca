#pragma once

#include <cstdint>
#include <string>

namespace kelvane {

// FFmpeg's RealMedia muxer cannot tell how long a 14.4 frame lasts, so it writes zero for the
// durations, the packet times and the frame length. This rewrites them in a finished file:
// every packet holds one 20-byte frame of 160 samples at 8000 Hz. The stated duration is the
// sound's own, shorter than the packets by the encoder's one frame of lookahead and the padding
// of the last frame. False when the file is not laid out as expected or cannot be rewritten.
bool FixRa144Timing(const std::string& path, std::uint32_t durationMs);

}  // namespace kelvane
