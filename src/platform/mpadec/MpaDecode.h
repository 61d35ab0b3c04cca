#pragma once

// The seven entry points of the MPEG audio decoder module, which streams load at run time
// and look up by name. Positions and sizes are bytes of signed 16-bit PCM.
#include <cstdint>

#define KELVANE_MPADEC_EXPORT extern "C" __attribute__((visibility("default")))

// Null when the bytes are not MPEG audio the decoder can read. The bytes must stay valid
// until the handle is closed; they are not copied.
KELVANE_MPADEC_EXPORT void* MPADecodeOpen(const void* data, std::uint32_t bytes);
KELVANE_MPADEC_EXPORT std::uint32_t MPADecodeRead(void* handle, void* destination,
                                                  std::uint32_t bytes);
// origin 0 start, 1 current, 2 end; returns the new position.
KELVANE_MPADEC_EXPORT std::uint32_t MPADecodeSeek(void* handle, std::int32_t offset,
                                                  std::uint32_t origin);
KELVANE_MPADEC_EXPORT std::uint32_t MPADecodeEof(void* handle);
KELVANE_MPADEC_EXPORT void MPADecodeClose(void* handle);
KELVANE_MPADEC_EXPORT std::uint32_t MPADecodeGetUncompressedSize(void* handle);
// Fills the 40-byte record whose first word the caller set to 40.
KELVANE_MPADEC_EXPORT void MPADecodeGetInfo(void* handle, void* info);

namespace kelvane {

using MpaOpenFn = void* (*)(const void*, std::uint32_t);
using MpaReadFn = std::uint32_t (*)(void*, void*, std::uint32_t);
using MpaSeekFn = std::uint32_t (*)(void*, std::int32_t, std::uint32_t);
using MpaEofFn = std::uint32_t (*)(void*);
using MpaCloseFn = void (*)(void*);
using MpaSizeFn = std::uint32_t (*)(void*);
using MpaInfoFn = void (*)(void*, void*);

}  // namespace kelvane
