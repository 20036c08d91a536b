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

SecondaryWindows::SecondaryWindows(frmMain& main, std::filesystem::path settingsFile,
                                   std::function<void()> endAtOnce)
    : main_(main), settingsFile_(std::move(settingsFile)) {
    main_.showConfig = [this] { ShowConfig(); };
    main_.showEditor = [this] { ShowEditor(); };

    TrayHooks hooks;
    hooks.mainWindow = &main_;
    // The reload of the main window: the same reads, plus letting go of keys no gear uses now.
    hooks.reloadSettings = [this] { main_.reload_Click(); };
    hooks.endProgram = std::move(endAtOnce);
    tray_ = std::make_unique<Tray>(std::move(hooks));
    main_.minimizeToTray = [this] { tray_->Minimize(); };
}

SecondaryWindows::~SecondaryWindows() {
    delete config_.data();
    delete editor_.data();
}

void SecondaryWindows::ShowConfig() {
    // Built from the keys in use each time it was closed; a hidden one keeps what it showed.
    if (!config_) {
        config_ = new form_Config(main_.state, settingsFile_);
        config_->setWindowIcon(ApplicationIcon());
    }
    Present(config_);
}

void SecondaryWindows::ShowEditor() {
    if (!editor_) {
        editor_ = new Edit(settingsFile_);
        editor_->setWindowIcon(ApplicationIcon());
        connect(&main_, &frmMain::cycleCompleted, editor_, &Edit::ShowStick);
        connect(&main_, &frmMain::noStickReading, editor_, &Edit::ClearStick);
        connect(editor_, &Edit::saved, &main_, [this] { main_.update(); });
    }
    Present(editor_);
}

}  // namespace vantrel
