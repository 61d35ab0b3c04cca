#pragma once

#include <memory>
#include <string>

namespace kelvane {

// One step of a batch chain: a filter number (0 to 9) and the private settings file its
// settings live in, section "BATCH". The file is made empty when the entry is made and
// removed with the entry.
class FilterEntry {
  public:
    // Null when `filter` is not a filter number or no temporary file can be made.
    [[nodiscard]] static std::unique_ptr<FilterEntry> Create(int filter);
    ~FilterEntry();
    FilterEntry(const FilterEntry&) = delete;
    FilterEntry& operator=(const FilterEntry&) = delete;

    [[nodiscard]] int Filter() const { return filter_; }
    [[nodiscard]] const std::string& SettingsFile() const { return settingsFile_; }

  private:
    FilterEntry(int filter, std::string settingsFile)
        : filter_(filter), settingsFile_(std::move(settingsFile)) {}

    int filter_;
    std::string settingsFile_;
};

inline constexpr char kBatchSection[] = "BATCH";

}  // namespace kelvane
