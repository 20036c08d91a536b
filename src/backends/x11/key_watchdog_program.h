#pragma once
// Where the key watchdog's program is: beside the running program (as in the build tree), else in
// the libexec folder of the installation the running program belongs to.

#include <optional>
#include <string>

namespace vantrel {

inline constexpr char kKeyWatchdogProgram[] = "vantrel-key-watchdog";

// The path of an executable vantrel-key-watchdog; nullopt and `why` when there is none.
std::optional<std::string> FindKeyWatchdogProgram(std::string& why);

}  // namespace vantrel
