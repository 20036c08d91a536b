// The outputs that follow the engaged gear's changes: sequential taps and the rumble.
#include "engine/gate_feel.h"
#include "engine/sequential_taps.h"
#include "windows/event_loop_alarm.h"
#include "windows/main_window/main_window.h"

namespace vantrel {

void MainWindow::StartGearFollowers(OutputMode mode) {
    if (mode == OutputMode::Sequential) {
        tapAlarm_ = std::make_unique<EventLoopAlarm>();
        taps_ = std::make_unique<SequentialTaps>(*keyOutput_, *tapAlarm_);
        taps_->Reset(state.taps);
        taps_->onFailure = [this](const std::string& message) { OnTapFailed(message); };
    }
    // Always there: a reload may turn the rumble on.
    feelAlarm_ = std::make_unique<EventLoopAlarm>();
    feel_ = std::make_unique<GateFeel>(controller_->slot(), *feelAlarm_);
    feel_->SetStrength(state.rumbleStrength);
    controller_->SetGearFollowers(taps_.get(), feel_.get());
}

void MainWindow::OnTapFailed(const std::string& message) {
    if (!controller_ || !controller_->polling) return;
    controller_->polling = false;
    controller_->LetGoOfOutputs();
    ShowCycleError(message);
    endProgram(kExitCycleFailed);
}

}  // namespace vantrel
