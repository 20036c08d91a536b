#pragma once

#include <filesystem>

namespace vantrel {

// The user's configuration folder: $XDG_CONFIG_HOME, or ~/.config.
std::filesystem::path UserConfigFolder();

// The one settings file every reader and writer uses: the file given by
// UseSettingsFile(), else $XDG_CONFIG_HOME/vantrel/config.ini (or ~/.config/vantrel/config.ini).
std::filesystem::path SettingsFilePath();

// Makes `file` the settings file of this whole process (`--config FILE`); an empty path goes
// back to the default file.
void UseSettingsFile(const std::filesystem::path& file);

}  // namespace vantrel
