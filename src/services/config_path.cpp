#include "services/config_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace vantrel {

std::filesystem::path SettingsFilePath() {
    std::filesystem::path base;
    // A relative XDG_CONFIG_HOME is invalid by the base-directory rules and is ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        base = std::filesystem::path(home) / ".config";
    }
    return base / "vantrel" / "config.ini";
}

}  // namespace vantrel
