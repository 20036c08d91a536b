#pragma once
// The field editor: the eight gate boundaries as lines over the stick's travel, moved by step
// buttons or by dragging, shown in value boxes and saved to section fields of the settings file.
// It also shows the live stick and the field it falls in by the lines being edited, and labels
// each field with the gear the run's field map gives it.

#include <QWidget>
#include <array>
#include <filesystem>
#include <optional>

#include "engine/field_map.h"
#include "ports/controller.h"
#include "windows/dialogs/gate_fields.h"
#include "windows/frame_pacer.h"

class QLineEdit;

namespace vantrel {

class GateEditor : public QWidget {
    Q_OBJECT

  public:
    // Reads section fields of the file at once. `mapInUse` is the map the run shifts with, read
    // at every paint and outliving the editor: the labels follow each reload. A top-level
    // window; the owner keeps a QPointer, since closing it without saving destroys it.
    GateEditor(const FieldMap& mapInUse, std::filesystem::path settingsFile,
               QWidget* parent = nullptr);

    // Line 1..8 (g12r, g34l, g34r, g56l, g56r, g78l, gtop, gbot), end points in twips.
    const ui::BoundaryLine& Line(int number) const;
    // Its boundary value: x of a vertical line, y of a horizontal one.
    float LineValue(int number) const;

    // The field the stick's last reading selects by the current lines: 0 none, 1..8, 9 field 1
    // with reverse held.
    int StickGear() const;
    // The last reading's position in axis units; none before the first or after ClearStick.
    std::optional<QPointF> StickPosition() const;

  public slots:
    // Called by the main window after each poll cycle. Only keeps the reading: the picture
    // follows at most once per display frame, and not at all while the editor is hidden.
    void ShowStick(const vantrel::ControllerReport& report);
    // No reading to show (no device, or the device was lost).
    void ClearStick();

  signals:
    // After a successful save, once the editor is hidden: the main window repaints.
    void saved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void LoadLines();
    void Save();
    void Step(int line, float step);
    void SetLineValue(int line, float value);
    // Brings the dot and the lit field up to the last reading, repainting only where they change.
    void PresentStick();
    std::optional<int> LineAt(const QPointF& pos) const;
    ui::GateValues Values() const;

    const FieldMap& fieldMap_;
    std::filesystem::path settingsFile_;
    std::string loadError_;
    std::array<ui::BoundaryLine, 8> lines_{};
    std::array<QLineEdit*, 8> boxes_{};

    std::optional<ControllerReport> reading_;  // the last one, kept whether shown or not
    struct Stick {
        std::optional<QPointF> position;
        int gear = 0;
    };
    Stick Current() const;
    Stick shown_;  // what the picture shows
    ui::FramePacer pacer_;

    struct Drag {
        int line;
        float startValue;
        QPointF startPos;
    };
    std::optional<Drag> drag_;
};

}  // namespace vantrel
