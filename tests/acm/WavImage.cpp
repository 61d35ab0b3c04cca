#include "acm/WavImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "formats/streams/BlockStream.h"
#include "formats/streams/ConvertStream.h"
#include "formats/streams/RiffReader.h"
#include "support/TestSupport.h"

namespace kelvane::test {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* id, const std::uint8_t* body,
              std::uint32_t size) {
    out.insert(out.end(), id, id + 4);
    Put32(out, size);
    out.insert(out.end(), body, body + size);
    if (size & 1) out.push_back(0);
}

}  // namespace

std::vector<std::uint8_t> BuildWav(const WaveFormat& format, const std::vector<std::uint8_t>& data,
                                   std::uint32_t frames) {
    std::vector<std::uint8_t> body = {'W', 'A', 'V', 'E'};
    PutChunk(body, "fmt ", reinterpret_cast<const std::uint8_t*>(&format), FormatSize(format));
    if (format.formatTag != kTagPcm) {
        std::uint8_t fact[4];
        std::memcpy(fact, &frames, 4);
        PutChunk(body, "fact", fact, 4);
    }
    PutChunk(body, "data", data.data(), static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
    Put32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

bool ParseWav(const std::vector<std::uint8_t>& file, WavContents& out) {
    auto bytes = file;
    BorrowedBlock block(bytes.data(), static_cast<std::uint32_t>(bytes.size()), false, true);
    BlockStream stream(block);
    RiffReader riff(stream);
    if (!riff.Descend("WAVE", RiffReader::DescendForm) ||
        !riff.Descend("fmt ", RiffReader::DescendChunk))
        return false;
    std::vector<std::uint8_t> fmt(std::max<std::uint32_t>(riff.ChunkSize(), 18));
    riff.Read(fmt.data(), riff.ChunkSize());
    WaveFormat header;
    std::memcpy(&header, fmt.data(), 18);
    if (header.formatTag == kTagPcm || riff.ChunkSize() < 18) header.extraSize = 0;
    out.format = NewFormat(header);
    std::memcpy(ExtraBytes(*out.format), fmt.data() + 18,
                std::min<std::size_t>(header.extraSize, fmt.size() - 18));
    riff.Ascend();
    if (!riff.Descend("data", RiffReader::DescendChunk)) return false;
    out.data.resize(riff.ChunkSize());
    out.data.resize(riff.Read(out.data.data(), riff.ChunkSize()));
    return true;
}

std::vector<std::uint8_t> ConvertAll(const WaveFormat& format,
                                     const std::vector<std::uint8_t>& data,
                                     const WaveFormat& target, std::uint32_t piece) {
    auto bytes = data;
    auto block = std::make_unique<BorrowedBlock>(
        bytes.data(), static_cast<std::uint32_t>(bytes.size()), false, true);
    ConvertStream stream(format, target, std::make_unique<BlockStream>(std::move(block)));
    std::vector<std::uint8_t> out;
    if (!stream.IsOk()) return out;
    std::vector<std::uint8_t> buffer(piece);
    while (std::uint32_t n = stream.Read(buffer.data(), piece))
        out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    return out;
}

std::vector<std::int16_t> AsSamples(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::vector<std::uint8_t> AsBytes(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

double Snr(const std::vector<std::int16_t>& reference, const std::vector<std::int16_t>& test) {
    const std::size_t n = std::min(reference.size(), test.size());
    double signal = 0, noise = 0;
    for (std::size_t i = 0; i < n; ++i) {
        signal += static_cast<double>(reference[i]) * reference[i];
        const double d = static_cast<double>(reference[i]) - test[i];
        noise += d * d;
    }
    if (n == 0) return -std::numeric_limits<double>::infinity();
    return noise == 0 ? std::numeric_limits<double>::infinity() : 10 * std::log10(signal / noise);
}

int MaxDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    int worst = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

std::vector<std::int16_t> Sweep(std::uint32_t rate, std::uint16_t channels, std::uint32_t frames,
                                double f0, double f1) {
    auto wave = SweepWave(rate, channels, frames, f0, f1, 16384.0);
    return AsSamples(std::vector<std::uint8_t>(wave->data, wave->data + wave->dataBytes));
}

}  // namespace kelvane::test
