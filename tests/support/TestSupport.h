#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wavedata/WaveObject.h"

namespace kelvane::test {

// A fresh directory under the system's temporary directory, removed with everything in it.
class ScopedTempDir {
  public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Grows a filler file in `folder` until `spare` bytes, to a page, are left free on its disk;
// false when there were not that many or the file cannot be made. Later calls grow the same
// file.
bool FillDisk(const std::string& folder, std::uint64_t spare);

// A small memory file system mounted for the life of the object, to run out of disk on
// purpose: on `folder` (which must exist) or on a fresh folder of its own. Mounting needs
// root; without it `Mounted()` is false and the test skips.
class ScopedSmallDisk {
  public:
    explicit ScopedSmallDisk(std::uint64_t bytes, const std::string& folder = {});
    ~ScopedSmallDisk();
    ScopedSmallDisk(const ScopedSmallDisk&) = delete;
    ScopedSmallDisk& operator=(const ScopedSmallDisk&) = delete;
    [[nodiscard]] bool Mounted() const { return mounted_; }
    // The folder, with a trailing slash, as the temporary folder setting holds it.
    [[nodiscard]] std::string Folder() const { return path_ + "/"; }
    [[nodiscard]] std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Takes space with a filler file until about `bytes` are left; Free() gives it back.
    bool LeaveFree(std::uint64_t bytes) {
        Free();
        return mounted_ && FillDisk(path_, bytes);
    }
    void Free();

  private:
    std::optional<ScopedTempDir> own_;
    std::string path_;
    bool mounted_ = false;
};

// Points $XDG_CONFIG_HOME at a private folder for the life of the object, so tests never
// read or change the user's settings.
class ScopedProfile {
  public:
    ScopedProfile();
    ~ScopedProfile();
    ScopedProfile(const ScopedProfile&) = delete;
    ScopedProfile& operator=(const ScopedProfile&) = delete;

  private:
    ScopedTempDir dir_;
    std::string previous_;
    bool hadPrevious_;
};

// A resident wave of `frames` frames with bytes from a fixed-seed generator.
std::unique_ptr<WaveObject> RandomWave(const WaveFormat& format, std::uint32_t frames,
                                       std::uint32_t seed);
// A resident 16-bit wave holding a sine sweep from f0 to f1 Hz at the given peak.
std::unique_ptr<WaveObject> SweepWave(std::uint32_t rate, std::uint16_t channels,
                                      std::uint32_t frames, double f0, double f1, double peak);

// The wave's format, bytes and INFO texts in a temporary file of `dir` (unlinked while open),
// the frames starting `dataOffset` bytes into it as they do after a file's header: how the
// editor holds an opened file, and what edits may share pages with.
std::unique_ptr<WaveObject> FileBackedCopy(const WaveObject& wave, std::uint32_t dataOffset,
                                           const std::string& dir);
// Mappings of files whose path holds `path` (/proc/self/maps), and open files (/proc/self/fd):
// what a freed sound must give back.
[[nodiscard]] std::size_t MappingCount(const std::string& path);
[[nodiscard]] std::size_t OpenFileCount();

[[nodiscard]] std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Fails the current test (GTest ADD_FAILURE) when `tool` is not on PATH. Returns whether it is.
// Outside CI a missing tool still fails: a test never passes silently without its peer.
bool RequireTool(const std::string& tool);
// Fails the current test when the private sound server that ./test.sh starts is not reachable
// (a device test never passes silently without one). Returns whether it is.
bool RequireSoundServer();
// Runs a shell command; returns its exit status and fills `output` with its standard output.
int RunCommand(const std::string& command, std::string* output = nullptr);
// Forks a child that runs `work` and then waits to be killed; returns its pid once `work`
// returned (and whether it succeeded), or -1 when no child could be made.
int ForkAndWait(const std::function<bool()>& work, bool& succeeded);

// Path of a file in tests/data.
[[nodiscard]] std::string DataFile(const std::string& name);

}  // namespace kelvane::test
