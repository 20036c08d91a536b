#pragma once
// Loads the gear keys and the gate boundaries from the settings file into the main window's
// variables.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/shift_state.h"
#include "settings/output_settings.h"

namespace vantrel {

struct SettingDefault {
    const char* key;
    const char* value;
};

inline constexpr SettingDefault kKeyDefaults[9] = {{"key1", "q"}, {"key2", "a"}, {"key3", "w"},
                                                   {"key4", "s"}, {"key5", "e"}, {"key6", "d"},
                                                   {"key7", "r"}, {"key8", "f"}, {"keyr", "z"}};

// The default of gbot is the editor's lower line, 9800: with 100 the bottom row would cover the
// whole stick travel and every top-row gear would read as its bottom-row neighbour.
inline constexpr SettingDefault kFieldDefaults[8] = {
    {"g12r", "100"},  {"g34l", "2000"}, {"g34r", "4000"}, {"g56l", "6000"},
    {"g56r", "8000"}, {"g78l", "9900"}, {"gtop", "100"},  {"gbot", "9800"}};

using KeyNameCheck = std::function<bool(std::string_view name)>;

// The seventeen reads in order: section keyconfig key1..key8, keyr, then section fields g12r..gbot.
// A missing file, section or key gives its default. A boundary that is no whole number in
// -32768..32767 keeps its default; a key name `isKnownKeyName` rejects is kept as written. Both
// are returned as report lines for the user, as is a file that exists but cannot be read.
// Then section output: `mode` into `*mode` when it is given (at start only: the mode decides
// which devices the run makes), `range` and `splitter` into `s`; a value that cannot be used is
// reported and gives its default (keys, 0).
std::vector<std::string> LoadSettings(MainState& s, const std::filesystem::path& file,
                                      const KeyNameCheck& isKnownKeyName = {},
                                      OutputMode* mode = nullptr);

// The variable of a boundary key (g12r .. gbot).
int16_t& BoundaryVariable(MainState& s, std::string_view key);

}  // namespace vantrel
