#pragma once
// `--autostart on|off`: Vantrel's start at login, as a desktop entry in the user's autostart
// folder that starts it hidden in the tray.

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// $XDG_CONFIG_HOME/autostart/vantrel.desktop (or ~/.config/autostart/vantrel.desktop).
std::filesystem::path AutostartEntryFile();

// One argument as the Exec key of a desktop entry carries it: quoted when it holds a character
// the key reserves, '%' doubled, and the string escapes of the key applied.
std::string ExecArgument(std::string_view argument);

// The program as the entry starts it: "vantrel" when that name on PATH is this very program,
// else this program's absolute path (a build folder, a private prefix not on PATH).
std::string ProgramForAutostart();

struct AutostartOutcome {
    int exitStatus = 0;
    std::string out;  // what was done, for stdout
    std::string err;  // what went wrong and what to do, for stderr
};

// Writes the entry (its Exec: `program --minimized`, plus `--config FILE` when `configFile` is
// not empty), or removes it.
AutostartOutcome SetAutostart(bool on, const std::string& program,
                              const std::filesystem::path& configFile);

}  // namespace vantrel
