// What the main window does for the user: a controller line chosen, and its buttons.
#include "engine/gate_feel.h"
#include "engine/sequential_taps.h"
#include "output/key_names.h"
#include "settings/config_path.h"
#include "settings/load_settings.h"
#include "windows/about_window.h"
#include "windows/main_window/dropped_keys.h"
#include "windows/main_window/main_window.h"
#include "windows/main_window/messages.h"
#include "windows/main_window/paced_display.h"

namespace vantrel {

void MainWindow::OnControllerLineChosen(int position) {
    if (!controller_) return;
    const std::optional<RememberedController> chosen = controller_->ChooseController(position);
    display_->PresentNow();  // the user's choice shows at once
    if (!chosen) return;
    const IniWriteResult kept = WriteRememberedController(SettingsFilePath(), *chosen);
    if (!kept.ok) {
        ShowPassingNotice(this, "Vantrel could not remember this controller for the next start.",
                          kept.error);
    }
}

void MainWindow::ReloadSettings() {
    const ShiftState before = state;
    const std::vector<std::string> report = LoadSettings(state, SettingsFilePath());
    if (keyOutput_) LetGoOfDroppedKeys(before, state, *keyOutput_);
    // The game's gear is counted from neutral again, with the new keys and timing.
    if (taps_) taps_->Reset(state.taps);
    if (feel_) feel_->SetStrength(state.rumbleStrength);
    emit settingsReloaded();
    Report(report);
}

void MainWindow::Report(const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    // One report at a time: a newer one replaces the one still open.
    if (settingsReport_) settingsReport_->close();
    settingsReport_ = ShowSettingsReport(this, lines);
}

void MainWindow::ShowAbout() {
    if (!aboutWindow_) aboutWindow_ = new AboutWindow();
    aboutWindow_->show();
    aboutWindow_->raise();
    aboutWindow_->activateWindow();
}

void MainWindow::ShowKeyAssignment() {
    if (openKeyAssignment) openKeyAssignment();
}

void MainWindow::ShowGateEditor() {
    if (openGateEditor) openGateEditor();
}

void MainWindow::MinimizeToTray() {
    if (hideToTray) hideToTray();
}

}  // namespace vantrel
