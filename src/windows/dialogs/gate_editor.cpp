#include "windows/dialogs/gate_editor.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <utility>

#include "settings/ini_file.h"
#include "settings/load_settings.h"
#include "windows/dialogs/gate_painter.h"
#include "windows/dialogs/number_text.h"
#include "windows/problem_box.h"
#include "windows/twips.h"

namespace vantrel {
namespace {

using ui::BoundaryLine;
using ui::TwipsRect;

constexpr float kStep = 20;
constexpr double kGrabDistance = 3;  // pixels either side of a line that start a drag

struct LineLayout {
    bool vertical;
    float from;  // the fixed extent across the value
    float to;
};

// Lines 1..8 in the order of kFieldDefaults: g12r, g34l, g34r, g56l, g56r, g78l, gtop, gbot.
constexpr LineLayout kLines[8] = {{true, 120, 9800},  {true, 120, 9800}, {true, 100, 9800},
                                  {true, 120, 9800},  {true, 120, 9800}, {true, 100, 9800},
                                  {false, 105, 9905}, {false, 100, 9900}};

struct BoxPlace {
    int left;
    int top;
};
constexpr BoxPlace kBoxes[8] = {{0, 10320},    {1680, 10320}, {3720, 10320}, {5760, 10320},
                                {7680, 10320}, {9360, 10320}, {9960, 720},   {9960, 9480}};

struct StepButton {
    const char* caption;
    int left;
    int top;
    int width;
    int height;
    int line;  // 0-based
    float step;
};

constexpr StepButton kSteps[16] = {
    {">", 330, 9990, 165, 225, 0, kStep},      {"<", 105, 9990, 165, 225, 0, -kStep},
    {"<", 1815, 9990, 165, 225, 1, -kStep},    {">", 2040, 9990, 165, 225, 1, kStep},
    {"<", 3840, 9990, 165, 225, 2, -kStep},    {">", 4065, 9990, 165, 225, 2, kStep},
    {"<", 5835, 9975, 165, 225, 3, -kStep},    {">", 6060, 9975, 165, 225, 3, kStep},
    {"<", 7815, 9990, 165, 225, 4, -kStep},    {">", 8040, 9990, 165, 225, 4, kStep},
    {"<", 9540, 9975, 165, 225, 5, -kStep},    {">", 9765, 9975, 165, 225, 5, kStep},
    {"/\\", 9990, 135, 270, 255, 6, -kStep},   {"\\/", 9990, 420, 270, 240, 6, kStep},
    {"\\/", 10005, 10185, 270, 240, 7, kStep}, {"/\\", 10005, 9900, 270, 255, 7, -kStep}};

float Value(const BoundaryLine& line, bool vertical) { return vertical ? line.x1 : line.y1; }

}  // namespace

GateEditor::GateEditor(const FieldMap& mapInUse, std::filesystem::path settingsFile,
                       QWidget* parent)
    : QWidget(parent, Qt::Window),
      fieldMap_(mapInUse),
      settingsFile_(std::move(settingsFile)),
      pacer_(*this, [this] { PresentStick(); }) {
    setObjectName(QStringLiteral("gateEditor"));
    setWindowTitle(QStringLiteral("Field Editor (By Pimm)"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ui::Px(10665), ui::Px(10665));
    setMouseTracking(true);  // the cursor shows where a line can be grabbed

    std::vector<QWidget*> tabOrder;
    for (int i = 0; i < 16; ++i) {
        const StepButton& s = kSteps[i];
        auto* button = new QPushButton(QString::fromLatin1(s.caption), this);
        button->setObjectName(QStringLiteral("step%1").arg(i + 1));
        button->setGeometry(TwipsRect(s.left, s.top, s.width, s.height));
        connect(button, &QPushButton::clicked, this, [this, s] { Step(s.line, s.step); });
        tabOrder.push_back(button);
    }
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("save"));
    save->setGeometry(TwipsRect(4560, 10320, 1005, 330));
    connect(save, &QPushButton::clicked, this, &GateEditor::Save);
    tabOrder.push_back(save);

    for (int i = 0; i < 8; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("value%1").arg(i + 1));
        box->setGeometry(TwipsRect(kBoxes[i].left, kBoxes[i].top, 615, 285));
        box->setReadOnly(true);  // a display: values change through the lines only
        boxes_[i] = box;
        tabOrder.push_back(box);
    }
    for (size_t i = 0; i + 1 < tabOrder.size(); ++i) setTabOrder(tabOrder[i], tabOrder[i + 1]);

    LoadLines();
}

void GateEditor::LoadLines() {
    const IniReadResult read = ReadIniFile(settingsFile_);
    if (!read.error.empty()) loadError_ = read.error;
    for (int i = 0; i < 8; ++i) {
        const LineLayout& layout = kLines[i];
        BoundaryLine& line = lines_[i];
        if (layout.vertical) {
            line.y1 = layout.from;
            line.y2 = layout.to;
        } else {
            line.x1 = layout.from;
            line.x2 = layout.to;
        }
        // Nothing but this editor writes the section, so a first run finds it empty: show
        // the boundaries the loader uses then, also for a value that is no number.
        const SettingDefault& d = kFieldDefaults[i];
        const auto text = read.document.Get("fields", d.key);
        const auto value = ui::ParseFieldNumber(text.value_or(""));
        SetLineValue(i, value ? *value : *ui::ParseFieldNumber(d.value));
    }
}

const ui::BoundaryLine& GateEditor::Line(int number) const { return lines_.at(number - 1); }

float GateEditor::LineValue(int number) const {
    return Value(lines_.at(number - 1), kLines[number - 1].vertical);
}

ui::GateValues GateEditor::Values() const {
    ui::GateValues values{};
    for (int i = 0; i < 8; ++i) values[i] = Value(lines_[i], kLines[i].vertical);
    return values;
}

void GateEditor::SetLineValue(int line, float value) {
    BoundaryLine& l = lines_[line];
    if (kLines[line].vertical) {
        l.x1 = l.x2 = value;
    } else {
        l.y1 = l.y2 = value;
    }
    boxes_[line]->setText(QString::fromStdString(ui::FieldNumberText(value)));
    boxes_[line]->setCursorPosition(0);  // a long text shows its start, not its end
    // The stick's field may have changed with the line.
    shown_ = Current();
    update();
}

void GateEditor::Step(int line, float step) {
    // No limits and no check against the neighbours: a line may leave the gate or pass another.
    SetLineValue(line, Value(lines_[line], kLines[line].vertical) + step);
}

void GateEditor::Save() {
    std::vector<std::pair<std::string, std::string>> values;
    for (int i = 0; i < 8; ++i) {
        values.emplace_back(kFieldDefaults[i].key, ui::FieldNumberText(LineValue(i + 1)));
    }
    const IniWriteResult result = IniWriteAll(settingsFile_, "fields", values);
    if (!result.ok) {
        ui::ShowProblem(this,
                        QStringLiteral("The boundaries were not saved. The lines are still in "
                                       "this window; save again once the file is writable."),
                        result.error);
        return;
    }
    hide();
    emit saved();
}

std::optional<QPointF> GateEditor::StickPosition() const {
    if (!reading_) return std::nullopt;
    return QPointF(reading_->axis(AxisSlot::X), reading_->axis(AxisSlot::Y));
}

int GateEditor::StickGear() const { return reading_ ? ui::StickGear(Values(), *reading_) : 0; }

GateEditor::Stick GateEditor::Current() const { return {StickPosition(), StickGear()}; }

void GateEditor::ShowStick(const ControllerReport& report) {
    reading_ = report;
    pacer_.Request();
}

void GateEditor::ClearStick() {
    if (!reading_) return;
    reading_.reset();
    pacer_.Request();
}

void GateEditor::PresentStick() {
    const Stick now = Current();
    QRegion changed;
    if (now.position != shown_.position) {
        if (shown_.position) changed += ui::StickArea(*shown_.position);
        if (now.position) changed += ui::StickArea(*now.position);
    }
    if (now.gear != shown_.gear) {
        changed += ui::FieldArea(Values(), fieldMap_, shown_.gear, font());
        changed += ui::FieldArea(Values(), fieldMap_, now.gear, font());
    }
    shown_ = now;
    if (!changed.isEmpty()) update(changed);
}

void GateEditor::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ui::GatePicture picture;
    picture.lines = lines_;
    picture.values = Values();
    picture.map = fieldMap_;
    picture.stick = shown_.position;
    picture.stickGear = shown_.gear;
    ui::PaintGate(painter, palette(), picture);
}

std::optional<int> GateEditor::LineAt(const QPointF& pos) const {
    std::optional<int> nearest;
    double best = kGrabDistance;
    for (int i = 0; i < 8; ++i) {
        const BoundaryLine& l = lines_[i];
        const double scale = 1.0 / ui::kTwipsPerPixel;
        const bool vertical = kLines[i].vertical;
        const double along = vertical ? pos.y() : pos.x();
        const double from = (vertical ? l.y1 : l.x1) * scale;
        const double to = (vertical ? l.y2 : l.x2) * scale;
        if (along < from - kGrabDistance || along > to + kGrabDistance) continue;
        const double distance =
            std::abs((vertical ? pos.x() : pos.y()) - Value(l, vertical) * scale);
        if (distance <= best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

void GateEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    if (const auto line = LineAt(event->position())) {
        drag_ = Drag{*line, LineValue(*line + 1), event->position()};
    }
}

void GateEditor::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_) {
        const auto line = LineAt(event->position());
        if (!line) {
            unsetCursor();
        } else {
            setCursor(kLines[*line].vertical ? Qt::SizeHorCursor : Qt::SizeVerCursor);
        }
        return;
    }
    // Follow the pointer from where the line was grabbed, on the step grid, inside the travel.
    const bool vertical = kLines[drag_->line].vertical;
    const QPointF delta = event->position() - drag_->startPos;
    const double moved = (vertical ? delta.x() : delta.y()) * ui::kTwipsPerPixel;
    const double target = std::round((drag_->startValue + moved) / kStep) * kStep;
    const float value = static_cast<float>(std::clamp(target, 0.0, double{ui::kStickTravel}));
    if (value != LineValue(drag_->line + 1)) SetLineValue(drag_->line, value);
}

void GateEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) drag_.reset();
    QWidget::mouseReleaseEvent(event);
}

void GateEditor::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (loadError_.empty()) return;
    ui::ShowProblem(this,
                    QStringLiteral("The settings file could not be read, so the lines stand at "
                                   "the default boundaries."),
                    "Could not read " + settingsFile_.string() + ": " + loadError_ +
                        ". Close this window, fix the file or its permissions, and open the "
                        "editor again.");
    loadError_.clear();  // once is enough
}

}  // namespace vantrel
