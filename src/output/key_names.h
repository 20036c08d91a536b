#pragma once
// The key names Vantrel understands, one table for the settings, every backend and the key
// assignment dialog. Names match without regard to letter case.

#include <cstdint>
#include <span>
#include <string_view>

#include "ports/key_output.h"

namespace vantrel {

struct KeyName {
    std::string_view name;  // canonical spelling, upper case for named keys
    uint16_t evdevCode;     // Linux input event code (KEY_*)
    uint32_t keysym;        // X11 keysym
};

// The table entry of a name, or nullptr when the name is unknown or empty. Allocates nothing.
const KeyName* FindKeyName(std::string_view name);
inline bool IsKnownKeyName(std::string_view name) { return FindKeyName(name) != nullptr; }
// `name` as a gear's key: kept as written, resolved through the table.
inline AssignedKey AssignKey(std::string_view name) {
    return {std::string(name), FindKeyName(name)};
}

// Every entry, grouped as a person would list them (letters, digits, punctuation, named keys).
// Aliases (ESC and ESCAPE, DEL and DELETE, ...) are separate entries with the same codes.
std::span<const KeyName> AllKeyNames();

}  // namespace vantrel
