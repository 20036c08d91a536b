#include "settings/config_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace vantrel {
namespace {

// Set once, by the command line, before anything reads the settings.
std::filesystem::path& SettingsFileOverride() {
    static std::filesystem::path file;
    return file;
}

}  // namespace

std::filesystem::path UserConfigFolder() {
    // A relative XDG_CONFIG_HOME is invalid by the base-directory rules and is ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return std::filesystem::path(home) / ".config";
}

std::filesystem::path SettingsFilePath() {
    if (!SettingsFileOverride().empty()) return SettingsFileOverride();
    return UserConfigFolder() / "vantrel" / "config.ini";
}

void UseSettingsFile(const std::filesystem::path& file) { SettingsFileOverride() = file; }

}  // namespace vantrel
