#include "batch/BatchInputs.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <unordered_set>

namespace kelvane {

namespace {

bool ParseCount(std::string_view text, std::size_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc{} && ptr == end;
}

std::string SlurmShard(const EnvironmentFn& environment, BatchShard& shard) {
    const char* id = environment("SLURM_ARRAY_TASK_ID");
    const char* count = environment("SLURM_ARRAY_TASK_COUNT");
    if (!id || !count)
        return "--shard slurm: SLURM_ARRAY_TASK_ID and SLURM_ARRAY_TASK_COUNT are not set; run "
               "it as a task of a job array (sbatch --array=0-3), or give --shard K/N";
    const char* min = environment("SLURM_ARRAY_TASK_MIN");
    const char* step = environment("SLURM_ARRAY_TASK_STEP");
    std::size_t task = 0;
    std::size_t tasks = 0;
    std::size_t first = 0;
    std::size_t stride = 1;
    if (!ParseCount(id, task) || !ParseCount(count, tasks) || (min && !ParseCount(min, first)) ||
        (step && !ParseCount(step, stride)) || tasks == 0 || stride == 0 || task < first)
        return "--shard slurm: the SLURM_ARRAY_TASK_* variables are not task numbers";
    // A list of ids such as --array=1,5,9 has no step that leads from each to the next.
    const std::size_t index = (task - first) / stride;
    if ((task - first) % stride != 0 || index >= tasks)
        return "--shard slurm: the job array's ids are not evenly spaced (use --array=0-N or "
               "a range with a step, or give --shard K/N)";
    shard = {index, tasks};
    return {};
}

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

std::string ParseShard(std::string_view text, const EnvironmentFn& environment, BatchShard& shard) {
    if (text == "slurm") return SlurmShard(environment, shard);
    const std::size_t slash = text.find('/');
    std::size_t index = 0;
    std::size_t count = 0;
    if (slash == std::string_view::npos || !ParseCount(text.substr(0, slash), index) ||
        !ParseCount(text.substr(slash + 1), count) || count == 0 || index >= count)
        return "--shard takes K/N with K from 0 to N-1 (e.g. 0/4), or slurm";
    shard = {index, count};
    return {};
}

std::vector<std::string> ShareOf(std::vector<std::string> files, BatchShard shard) {
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    std::vector<std::string> share;
    for (std::size_t i = shard.index; i < files.size(); i += shard.count)
        share.push_back(std::move(files[i]));
    return share;
}

std::string SplitLines(std::string_view text, std::vector<std::string>& lines) {
    lines.clear();
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        return "line " + std::to_string(std::count(text.begin(), text.begin() + nul, '\n') + 1) +
               " holds a NUL byte: the list takes one name a line (find -print, not -print0)";
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(from, end - from));
        from = end + 1;
    }
    return {};
}

std::string FindSplitName(const std::vector<std::string>& lines,
                          const std::vector<std::string>& taken) {
    if (lines.size() < 2) return {};
    std::unordered_set<std::string_view> missing;
    for (const std::string& name : taken)
        if (!Exists(name)) missing.insert(name);
    for (std::size_t i = 0; !missing.empty() && i + 1 < lines.size(); ++i) {
        if (!missing.contains(lines[i]) && !missing.contains(lines[i + 1])) continue;
        if (Exists(lines[i]) || Exists(lines[i + 1]) || !Exists(lines[i] + '\n' + lines[i + 1]))
            continue;
        return "lines " + std::to_string(i + 1) + " and " + std::to_string(i + 2) +
               " are one file name that holds a newline (\"" + lines[i] + "\\n" + lines[i + 1] +
               "\"); a list takes one name a line, so rename that file";
    }
    return {};
}

}  // namespace kelvane
