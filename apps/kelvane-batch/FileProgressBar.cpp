#include "FileProgressBar.h"

#include <cstdio>

namespace kelvane {

namespace {
constexpr std::size_t kBarWidth = 32;
}  // namespace

void FileProgressBar::Show(std::size_t done, std::size_t total) {
    if (!on_ || total == 0) return;
    const std::size_t filled = done * kBarWidth / total;
    std::string line = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') +
                       "] " + std::to_string(done) + "/" + std::to_string(total) + " files";
    if (line == drawn_) return;
    std::fprintf(stderr, "\r\033[K%s", line.c_str());
    std::fflush(stderr);
    drawn_ = std::move(line);
}

void FileProgressBar::Clear() {
    if (drawn_.empty()) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_.clear();
}

}  // namespace kelvane
