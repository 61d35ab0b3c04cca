#pragma once

namespace kelvane {

// Connects the document's transport commands and the wave objects' StopDevice to the sound
// devices. Called once at start-up.
void InstallDeviceHooks();

}  // namespace kelvane
