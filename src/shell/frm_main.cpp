#include "shell/frm_main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <stdexcept>

#include "services/config_path.h"
#include "services/keys/key_names.h"
#include "settings/load_settings.h"
#include "settings/ui/twips.h"
#include "shell/about_window.h"
#include "shell/app_icon.h"
#include "shell/dropped_keys.h"
#include "shell/messages.h"

namespace vantrel {

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vantrel"));
    setWindowIcon(ApplicationIcon());
    ui_ = BuildMainWindowControls(*this);
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

QListWidget* frmMain::List(ListId list) const {
    switch (list) {
        case ListId::JoyAxis:
            return ui_.lstJoyAxis;
        case ListId::Button:
            return ui_.lstButton;
        default:
            return ui_.lstGear;
    }
}

void frmMain::WriteRow(ListId list, int index, const std::string& text) {
    QListWidget* widget = List(list);
    const QString row = QString::fromStdString(text);
    if (index == widget->count()) {
        widget->addItem(row);
    } else if (index >= 0 && index < widget->count()) {
        // Every cycle rewrites every row; only a changed text costs a repaint.
        QListWidgetItem* item = widget->item(index);
        if (item->text() != row) item->setText(row);
    } else {
        throw std::out_of_range("List row " + std::to_string(index) + " does not exist");
    }
}

void frmMain::SetCaption(const std::string& text) {
    const QString caption = QString::fromStdString(text);
    if (windowTitle() != caption) setWindowTitle(caption);
}

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

void frmMain::CLRLISTS() {
    ui_.lstJoyAxis->clear();
    ui_.lstButton->clear();
    ui_.lstGear->clear();
}

void frmMain::ShowMessage(const std::string& text, const std::string& advice) {
    ShowNotice(isVisible() ? this : nullptr, text, advice);
}

void frmMain::lstJoySticks_Click(int position) {
    if (!controller_) return;
    const std::optional<RememberedController> chosen = controller_->ChooseController(position);
    if (!chosen) return;
    const IniWriteResult kept = WriteRememberedController(SettingsFilePath(), *chosen);
    if (!kept.ok) {
        ShowPassingNotice(this, "Vantrel could not remember this controller for the next start.",
                          kept.error);
    }
}

void frmMain::reload_Click() {
    const MainState before = state;
    const std::vector<std::string> report = LoadSettings(state, SettingsFilePath(), IsKnownKeyName);
    if (autoIt_) LetGoOfDroppedKeys(before, state, *autoIt_);
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
