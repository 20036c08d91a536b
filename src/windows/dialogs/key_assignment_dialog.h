#pragma once
// The key assignment dialog: one editable key box per gear and "save settings", which writes the
// nine keys to section keyconfig of the settings file.

#include <QWidget>
#include <array>
#include <filesystem>

#include "engine/shift_state.h"

class QAction;
class QComboBox;

namespace vantrel {

class KeyAssignmentDialog : public QWidget {
    Q_OBJECT

  public:
    // The boxes start from the keys in use (the main window's loaded keys), not from the file.
    // A top-level window; the owner keeps a QPointer, since closing it without saving destroys it.
    KeyAssignmentDialog(const ShiftState& keysInUse, std::filesystem::path settingsFile,
                        QWidget* parent = nullptr);

  signals:
    // After a successful save, once the dialog is hidden. The keys take effect at the next load.
    void saved();

  private:
    void ShowKeys(const ShiftState& keysInUse);
    void Save();
    void MarkIfUnknown(int row);

    std::filesystem::path settingsFile_;
    std::array<QComboBox*, 9> boxes_{};
    std::array<QAction*, 9> unknownMarks_{};
};

}  // namespace vantrel
