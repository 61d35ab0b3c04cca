#pragma once

#include <string>
#include <vector>

namespace kelvane::test {

// Runs `command` with `args` on a private desktop of its own (an X server, the window manager
// and a session bus, all stopped after it), cut off after `seconds`. `environment` is put
// before it as NAME=value words. Returns the exit status; `output` gets what it printed.
int RunOnDesktop(const std::string& command, const std::vector<std::string>& args, int seconds,
                 std::string* output, const std::vector<std::string>& environment = {});

}  // namespace kelvane::test
