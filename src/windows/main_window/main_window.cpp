#include "windows/main_window/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <stdexcept>

#include "output/key_names.h"
#include "settings/config_path.h"
#include "settings/load_settings.h"
#include "windows/about_window.h"
#include "windows/app_icon.h"
#include "windows/main_window/dropped_keys.h"
#include "windows/main_window/messages.h"
#include "windows/main_window/paced_display.h"
#include "windows/twips.h"

namespace vantrel {

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vantrel"));
    setWindowIcon(ApplicationIcon());
    ui_ = BuildMainWindowControls(*this);
    display_ = std::make_unique<PacedDisplay>(
        *this, std::array<QListWidget*, 3>{ui_.lstJoyAxis, ui_.lstButton, ui_.lstGear});
    // The keys have gone out by the end of a cycle; what it wrote follows on the screen's pace.
    connect(this, &frmMain::cycleCompleted, this, [this] { display_->CycleEnded(); });
    connect(this, &frmMain::noStickReading, this, [this] { display_->CycleEnded(); });
    // First shown at its designed place: the client area's top-left corner.
    setGeometry(QRect(ui::TwipsRect(1935, 1710, 0, 0).topLeft(), size()));
    endProgram = [](int status) { QCoreApplication::exit(status); };

    connect(ui_.reload, &QPushButton::clicked, this, &frmMain::reload_Click);
    connect(ui_.about, &QPushButton::clicked, this, &frmMain::about_Click);
    connect(ui_.Config, &QPushButton::clicked, this, &frmMain::Config_Click);
    connect(ui_.editor, &QPushButton::clicked, this, &frmMain::editor_Click);
    connect(ui_.min_btn, &QPushButton::clicked, this, &frmMain::min_btn_Click);

    // A click picks the line it lands on (the line already chosen too: it reopens the
    // controller), and so does Enter on the highlighted line. Merely moving the highlight picks
    // nothing: Vantrel's own gear keys reach this list whenever its window has the focus, and an
    // arrow key assigned to a gear must not switch controllers.
    QListWidget* list = ui_.lstJoySticks;
    list->installEventFilter(this);
    connect(list, &QListWidget::itemClicked, this,
            [this, list](QListWidgetItem* item) { lstJoySticks_Click(list->row(item)); });
}

frmMain::~frmMain() {
    delete about_.data();
    ReleaseServices();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.lstJoySticks && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            ui_.lstJoySticks->currentRow() >= 0) {
            lstJoySticks_Click(ui_.lstJoySticks->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::WriteRow(LiveList list, int index, const std::string& text) {
    display_->WriteRow(list, index, text);
}

void frmMain::SetCaption(const std::string& text) { display_->SetCaption(text); }

void frmMain::ShowCycleError(const std::string& message) { ShowCycleErrorBox(this, message); }

void frmMain::AddController(const std::string& instanceName) {
    ui_.lstJoySticks->addItem(QString::fromStdString(instanceName));
}

void frmMain::RemoveController(int position) {
    QListWidget* list = ui_.lstJoySticks;
    const bool chosen = list->currentRow() == position;
    delete list->takeItem(position);
    // No neighbour may look chosen in its place.
    if (chosen) {
        list->setCurrentItem(nullptr);
        list->clearSelection();
    }
}

void frmMain::SetCurrentController(int position) { ui_.lstJoySticks->setCurrentRow(position); }

void frmMain::ClearLiveLists() { display_->Clear(); }

void frmMain::ShowMessage(const std::string& text, const std::string& advice) {
    ShowNotice(isVisible() ? this : nullptr, text, advice);
}

void frmMain::lstJoySticks_Click(int position) {
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

void frmMain::reload_Click() {
    const ShiftState before = state;
    const std::vector<std::string> report = LoadSettings(state, SettingsFilePath());
    if (keyOutput_) LetGoOfDroppedKeys(before, state, *keyOutput_);
    Report(report);
}

void frmMain::Report(const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    // One report at a time: a newer one replaces the one still open.
    if (report_) report_->close();
    report_ = ShowSettingsReport(this, lines);
}

void frmMain::about_Click() {
    if (!about_) about_ = new Form_About();
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void frmMain::Config_Click() {
    if (showConfig) showConfig();
}

void frmMain::editor_Click() {
    if (showEditor) showEditor();
}

void frmMain::min_btn_Click() {
    if (minimizeToTray) minimizeToTray();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

}  // namespace vantrel
