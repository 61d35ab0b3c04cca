#include "resources/Strings.h"
#include "resources/TranslationMark.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace kelvane {

namespace {

struct StringEntry {
    std::uint32_t id;
    std::string_view text;
};

constexpr StringEntry kStrings[] = {
#include "resources/strings/Batch.inc"
#include "resources/strings/Common.inc"
#include "resources/strings/Devices.inc"
#include "resources/strings/Document.inc"
#include "resources/strings/Files.inc"
#include "resources/strings/Processing.inc"
#include "resources/strings/Shell.inc"
};

const std::vector<StringEntry>& SortedStrings() {
    static const std::vector<StringEntry> sorted = [] {
        std::vector<StringEntry> v(std::begin(kStrings), std::end(kStrings));
        std::sort(v.begin(), v.end(), [](auto& a, auto& b) { return a.id < b.id; });
        return v;
    }();
    return sorted;
}

std::string_view EnglishString(std::uint32_t id) {
    const auto& table = SortedStrings();
    const auto it =
        std::lower_bound(table.begin(), table.end(), id,
                         [](const StringEntry& e, std::uint32_t key) { return e.id < key; });
    return it != table.end() && it->id == id ? it->text : std::string_view{};
}

// Translated texts live as long as the program, so the views LoadString hands out stay valid.
struct Translations {
    std::mutex mutex;
    StringTranslator translate = nullptr;
    std::unordered_map<std::uint32_t, std::string> texts;
};

Translations& TheTranslations() {
    static Translations translations;
    return translations;
}

}  // namespace

void SetStringTranslator(StringTranslator translate) {
    Translations& t = TheTranslations();
    const std::lock_guard lock(t.mutex);
    t.translate = translate;
}

std::string_view LoadString(std::uint32_t id) {
    const std::string_view english = EnglishString(id);
    Translations& t = TheTranslations();
    const std::lock_guard lock(t.mutex);
    if (!t.translate || english.empty()) return english;
    auto it = t.texts.find(id);
    if (it == t.texts.end()) it = t.texts.emplace(id, t.translate(english.data())).first;
    return it->second;
}

std::string FormatString(std::uint32_t id, ...) {
    const std::string pattern(LoadString(id));
    va_list args;
    va_start(args, id);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, pattern.c_str(), copy);
    va_end(copy);
    std::string out(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(out.data(), out.size() + 1, pattern.c_str(), args);
    va_end(args);
    return out;
}

}  // namespace kelvane
