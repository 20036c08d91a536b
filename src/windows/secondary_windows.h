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
    SecondaryWindows(MainWindow& main, std::filesystem::path settingsFile,
                     std::function<void()> endAtOnce);
    ~SecondaryWindows() override;

    KeyAssignmentDialog* keyAssignment() const { return keyAssignment_.data(); }
    GateEditor* gateEditor() const { return gateEditor_.data(); }
    Tray& tray() { return *tray_; }

  private:
    void ShowKeyAssignment();
    void ShowGateEditor();

    MainWindow& main_;
    std::filesystem::path settingsFile_;
    QPointer<KeyAssignmentDialog> keyAssignment_;
    QPointer<GateEditor> gateEditor_;
    std::unique_ptr<Tray> tray_;
};

}  // namespace vantrel
