#include "FuzzLoad.h"
#include "formats/FileError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kelvane::fuzz::LoadEveryWay(data, size, kelvane::kFileSndfile);
    return 0;
}
