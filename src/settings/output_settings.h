#pragma once
// The [output] section: where the gear decision goes (keys, the virtual shifter, or both) and which
// controller buttons the shifter passes on as its range and splitter buttons.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrel {

enum class OutputMode { Keys, Shifter, Both };

// "keys", "shifter" or "both", in any letter case, with blanks around; empty means keys.
std::optional<OutputMode> ParseOutputMode(std::string_view text);

// A controller button number 1..32, or 0 (also empty) for none.
std::optional<int16_t> ParseButtonNumber(std::string_view text);

}  // namespace vantrel
