// The tray on a real X server with an XEmbed tray (trayer): the icon docks with its tip, the menu
// opens on a right click and on a double-click but not on a single left click, and "&Close"
// chosen with the mouse ends the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QToolTip>
#include <set>

#include "shell/tray/module1.h"
#include "shell/tray/tray.h"
#include "support/qt_wait.h"

namespace vantrel {
namespace {

using testing::WaitUntil;

// Runs xdotool with the pointer moved to `at` first, while this process keeps answering events.
void Xdotool(const QPoint& at, const QStringList& then = {}) {
    QProcess xdotool;
    xdotool.start(
        "xdotool",
        QStringList{"mousemove", QString::number(at.x()), QString::number(at.y())} + then);
    EXPECT_TRUE(WaitUntil([&] { return xdotool.state() == QProcess::NotRunning; }));
}

// Lets `ms` pass while events are answered.
void Pause(int ms) {
    WaitUntil([] { return false; }, ms);
}

TEST(XEmbedTray, DocksWithItsTipAndOpensTheMenuOnRightAndDoubleClicks) {
    const QTemporaryDir runtime;  // the instance lock of this run only
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QProcess trayer;
    trayer.start("trayer",
                 {"--edge", "top", "--align", "right", "--widthtype", "request", "--height", "32"});
    ASSERT_TRUE(WaitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 15000))
        << "trayer did not provide a system tray";

    QWidget mainWindow;
    mainWindow.show();
    TrayHooks hooks;
    hooks.mainWindow = &mainWindow;
    int ends = 0;
    hooks.endProgram = [&] { ++ends; };
    Tray tray(hooks);
    tray.Minimize();
    ASSERT_NE(TrayIcon(), nullptr);
    std::set<int> reasons;
    QObject::connect(TrayIcon(), &QSystemTrayIcon::activated, [&](int r) { reasons.insert(r); });
    const auto saw = [&](int r) { return reasons.count(r) > 0; };
    const int doubleClick = QGuiApplication::styleHints()->mouseDoubleClickInterval() + 150;
    // Docked, once the panel has stopped laying its icons out again.
    QRect icon;
    QElapsedTimer still;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (TrayIcon()->geometry() != icon) {
                icon = TrayIcon()->geometry();
                still.start();
            }
            return !icon.isEmpty() && still.elapsed() > 500;
        },
        10000))
        << "the icon did not dock";
    QMenu* menu = tray.form2().popmenu;

    Xdotool(icon.center());
    EXPECT_TRUE(WaitUntil([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), "vantrel");

    Xdotool(icon.center(), {"click", "1"});
    ASSERT_TRUE(WaitUntil([&] { return saw(QSystemTrayIcon::Trigger); }));
    Pause(doubleClick);  // so that the next click starts afresh
    EXPECT_FALSE(menu->isVisible());

    Xdotool(icon.center(), {"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(WaitUntil([&] { return saw(QSystemTrayIcon::DoubleClick); }));
    EXPECT_TRUE(WaitUntil([&] { return menu->isVisible(); }));
    menu->hide();
    Pause(doubleClick);

    Xdotool(icon.center(), {"click", "3"});
    ASSERT_TRUE(WaitUntil([&] { return menu->isVisible(); }));
    // At the pointer, moved left as far as the screen's right edge asks.
    EXPECT_TRUE(menu->geometry().adjusted(-2, -2, 2, 2).contains(icon.center()));
    Pause(300);
    const QString shot = VANTREL_BINARY_DIR "/tests/tray/tray-menu-xembed.png";
    EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(shot));

    Xdotool(menu->mapToGlobal(menu->actionGeometry(tray.form2().Close).center()), {"click", "1"});
    EXPECT_TRUE(WaitUntil([&] { return ends == 1; }));
    EXPECT_EQ(TrayIcon(), nullptr);
    trayer.kill();
    trayer.waitForFinished();
}

}  // namespace
}  // namespace vantrel
