#pragma once

#include <cstdint>
#include <string>

#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The raw branch of Load: the whole file is samples in `raw->dataFormat` (a SampleCode).
[[nodiscard]] FileError ReadRawFile(WaveObject& wave, const std::string& fileName,
                                    std::uint32_t flags, const RawParams* raw,
                                    ProgressFn progressFn, void* context);
// The raw branch of Save: the samples recoded to `code`, no header.
[[nodiscard]] FileError WriteRawFile(WaveObject& wave, const std::string& fileName,
                                     std::uint32_t code, ProgressFn progressFn, void* context);

// The raw-format lists of the dialogs and of the batch options show, in this order, "8 Bits
// unsigned", "8 Bits signed", then the four 16-bit encodings. Entry n (1 to 6) stands for the
// code below, so each entry reads and writes what its label says: entries 1 and 2 are
// SampleCode 2 (unsigned) and 1 (signed); entries 3 to 6 are codes 3 to 6. 0 for other n.
[[nodiscard]] std::uint32_t RawCodeOfListEntry(std::uint32_t entry);
[[nodiscard]] std::uint32_t RawListEntryOfCode(std::uint32_t code);

}  // namespace kelvane
