#pragma once
// Loads the gear keys, the gate boundaries and the output settings from the settings file into
// the engine's state.

#include <filesystem>
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

// The seventeen reads in order: section keyconfig key1..key8, keyr, then section fields g12r..gbot.
// A missing file, section or key gives its default. A boundary that is no whole number in
// -32768..32767 keeps its default; a key name Vantrel does not know is kept as written and sends
// nothing. Both
// are returned as report lines for the user, as is a file that exists but cannot be read.
// Then section output: `mode` into `*mode` when it is given (at start only: the mode decides
// which devices the run makes), `range` and `splitter` into `s`; a value that cannot be used is
// reported and gives its default (keys, 0). Last the field map, the sequential taps and the
// rumble (settings/gearbox_settings.h).
std::vector<std::string> LoadSettings(ShiftState& s, const std::filesystem::path& file,
                                      OutputMode* mode = nullptr);

// The boundary of a key of section fields (g12r .. gbot).
int16_t& BoundaryVariable(GateBoundaries& gate, std::string_view key);

}  // namespace vantrel
