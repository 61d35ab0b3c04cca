#include <dlfcn.h>

#include "FuzzLoad.h"
#include "formats/FileError.h"
#include "formats/streams/MpegStream.h"

// The decoder module is unloaded when its last stream goes; unloading instrumented code
// leaves libFuzzer reading coverage counters that are no longer mapped, so the module is
// pinned in memory for the whole run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::dlopen(kelvane::MpegStream::LibraryPath(), RTLD_NOW | RTLD_NODELETE);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kelvane::fuzz::LoadEveryWay(data, size, kelvane::kFileMpeg);
    return 0;
}
