#include "platform/profile/TempStorageSettings.h"

#include "platform/profile/Profile.h"

namespace kelvane {

namespace {
constexpr const char* kSection = "MISCELLANEOUS";
}

void TempStorageSettings::Load() {
    tempPathType = GetProfileInt(kSection, "TEMPPATHTYPE", 0);
    userDirectory = GetProfileString(kSection, "USERDIRECTORY", "");
}

void TempStorageSettings::Save() const {
    WriteProfileInt(kSection, "TEMPPATHTYPE", tempPathType);
    WriteProfileString(kSection, "USERDIRECTORY", userDirectory);
}

std::string TempStorageSettings::Apply() const {
    return tempPathType == 1 ? userDirectory : "";
}

}  // namespace kelvane
