// The main window put together: its controls, how they are wired, and closing it.
#include "windows/main_window/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>

#include "windows/app_icon.h"
#include "windows/main_window/paced_display.h"
#include "windows/twips.h"

namespace vantrel {

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Vantrel"));
    setWindowIcon(ApplicationIcon());
    ui_ = BuildMainWindowControls(*this);
    display_ = std::make_unique<PacedDisplay>(
        *this, std::array<QListWidget*, 3>{ui_.axisList, ui_.buttonList, ui_.gearList});
    // The keys have gone out by the end of a cycle; what it wrote follows on the screen's pace.
    connect(this, &MainWindow::cycleCompleted, this, [this] { display_->CycleEnded(); });
    connect(this, &MainWindow::noStickReading, this, [this] { display_->CycleEnded(); });
    // First shown at its designed place: the client area's top-left corner.
    setGeometry(QRect(ui::TwipsRect(1935, 1710, 0, 0).topLeft(), size()));
    endProgram = [](int status) { QCoreApplication::exit(status); };

    connect(ui_.reloadButton, &QPushButton::clicked, this, &MainWindow::ReloadSettings);
    connect(ui_.aboutButton, &QPushButton::clicked, this, &MainWindow::ShowAbout);
    connect(ui_.keysButton, &QPushButton::clicked, this, &MainWindow::ShowKeyAssignment);
    connect(ui_.editorButton, &QPushButton::clicked, this, &MainWindow::ShowGateEditor);
    connect(ui_.minimizeButton, &QPushButton::clicked, this, &MainWindow::MinimizeToTray);

    // A click picks the line it lands on (the line already chosen too: it reopens the
    // controller), and so does Enter on the highlighted line. Merely moving the highlight picks
    // nothing: Vantrel's own gear keys reach this list whenever its window has the focus, and an
    // arrow key assigned to a gear must not switch controllers.
    QListWidget* list = ui_.controllerList;
    list->installEventFilter(this);
    connect(list, &QListWidget::itemClicked, this,
            [this, list](QListWidgetItem* item) { OnControllerLineChosen(list->row(item)); });
}

MainWindow::~MainWindow() {
    delete aboutWindow_.data();
    ReleaseServices();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.controllerList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            ui_.controllerList->currentRow() >= 0) {
            OnControllerLineChosen(ui_.controllerList->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Shutdown();
}

}  // namespace vantrel
