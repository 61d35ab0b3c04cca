#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace kelvane::test {

// What ffprobe says a file's duration is, in seconds; negative when it does not read it.
inline double ProbeDuration(const std::string& path) {
    std::string out;
    const int status = RunCommand(
        "ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 '" + path + "'",
        &out);
    if (status != 0 || out.empty()) return -1.0;
    return std::stod(out);
}

inline std::string ProbeCodec(const std::string& path) {
    std::string out;
    RunCommand(
        "ffprobe -v error -select_streams a:0 -show_entries stream=codec_name "
        "-of default=nw=1:nk=1 '" +
            path + "'",
        &out);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

// Decodes any file with ffmpeg to mono 16-bit samples at `rate`.
inline std::vector<std::int16_t> DecodeMono(const std::string& path, std::uint32_t rate) {
    const std::string raw = path + ".s16";
    const int status = RunCommand("ffmpeg -v error -y -i '" + path + "' -f s16le -ac 1 -ar " +
                                  std::to_string(rate) + " '" + raw + "'");
    std::vector<std::int16_t> samples;
    if (status != 0) return samples;
    const auto bytes = ReadFileBytes(raw);
    samples.resize(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// The best correlation of `decoded` delayed by 0 to maxLag samples against `source`, over the
// source's middle (codecs ramp in and out at the ends).
inline double BestCorrelation(const std::vector<std::int16_t>& source,
                              const std::vector<std::int16_t>& decoded, std::size_t maxLag) {
    const std::size_t begin = source.size() / 8;
    const std::size_t end = source.size() - source.size() / 8;
    double best = -1.0;
    for (std::size_t lag = 0; lag <= maxLag; ++lag) {
        if (end + lag > decoded.size()) break;
        double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const double x = source[i];
            const double y = decoded[i + lag];
            sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
        }
        const double n = static_cast<double>(end - begin);
        const double den = std::sqrt((sxx - sx * sx / n) * (syy - sy * sy / n));
        if (den > 0) best = std::max(best, (sxy - sx * sy / n) / den);
    }
    return best;
}

}  // namespace kelvane::test
