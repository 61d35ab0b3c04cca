#pragma once

#include <string>

namespace kelvane {

// What the open dialog's preview shows of a sound file, read without decoding it: the format
// line, the length, the title and the engineer, one "Name: value" line each. False (with the
// error text in `text`) when the file cannot be read.
bool DescribeSoundFile(const std::string& path, std::string& text);

}  // namespace kelvane
