#pragma once
// The settings of the gearbox beyond the gate's lines: which gear each field engages ([gate]
// map), the up/down taps of sequential output ([sequential]) and the rumble ([feel]).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/field_map.h"
#include "engine/shift_state.h"
#include "settings/ini_file.h"

namespace vantrel {

// Eight entries separated by commas, for fields 1..8: 1..8, R or - (no gear), in any letter case
// with blanks around; nothing else.
std::optional<FieldMap> ParseFieldMap(std::string_view text);
// The way the settings file and the field editor write one entry: "1".."8", "R" or "-".
std::string FieldMapEntryText(int gear);
std::string FieldMapText(const FieldMap& map);

// Reads [gate] map, [sequential] and [feel] of `doc` into `s`. A value that cannot be used keeps
// its default and is reported as a line for the user, starting with `fileName`.
void LoadGearboxSettings(ShiftState& s, const IniDocument& doc, const std::string& fileName,
                         std::vector<std::string>& report);

}  // namespace vantrel
