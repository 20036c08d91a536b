// The tray on a real X server with trayer as the XEmbed tray: which clicks open the menu.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStyleHints>
#include <set>

#include "app/trayer.h"
#include "windows/tray/tray.h"
#include "windows/tray/tray_icon.h"

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

TEST(XEmbedTray, DocksAndOpensTheMenuOnRightAndDoubleClicks) {
    testing::Trayer trayer;
    ASSERT_TRUE(trayer.ready) << "trayer did not provide a system tray";

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
    // Lets a double-click interval pass, so that the next click starts afresh.
    const auto pause = [] {
        const int ms = QGuiApplication::styleHints()->mouseDoubleClickInterval() + 150;
        WaitUntil([] { return false; }, ms);
    };
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
    QMenu* menu = tray.menu().popupMenu;

    Xdotool(icon.center(), {"click", "1"});
    ASSERT_TRUE(WaitUntil([&] { return saw(QSystemTrayIcon::Trigger); }));
    pause();
    EXPECT_FALSE(menu->isVisible());

    Xdotool(icon.center(), {"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(WaitUntil([&] { return saw(QSystemTrayIcon::DoubleClick); }));
    EXPECT_TRUE(WaitUntil([&] { return menu->isVisible(); }));
    menu->hide();
    pause();

    Xdotool(icon.center(), {"click", "3"});
    ASSERT_TRUE(WaitUntil([&] { return menu->isVisible(); }));
    // At the pointer, moved left as far as the screen's right edge asks.
    EXPECT_TRUE(menu->geometry().adjusted(-2, -2, 2, 2).contains(icon.center()));

    Xdotool(menu->mapToGlobal(menu->actionGeometry(tray.menu().closeItem).center()),
            {"click", "1"});
    EXPECT_TRUE(WaitUntil([&] { return ends == 1; }));
    EXPECT_EQ(TrayIcon(), nullptr);
}

}  // namespace
}  // namespace vantrel
