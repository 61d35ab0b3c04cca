#include "wavedata/TempFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "wavedata/DataBlock.h"

namespace kelvane {

namespace {

// Made by us or left from an earlier run: either way it must be ours, a real folder, and
// closed to everyone else before anything is put in it.
bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    return (st.st_mode & 077) == 0 || ::chmod(path.c_str(), 0700) == 0;
}

}  // namespace

std::string TempFolderFor(const std::string& chosen) {
    std::string base = chosen.empty() ? SystemTempDirectory() : chosen;
    if (base.back() != '/') base.push_back('/');
    const std::string own = base + "kelvane-" + std::to_string(::getuid());
    ::mkdir(own.c_str(), 0700);
    return IsPrivateFolder(own) ? own + "/" : base;
}

}  // namespace kelvane
