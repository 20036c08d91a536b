#include "windows/main_window/shifter_note.h"

#include "windows/main_window/key_delivery_note.h"

namespace vantrel {

std::string ShifterUnavailableNote(bool runEnds, std::string_view reason, bool udevRuleInstalled) {
    std::string text = runEnds ? "Vantrel cannot make its virtual shifter: "
                               : "Vantrel's virtual shifter is off for this run: ";
    text.append(reason);
    if (!text.ends_with('.')) text += '.';
    if (!runEnds) text += " Your gear keys work as usual.";
    return text +
           "\n\nTo let Vantrel make its virtual shifter, which games see as a real one, run this "
           "once in a terminal and start Vantrel again:\n\n    " +
           UinputFixCommand(udevRuleInstalled);
}

}  // namespace vantrel
