#include "backends/x11/key_watchdog_program.h"

#include <unistd.h>

#include <filesystem>

namespace vantrel {

std::optional<std::string> FindKeyWatchdogProgram(std::string& why) {
    std::error_code error;
    // Symbolic link targets followed: an installed vantrel reached through one still finds its own
    // installation.
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        why = "the running program's own path is unknown (" + error.message() + ")";
        return std::nullopt;
    }
    const std::filesystem::path folder = self.parent_path();
    // VANTREL_LIBEXEC_FROM_BINDIR: the installed libexec folder, relative to the installed
    // program folder (../libexec/vantrel), so an installation works under any prefix.
    const std::filesystem::path candidates[] = {
        folder / kKeyWatchdogProgram,
        (folder / VANTREL_LIBEXEC_FROM_BINDIR / kKeyWatchdogProgram).lexically_normal()};
    for (const std::filesystem::path& candidate : candidates) {
        if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    why = std::string(kKeyWatchdogProgram) + " is neither in " + folder.string() + " nor in " +
          candidates[1].parent_path().string();
    return std::nullopt;
}

}  // namespace vantrel
