#pragma once
// What the user is told when gear keys can only reach X11 programs.

#include <string>
#include <string_view>

namespace vantrel {

// Empty unless keys go out through XTest although the user did not ask for it; then a note in
// plain words with the one command that gives Vantrel the virtual keyboard.
std::string KeyDeliveryNote(std::string_view backendName, bool chosenByUser,
                            bool udevRuleInstalled);

// Whether Vantrel's udev rule for /dev/uinput is installed on this system.
bool UinputRuleInstalled();

// The one command that lets this user write /dev/uinput.
std::string UinputFixCommand(bool udevRuleInstalled);

}  // namespace vantrel
