#pragma once

#include <cstddef>
#include <string>

namespace kelvane {

// One redrawn line on standard error with the files done out of the total; silent when off
// (standard error not a terminal, or a quiet run).
class FileProgressBar {
  public:
    explicit FileProgressBar(bool on) : on_(on) {}
    ~FileProgressBar() { Clear(); }
    FileProgressBar(const FileProgressBar&) = delete;
    FileProgressBar& operator=(const FileProgressBar&) = delete;

    void Show(std::size_t done, std::size_t total);
    void Clear();

  private:
    bool on_;
    std::string drawn_;
};

}  // namespace kelvane
