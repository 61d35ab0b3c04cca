#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Lists of input files for runs spread over many processes or machines: reading a list, and
// taking one process's share of it. Each parser returns an empty string on success, else what
// is wrong, in words.

// Share `index` of `count`, index from 0 to count - 1.
struct BatchShard {
    std::size_t index = 0;
    std::size_t count = 1;
};

// Reads an environment variable; null when it is not set.
using EnvironmentFn = std::function<const char*(const char* name)>;

// "K/N", or "slurm": the task of a Slurm job array, from SLURM_ARRAY_TASK_ID and
// SLURM_ARRAY_TASK_COUNT (with SLURM_ARRAY_TASK_MIN and SLURM_ARRAY_TASK_STEP, so an array
// 1-4 or 0-6:2 works too).
[[nodiscard]] std::string ParseShard(std::string_view text, const EnvironmentFn& environment,
                                     BatchShard& shard);

// The inputs of one share: the distinct names in byte order, every count-th from the
// index-th. The shares of a list, whatever order it was written in, are disjoint, hold every
// name exactly once between them and differ in size by at most one.
[[nodiscard]] std::vector<std::string> ShareOf(std::vector<std::string> files, BatchShard shard);

// The lines of a list of names written one a line, empty lines included (they name nothing),
// so that an index is a line number less one. A NUL byte is refused: it comes from a list made
// for another reader (find -print0).
[[nodiscard]] std::string SplitLines(std::string_view text, std::vector<std::string>& lines);

// A name that holds a newline reaches a list as two lines, neither of them a file. Given the
// lines and the names a run is about to take from them, returns the message for the first
// such name (two neighbouring lines, one of them taken, that do not exist apart but do joined
// by a newline), or an empty string. Only taken names are looked at, so a share costs no
// look-ups beyond its own files.
[[nodiscard]] std::string FindSplitName(const std::vector<std::string>& lines,
                                        const std::vector<std::string>& taken);

}  // namespace kelvane
