#include "support/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "wavedata/DataBlock.h"

#ifndef KELVANE_TEST_DATA
#define KELVANE_TEST_DATA "tests/data"
#endif

namespace kelvane::test {

ScopedTempDir::ScopedTempDir() {
    std::string pattern = SystemTempDirectory() + "kelvane-test-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

namespace {

constexpr char kFiller[] = "/.filler";

}  // namespace

ScopedSmallDisk::ScopedSmallDisk(std::uint64_t bytes, const std::string& folder) {
    if (folder.empty()) own_.emplace();
    path_ = folder.empty() ? own_->path() : folder;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    mounted_ = !path_.empty() &&
               ::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

ScopedSmallDisk::~ScopedSmallDisk() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
}

void ScopedSmallDisk::Free() {
    ::unlink((path_ + kFiller).c_str());
}

bool FillDisk(const std::string& folder, std::uint64_t spare) {
    if (FreeDiskBytes(folder) < spare) return false;
    const int fd = ::open((folder + kFiller).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    struct stat st {};
    auto size = static_cast<std::uint64_t>(::fstat(fd, &st) == 0 ? st.st_size : 0);
    // Halving steps, so that a disk whose free count moves in blocks still ends within a page.
    for (std::uint64_t step = 1 << 24; step >= 4096; step /= 2)
        while (FreeDiskBytes(folder) >= spare + step &&
               ::posix_fallocate(fd, static_cast<off_t>(size), static_cast<off_t>(step)) == 0)
            size += step;
    ::close(fd);
    return FreeDiskBytes(folder) <= spare + 4096;
}

ScopedProfile::ScopedProfile() {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    hadPrevious_ = old != nullptr;
    if (old) previous_ = old;
    ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
}

ScopedProfile::~ScopedProfile() {
    if (hadPrevious_)
        ::setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

std::unique_ptr<WaveObject> RandomWave(const WaveFormat& format, std::uint32_t frames,
                                       std::uint32_t seed) {
    auto wave = std::make_unique<WaveObject>(1, nullptr);
    if (!wave->Allocate(format, frames)) return nullptr;
    std::mt19937 rng(seed);
    for (std::uint32_t i = 0; i < wave->dataBytes; ++i)
        wave->data[i] = static_cast<std::uint8_t>(rng());
    return wave;
}

std::unique_ptr<WaveObject> SweepWave(std::uint32_t rate, std::uint16_t channels,
                                      std::uint32_t frames, double f0, double f1, double peak) {
    auto wave = std::make_unique<WaveObject>(1, nullptr);
    if (!wave->Allocate(PcmFormat(rate, 16, channels), frames)) return nullptr;
    const double seconds = static_cast<double>(frames) / rate;
    const double k = (f1 - f0) / seconds;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double phase = 2.0 * M_PI * (f0 * t + 0.5 * k * t * t);
        const auto s = static_cast<std::int32_t>(std::lround(peak * std::sin(phase)));
        const auto r = static_cast<std::int32_t>(std::lround(peak * std::cos(phase)));
        wave->SetFrame(i, PackFrame(s, channels == 2 ? r : s));
    }
    return wave;
}

std::unique_ptr<WaveObject> FileBackedCopy(const WaveObject& wave, std::uint32_t dataOffset,
                                           const std::string& dir) {
    std::string path;
    if (!wave.format || TempFileName(dir, "WAV", path) == 0) return nullptr;
    std::vector<std::uint8_t> bytes(dataOffset, 0xA5);
    bytes.insert(bytes.end(), wave.data, wave.data + wave.dataBytes);
    if (!WriteFileBytes(path, bytes)) return nullptr;
    auto copy = std::make_unique<WaveObject>(1, dir.c_str());
    copy->SetFormat(*wave.format);
    copy->storage = std::make_unique<MappedFileBlock>(0, path.c_str(), true, nullptr, false, true);
    if (copy->storage->pointer == nullptr) return nullptr;
    copy->data = copy->storage->pointer + dataOffset;
    copy->dataBytes = wave.dataBytes;
    copy->mode = WaveMode::Resident;
    copy->CopyInfo(&wave);
    return copy;
}

std::size_t MappingCount(const std::string& path) {
    std::ifstream in("/proc/self/maps");
    std::size_t count = 0;
    for (std::string line; std::getline(in, line);)
        count += line.find(path) != std::string::npos ? 1 : 0;
    return count;
}

std::size_t OpenFileCount() {
    std::error_code ec;
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd", ec),
                      std::filesystem::directory_iterator()));
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool RequireTool(const std::string& tool) {
    if (RunCommand("command -v " + tool + " >/dev/null 2>&1") == 0) return true;
    ADD_FAILURE() << "required program '" << tool << "' is not installed (./test.sh installs it)";
    return false;
}

bool RequireSoundServer() {
    if (!RequireTool("pactl")) return false;
    if (RunCommand("pactl info >/dev/null 2>&1") == 0) return true;
    ADD_FAILURE() << "no sound server is reachable (PULSE_SERVER="
                  << (std::getenv("PULSE_SERVER") ? std::getenv("PULSE_SERVER") : "unset")
                  << "); run the tests through ./test.sh, which starts one";
    return false;
}

int ForkAndWait(const std::function<bool()>& work, bool& succeeded) {
    int ready[2];
    succeeded = false;
    if (::pipe(ready) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        const char done = work() ? '1' : '0';
        (void)!::write(ready[1], &done, 1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char done = 0;
    succeeded = child > 0 && ::read(ready[0], &done, 1) == 1 && done == '1';
    ::close(ready[0]);
    return child;
}

int RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        if (output) output->append(buffer, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string DataFile(const std::string& name) {
    return std::string(KELVANE_TEST_DATA) + "/" + name;
}

}  // namespace kelvane::test
