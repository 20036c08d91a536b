// The virtual shifter of a run whose settings ask for it.
#include "windows/main_window/key_delivery_note.h"
#include "windows/main_window/main_window.h"
#include "windows/main_window/messages.h"
#include "windows/main_window/shifter_note.h"

namespace vantrel {

std::optional<int> MainWindow::StartShifter(ServiceFactory& services, OutputMode mode) {
    if (mode == OutputMode::Keys || mode == OutputMode::Sequential) return std::nullopt;
    std::string failure;
    shifter_ = services.CreateShifter(failure);
    if (shifter_) return std::nullopt;

    const bool runEnds = mode == OutputMode::Shifter;  // without it there is no output at all
    const std::string note = ShifterUnavailableNote(runEnds, failure, UinputRuleInstalled());
    if (runEnds) {
        ReleaseServices();
        ShowStartUpFailure(note);
        return kExitStartUpFailed;
    }
    // Keys go on; said once, beside the main window, without holding anything up.
    QMetaObject::invokeMethod(
        this, [this, note] { ShowNote(this, note); }, Qt::QueuedConnection);
    return std::nullopt;
}

}  // namespace vantrel
