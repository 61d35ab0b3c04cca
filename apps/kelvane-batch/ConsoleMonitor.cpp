#include "ConsoleMonitor.h"

#include <algorithm>

namespace kelvane {

namespace {

constexpr int kBarWidth = 24;
constexpr std::size_t kNameWidth = 32;

std::string Tail(const std::string& text, std::size_t width) {
    return text.size() <= width ? text : "..." + text.substr(text.size() - (width - 3));
}

}  // namespace

void ConsoleMonitor::SetText(std::string_view text) {
    step_ = text;
    position_ = lower_;
    Draw();
}

int ConsoleMonitor::SetPos(int position) {
    const int previous = position_;
    position_ = position;
    Draw();
    return previous;
}

void ConsoleMonitor::SetRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
}

void ConsoleMonitor::SetFileText(std::string_view text) {
    file_ = text;
}

void ConsoleMonitor::SetOverallPos(int position) {
    overall_ = position;
    Draw();
}

void ConsoleMonitor::AppendLog(std::string_view text) {
    if (!showLog_ || text.empty()) return;
    ClearBar();
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    lineOpen_ = text.back() != '\n';
    Draw();
}

void ConsoleMonitor::Finish() {
    ClearBar();
    showBar_ = false;
    if (lineOpen_) std::fputc('\n', stdout);
    lineOpen_ = false;
    std::fflush(stdout);
}

void ConsoleMonitor::Draw() {
    if (!showBar_ || lineOpen_) return;
    const int span = std::max(1, upper_ - lower_);
    const int percent = std::clamp((position_ - lower_) * 100 / span, 0, 100);
    const int filled = percent * kBarWidth / 100;
    std::string line = "\r[" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "] " +
                       std::to_string(percent) + "% " + Tail(step_, 24) + "  overall " +
                       std::to_string(std::clamp(overall_, 0, 100)) + "%  " +
                       Tail(file_, kNameWidth);
    if (line == drawn_) return;
    std::fputs("\r\033[K", stderr);
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    drawn_ = std::move(line);
    barShown_ = true;
}

void ConsoleMonitor::ClearBar() {
    if (!barShown_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    barShown_ = false;
    drawn_.clear();
}

}  // namespace kelvane
