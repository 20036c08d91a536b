// The tray offscreen: the menu and its actions, a desktop without a tray or with a late one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "support/qt_wait.h"
#include "windows/tray/tray.h"
#include "windows/tray/tray_icon.h"

namespace vantrel {
namespace {

struct TrayTest : ::testing::Test {
    TrayTest() {
        mainWindow.resize(300, 200);
        mainWindow.show();
        hooks.mainWindow = &mainWindow;
        hooks.reloadSettings = [this] { ++reloads; };
        hooks.endProgram = [this] { ++ends; };
        hooks.trayAvailable = [this] { return trayAvailable; };
    }

    QWidget mainWindow;
    TrayHooks hooks;
    int reloads = 0, ends = 0;
    bool trayAvailable = true;
};

TEST_F(TrayTest, OneIconForEveryMinimizeAndTheMenuItemsInOrder) {
    Tray tray(hooks);
    // A second click during the slide starts nothing: the window stays up until the slide ends.
    int visibleDuringSlide = -1;
    QTimer::singleShot(0, [&] {
        tray.Minimize();
        visibleDuringSlide = mainWindow.isVisible() ? 1 : 0;
    });
    tray.Minimize();
    EXPECT_EQ(visibleDuringSlide, 1);
    EXPECT_FALSE(mainWindow.isVisible());
    QSystemTrayIcon* icon = TrayIcon();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), "vantrel");
    EXPECT_FALSE(icon->icon().isNull());

    // Triggered in menu order; the state after each. The main window stays up from the first on;
    // Start and Stop are greyed; Close also removes the icon.
    const QStringList captions = {"&Normal View", "&Start", "&Stop", "&Reload", "&Close"};
    const QList<QAction*> actions = tray.menu().popupMenu->actions();
    ASSERT_EQ(actions.size(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actions[i]->text(), captions[i]);
        EXPECT_EQ(actions[i]->isEnabled(), i != 1 && i != 2);
        actions[i]->trigger();
        EXPECT_TRUE(mainWindow.isVisible());
        EXPECT_EQ(std::tuple(reloads, ends), std::tuple(i >= 3 ? 1 : 0, i == 4 ? 1 : 0));
        EXPECT_EQ(TrayIcon() == nullptr, i == 4);
        if (i == 0) {  // hidden again: the same icon
            tray.Minimize();
            EXPECT_FALSE(mainWindow.isVisible());
            EXPECT_EQ(TrayIcon(), icon);
            tray.menu().normalViewItem->trigger();
        }
    }
}

TEST_F(TrayTest, WithoutATrayMinimizeWaitsForOneTellsOnceAndALateTrayTakesTheWindow) {
    hooks.trayWaitLimit = std::chrono::milliseconds(600);
    trayAvailable = false;
    Tray tray(hooks);
    QElapsedTimer clock;
    clock.start();
    tray.Minimize();
    EXPECT_TRUE(mainWindow.isVisible() && mainWindow.isMinimized());
    EXPECT_EQ(tray.noTrayMessage(), nullptr) << "told while a tray may still come";
    testing::WaitUntil([&] { return tray.noTrayMessage() != nullptr; }, 2000);
    QMessageBox* told = tray.noTrayMessage();
    ASSERT_NE(told, nullptr);
    EXPECT_GE(clock.elapsed(), 600);
    EXPECT_TRUE(told->text().contains("no system tray"));

    // Told once in the run.
    mainWindow.showNormal();
    tray.Minimize();
    testing::WaitUntil([&] { return tray.noTrayMessage() != told; }, 1200);
    EXPECT_EQ(tray.noTrayMessage(), told);

    // A tray that turns up during the wait takes the minimized window; "Normal View" brings it
    // back normal.
    mainWindow.showNormal();
    tray.Minimize();
    trayAvailable = true;
    testing::WaitUntil([&] { return !mainWindow.isVisible(); }, 1200);
    EXPECT_FALSE(mainWindow.isVisible());
    tray.menu().normalViewItem->trigger();
    EXPECT_TRUE(mainWindow.isVisible() && !mainWindow.isMinimized());
}

// Whether a window was ever shown.
struct ShowWatch : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        shown = shown || event->type() == QEvent::Show;
        return false;
    }
    bool shown = false;
};

TEST_F(TrayTest, StartHiddenWaitsUnseenForALateTrayAndGivesUpOnce) {
    hooks.trayWaitLimit = std::chrono::milliseconds(1200);  // looked at every half second meanwhile
    const struct {
        const char* what;
        int trayComesMs, trayGoesMs;  // -1: never
        bool secondStart;             // shows the window at 100 ms
        bool minimized, told;
    } starts[] = {
        // Found at the first look; a panel restart after that is no reason to give up.
        {"tray comes, then restarts", 100, 700, false, false, false},
        {"tray comes after the last look", 1100, -1, false, false, false},
        {"no tray", -1, -1, false, true, true},
        {"shown by a second start meanwhile", -1, -1, true, false, false},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.what);
        QWidget main;
        ShowWatch watch;
        main.installEventFilter(&watch);
        hooks.mainWindow = &main;
        trayAvailable = false;
        Tray tray(hooks);
        QElapsedTimer clock;
        clock.start();
        tray.StartHidden();
        EXPECT_FALSE(watch.shown);
        const auto at = [&](int ms, std::function<void()> what) {
            if (ms >= 0) QTimer::singleShot(ms, &main, std::move(what));
        };
        at(start.trayComesMs, [&] { trayAvailable = true; });
        at(start.trayGoesMs, [&] { trayAvailable = false; });
        at(start.secondStart ? 100 : -1, [&] { tray.menu().ShowNormalView(); });

        testing::WaitUntil([&] { return tray.noTrayMessage() != nullptr; }, 1600);
        ASSERT_EQ(tray.noTrayMessage() != nullptr, start.told);
        EXPECT_EQ(main.isMinimized(), start.minimized);
        EXPECT_EQ(watch.shown, start.minimized || start.secondStart);
        if (start.told) {
            EXPECT_GE(clock.elapsed(), 1200) << "told before the wait was over";
        }
    }
}

}  // namespace
}  // namespace vantrel
