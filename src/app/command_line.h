#pragma once
// Vantrel's command line. It is read before anything needs a display, so that `--help` and
// `--version` work anywhere (help2man runs them while the package is built).

#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>

namespace vantrel {

inline constexpr int kExitUsage = 2;

struct CommandLine {
    bool minimized = false;            // --minimized: start hidden in the tray
    std::filesystem::path configFile;  // --config FILE, made absolute; empty: the default file
    std::optional<bool> autostart;     // --autostart on|off
    std::optional<int> exitNow;        // the command line was answered by printing alone
    std::string out;                   // for stdout (help, version)
    std::string err;                   // for stderr (what is wrong, and the usage)
};

// `arguments` as the program got them, its own name first.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace vantrel
