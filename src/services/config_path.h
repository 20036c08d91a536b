#pragma once

#include <filesystem>

namespace vantrel {

// The one settings file every reader and writer uses:
// $XDG_CONFIG_HOME/vantrel/config.ini, or ~/.config/vantrel/config.ini.
std::filesystem::path SettingsFilePath();

}  // namespace vantrel
