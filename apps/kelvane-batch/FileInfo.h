#pragma once

#include <string>

#include "wavedata/WaveObject.h"

namespace kelvane {

// Files whose extension names no type are read as raw samples with `raw` when it is given.

// What the open dialog's preview shows of a sound file, read without decoding it: the format
// line, the length, the title and the engineer, one "Name: value" line each. False (with the
// error text in `text`) when the file cannot be read.
bool DescribeSoundFile(const std::string& path, const RawParams* raw, std::string& text);

// The same file as one line of JSON for scripts: "file", "type" (wave, mpeg, aiff, au, raw),
// "format" (the tag's name), "tag", "rate", "bits", "channels" as the file stores the sound,
// "frames" and "seconds" as it decodes, and "info" with every INFO text. False when the file
// cannot be read; the object then holds "file" and "error".
bool DescribeSoundFileJson(const std::string& path, const RawParams* raw, std::string& json);

}  // namespace kelvane
