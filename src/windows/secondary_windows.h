#pragma once
// The windows the main window's buttons open: the key assignment dialog, the field editor (fed
// with the live stick) and the tray. Each is a single instance, shown without an owner.

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>

#include "windows/dialogs/gate_editor.h"
#include "windows/dialogs/key_assignment_dialog.h"
#include "windows/main_window/main_window.h"
#include "windows/tray/tray.h"

namespace vantrel {

class SecondaryWindows : public QObject {
  public:
    // `endAtOnce` ends the process from the tray's "&Close" with every held key let go. Sets the
    // main window's hooks.
    SecondaryWindows(frmMain& main, std::filesystem::path settingsFile,
                     std::function<void()> endAtOnce);
    ~SecondaryWindows() override;

    form_Config* config() const { return config_.data(); }
    Edit* editor() const { return editor_.data(); }
    Tray& tray() { return *tray_; }

  private:
    void ShowConfig();
    void ShowEditor();

    frmMain& main_;
    std::filesystem::path settingsFile_;
    QPointer<form_Config> config_;
    QPointer<Edit> editor_;
    std::unique_ptr<Tray> tray_;
};

}  // namespace vantrel
