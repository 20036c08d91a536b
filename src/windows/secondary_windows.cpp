#include "windows/secondary_windows.h"

#include "windows/app_icon.h"

namespace vantrel {
namespace {

void Present(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

SecondaryWindows::SecondaryWindows(MainWindow& main, std::filesystem::path settingsFile,
                                   std::function<void()> endAtOnce)
    : main_(main), settingsFile_(std::move(settingsFile)) {
    main_.openKeyAssignment = [this] { ShowKeyAssignment(); };
    main_.openGateEditor = [this] { ShowGateEditor(); };

    TrayHooks hooks;
    hooks.mainWindow = &main_;
    // The reload of the main window: the same reads, plus letting go of keys no gear uses now.
    hooks.reloadSettings = [this] { main_.ReloadSettings(); };
    hooks.endProgram = std::move(endAtOnce);
    tray_ = std::make_unique<Tray>(std::move(hooks));
    main_.hideToTray = [this] { tray_->Minimize(); };
}

SecondaryWindows::~SecondaryWindows() {
    delete keyAssignment_.data();
    delete gateEditor_.data();
}

void SecondaryWindows::ShowKeyAssignment() {
    // Built from the keys in use each time it was closed; a hidden one keeps what it showed.
    if (!keyAssignment_) {
        keyAssignment_ = new KeyAssignmentDialog(main_.state, settingsFile_);
        keyAssignment_->setWindowIcon(ApplicationIcon());
    }
    Present(keyAssignment_);
}

void SecondaryWindows::ShowGateEditor() {
    if (!gateEditor_) {
        gateEditor_ = new GateEditor(main_.state.fieldMap, settingsFile_);
        gateEditor_->setWindowIcon(ApplicationIcon());
        connect(&main_, &MainWindow::cycleCompleted, gateEditor_, &GateEditor::ShowStick);
        connect(&main_, &MainWindow::noStickReading, gateEditor_, &GateEditor::ClearStick);
        // The labels of the field map just loaded.
        connect(&main_, &MainWindow::settingsReloaded, gateEditor_, qOverload<>(&QWidget::update));
        connect(gateEditor_, &GateEditor::saved, &main_, [this] { main_.update(); });
    }
    Present(gateEditor_);
}

}  // namespace vantrel
