#include "Desktop.h"

#include "support/TestSupport.h"

namespace kelvane::test {
namespace {

std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

int RunOnDesktop(const std::string& command, const std::vector<std::string>& args, int seconds,
                 std::string* output, const std::vector<std::string>& environment) {
    std::string line = "env";
    for (const std::string& variable : environment) line += ' ' + Quoted(variable);
    line += " timeout " + std::to_string(seconds) + ' ' + Quoted(KELVANE_DESKTOP_SCRIPT) + ' ' +
            Quoted(command);
    for (const std::string& arg : args) line += ' ' + Quoted(arg);
    return RunCommand(line + " 2>&1", output);
}

}  // namespace kelvane::test
