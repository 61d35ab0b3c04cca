#pragma once

namespace kelvane {

// Opens one of the program's own modules (dlopen, symbols local): from the library folder an
// installed program keeps them in, relative to the running program, else from `builtPath`,
// where the build put it. Null when neither loads.
[[nodiscard]] void* OpenProgramModule(const char* fileName, const char* builtPath);

}  // namespace kelvane
