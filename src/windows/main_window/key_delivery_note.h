#pragma once
// What the user is told when gear keys can only reach X11 programs.

#include <filesystem>
#include <string>
#include <string_view>

class QMessageBox;
class QWidget;

namespace vantrel {

// Empty unless keys go out through XTest although the user did not ask for it; then a note in
// plain words with the one command that gives Vantrel the virtual keyboard.
std::string KeyDeliveryNote(std::string_view backendName, bool chosenByUser,
                            bool udevRuleInstalled);

// Whether Vantrel's udev rule for /dev/uinput is installed on this system.
bool UinputRuleInstalled();

// The one command that lets this user write /dev/uinput.
std::string UinputFixCommand(bool udevRuleInstalled);

// A Wayland session (XDG_SESSION_TYPE=wayland, or WAYLAND_DISPLAY set): the only place where the
// note matters, since there native games get no XTest keys. On X11 XTest reaches every program.
bool WaylandSession();

// Shows `note` beside `parent` in a box that blocks nothing, with a "Do not show this again"
// choice kept in `settingsFile` (section notes). Nothing when `note` is empty or the user chose
// so earlier. Returns the box, deleted when closed, or null.
QMessageBox* ShowKeyDeliveryNote(QWidget* parent, const std::string& note,
                                 const std::filesystem::path& settingsFile);

}  // namespace vantrel
