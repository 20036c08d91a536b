#pragma once
// What the user is told when the virtual shifter cannot be made.

#include <string>
#include <string_view>

namespace vantrel {

// `reason` says what failed; the text adds what it means for this run (it ends, or goes on with
// keys alone) and the one command that lets Vantrel make the shifter.
std::string ShifterUnavailableNote(bool runEnds, std::string_view reason, bool udevRuleInstalled);

}  // namespace vantrel
