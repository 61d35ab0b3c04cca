#include "platform/profile/Profile.h"

// Settings are plain bytes (UTF-8 on this system); no character conversion is wanted.
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace kelvane {

namespace {

using Ini = CSimpleIniA;  // section and key names ignore case

void LoadIni(Ini& ini, const std::string& file) {
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    ini.LoadFile(file.c_str());  // a missing file reads as an empty profile
}

bool MakeDirectories(const std::string& dir) {
    for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos != dir.size() && dir[pos] != '/') continue;
        const std::string part = dir.substr(0, pos);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

bool WriteAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool ReplaceFile(const std::string& file, const std::string& text) {
    const std::size_t slash = file.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(file.substr(0, slash)))
        return false;
    std::string temp = file + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text);
    ok = ok && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), file.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                       const std::string& file) {
    Ini ini;
    LoadIni(ini, file);
    const char* value =
        ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    return value ? std::string(value) : std::string(fallback);
}

int ReadInt(std::string_view section, std::string_view key, int fallback, const std::string& file) {
    Ini ini;
    LoadIni(ini, file);
    const char* value =
        ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    if (value == nullptr) return fallback;
    return static_cast<int>(std::strtol(value, nullptr, 10));
}

void SetValues(Ini& ini, std::string_view section, const ProfileValues& values) {
    const std::string name(section);
    for (const auto& [key, value] : values) ini.SetValue(name.c_str(), key.c_str(), value.c_str());
}

bool WriteValues(std::string_view section, const ProfileValues& values, const std::string& file) {
    Ini ini;
    LoadIni(ini, file);
    SetValues(ini, section, values);
    std::string text;
    return ini.Save(text) >= 0 && ReplaceFile(file, text);
}

bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                 const std::string& file) {
    return WriteValues(section, {{std::string(key), std::string(value)}}, file);
}

}  // namespace

std::string ApplicationProfilePath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg != nullptr && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.config";
    }
    return base + "/Vantrel Software/Kelvane.ini";
}

int GetProfileInt(std::string_view section, std::string_view key, int fallback) {
    return ReadInt(section, key, fallback, ApplicationProfilePath());
}

bool WriteProfileInt(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value), ApplicationProfilePath());
}

std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view fallback) {
    return ReadString(section, key, fallback, ApplicationProfilePath());
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) {
    return WriteString(section, key, value, ApplicationProfilePath());
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int fallback,
                         const std::string& file) {
    return ReadInt(section, key, fallback, file);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view fallback, const std::string& file) {
    return ReadString(section, key, fallback, file);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& file) {
    return WriteString(section, key, value, file);
}

bool WriteProfileValues(std::string_view section, const ProfileValues& values) {
    return WriteValues(section, values, ApplicationProfilePath());
}

bool WritePrivateProfileValues(std::string_view section, const ProfileValues& values,
                               const std::string& file) {
    return WriteValues(section, values, file);
}

bool WriteNewPrivateProfile(std::string_view section, const ProfileValues& values,
                            const std::string& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_size != 0) {
        if (fd >= 0) ::close(fd);
        return WriteValues(section, values, file);
    }
    Ini ini;
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    SetValues(ini, section, values);
    std::string text;
    const bool ok = ini.Save(text) >= 0 && WriteAll(fd, text);
    return (::close(fd) == 0) && ok;
}

}  // namespace kelvane
