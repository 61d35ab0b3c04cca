#include "platform/modules/ProgramModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace kelvane {

void* OpenProgramModule(const char* fileName, const char* builtPath) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path installed =
            program.parent_path() / KELVANE_MODULES_FROM_BIN / fileName;
        if (void* module = ::dlopen(installed.c_str(), RTLD_NOW | RTLD_LOCAL)) return module;
    }
    return ::dlopen(builtPath, RTLD_NOW | RTLD_LOCAL);
}

}  // namespace kelvane
