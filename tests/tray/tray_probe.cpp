// A minimal Vantrel for the tray tests: a main window, its tray and the instance lock, reporting
// on standard output what the tests need to see.
//   tray_probe --hold       takes the instance lock and waits
//   tray_probe --minimize   also presses "Minimize" once the event loop runs
// A line "minimize" on standard input presses "Minimize" at any time.
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "shell/tray/instance_lock.h"
#include "shell/tray/module1.h"
#include "shell/tray/tray.h"

namespace {

void Say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const vantrel::InstanceLockState lock = vantrel::ClaimInstanceLock();
    Say(lock == vantrel::InstanceLockState::Held          ? "lock held"
        : lock == vantrel::InstanceLockState::HeldByOther ? "lock other"
                                                          : "lock unavailable");

    QWidget mainWindow;
    mainWindow.setWindowTitle("probe");
    mainWindow.resize(200, 100);
    mainWindow.show();

    vantrel::TrayHooks hooks;
    hooks.mainWindow = &mainWindow;
    hooks.reloadSettings = [] { Say("reloadSettings"); };
    hooks.endProgram = [] {
        Say("endProgram");
        std::_Exit(0);
    };
    vantrel::Tray tray(hooks);

    const auto minimize = [&] {
        tray.Minimize();
        Say(QString("minimized main-visible=%1").arg(mainWindow.isVisible() ? 1 : 0));
    };
    if (app.arguments().contains("--minimize")) QTimer::singleShot(0, minimize);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[64];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
        } else if (QByteArray(buffer, static_cast<int>(n)).startsWith("minimize")) {
            minimize();
        }
    });

    bool iconTold = false;
    bool menuTold = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QSystemTrayIcon* icon = vantrel::TrayIcon();
        if (!iconTold && icon != nullptr && !icon->geometry().isEmpty()) {
            const QRect g = icon->geometry();
            Say(QString("icon %1 %2 %3 %4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()));
            iconTold = true;
        }
        QMenu* menu = tray.form2().popmenu;
        if (menu->isVisible() != menuTold) {
            menuTold = menu->isVisible();
            const QPoint close =
                menu->mapToGlobal(menu->actionGeometry(tray.form2().Close).center());
            Say(menuTold ? QString("menu close-item %1 %2").arg(close.x()).arg(close.y())
                         : QString("menu closed"));
        }
    });
    watch.start(20);
    return app.exec();
}
