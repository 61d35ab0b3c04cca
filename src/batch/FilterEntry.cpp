#include "batch/FilterEntry.h"

#include <cstdio>

#include "batch/BatchFilters.h"
#include "wavedata/DataBlock.h"

namespace kelvane {

std::unique_ptr<FilterEntry> FilterEntry::Create(int filter) {
    if (filter < 0 || filter >= kBatchFilterCount) return nullptr;
    std::string path;
    if (SystemTempFileName("FIL", path) == 0) return nullptr;
    return std::unique_ptr<FilterEntry>(new FilterEntry(filter, std::move(path)));
}

FilterEntry::~FilterEntry() {
    std::remove(settingsFile_.c_str());
}

}  // namespace kelvane
