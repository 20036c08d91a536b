#pragma once
// The [output] section: where the gear decision goes (keys, the virtual shifter, both, or up/down
// taps) and which controller buttons the shifter passes on as its range and splitter buttons.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrel {

// Sequential: the gear keys and the shifter rest; the engaged gear becomes up/down key taps.
enum class OutputMode { Keys, Shifter, Both, Sequential };

// "keys", "shifter", "both" or "sequential", in any letter case, with blanks around; empty means
// keys.
std::optional<OutputMode> ParseOutputMode(std::string_view text);

// A controller button number 1..32, or 0 (also empty) for none.
std::optional<int16_t> ParseButtonNumber(std::string_view text);

}  // namespace vantrel
