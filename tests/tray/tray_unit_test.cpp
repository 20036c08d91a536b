// The tray offscreen: the previous-instance test and the instance lock, the slide, the menu and
// its actions, a desktop without a tray. Which clicks open the menu: tray_xembed_test.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "shell/tray/instance_lock.h"
#include "shell/tray/module1.h"
#include "shell/tray/tray.h"

namespace vantrel {
namespace {

// A private runtime folder, so the instance lock never meets that of a real Vantrel.
const QTemporaryDir kRuntime;
const bool kRuntimeSet = qputenv("XDG_RUNTIME_DIR", kRuntime.path().toUtf8());

// A forked process that holds the lock on `file` until it is killed.
pid_t HoldLockInChild(const std::filesystem::path& file) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const char state = static_cast<char>(TryLockFile(file).state);
        (void)!::write(ready[1], &state, 1);
        ::pause();
        ::_exit(0);
    }
    char state = -1;
    EXPECT_EQ(::read(ready[0], &state, 1), 1);
    EXPECT_EQ(state, static_cast<char>(InstanceLockState::Held));
    for (const int fd : ready) ::close(fd);
    return pid;
}

class TrayTest : public ::testing::Test {
  protected:
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
    int reloads = 0;
    int ends = 0;
    bool trayAvailable = true;
};

// First: the process claims the instance lock once, at its first Minimize. Covers the lock itself:
// refused while another process holds it, free once that one has died without any clean-up.
TEST_F(TrayTest, ASecondVantrelEndsAtItsFirstMinimizeUntilTheFirstIsGone) {
    const pid_t first = HoldLockInChild(InstanceLockFile());
    Tray tray(hooks);
    tray.Minimize();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(TrayIcon(), nullptr);
    EXPECT_TRUE(mainWindow.isVisible());

    ::kill(first, SIGKILL);  // crashed: the next Minimize asks again and goes on
    ::waitpid(first, nullptr, 0);
    tray.Minimize();
    EXPECT_EQ(ends, 1);
    EXPECT_NE(TrayIcon(), nullptr);
    EXPECT_FALSE(mainWindow.isVisible());
}

TEST_F(TrayTest, MinimizeNormalViewMinimizeMakesOneIconAndOneSlide) {
    auto tray = std::make_unique<Tray>(hooks);
    // A second click during the slide starts nothing: the window stays up until the slide ends.
    int visibleDuringSlide = -1;
    QTimer::singleShot(0, [&] {
        tray->Minimize();
        visibleDuringSlide = mainWindow.isVisible() ? 1 : 0;
    });
    tray->Minimize();
    EXPECT_EQ(visibleDuringSlide, 1);
    EXPECT_FALSE(mainWindow.isVisible());
    QSystemTrayIcon* icon = TrayIcon();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), "vantrel");
    EXPECT_FALSE(icon->icon().isNull());
    Form1* form1 = tray->form1();
    const QRect slidAway = form1->geometry();
    EXPECT_GT(slidAway.y(), QGuiApplication::primaryScreen()->size().height());

    tray->form2().Max->trigger();
    EXPECT_TRUE(mainWindow.isVisible());
    tray->Minimize();
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_EQ(TrayIcon(), icon);
    EXPECT_EQ(tray->form1(), form1);
    EXPECT_EQ(form1->findChildren<QSystemTrayIcon*>().size(), 1);
    EXPECT_EQ(form1->geometry(), slidAway);  // a second slide would have shrunk it once more
    EXPECT_FALSE(form1->isVisible());
    tray.reset();
    EXPECT_EQ(TrayIcon(), nullptr);
}

TEST_F(TrayTest, MenuItemsAndWhatEachDoes) {
    Tray tray(hooks);
    tray.Minimize();
    // Triggered in menu order; the state after each. The main window stays up from the first on.
    const struct {
        const char *name, *caption;
        bool enabled;
        int reloads, ends;  // Close also removes the icon
    } items[] = {{"Max", "&Normal View", true, 0, 0},
                 {"Start", "&Start", false, 0, 0},
                 {"Stop", "&Stop", false, 0, 0},
                 {"Refresh", "&Reload", true, 1, 0},
                 {"Close", "&Close", true, 1, 1}};
    const QList<QAction*> actions = tray.form2().popmenu->actions();
    ASSERT_EQ(actions.size(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(items[i].name);
        EXPECT_EQ(actions[i]->objectName(), items[i].name);
        EXPECT_EQ(actions[i]->text(), items[i].caption);
        EXPECT_EQ(actions[i]->isEnabled(), items[i].enabled);
        actions[i]->trigger();
        EXPECT_TRUE(mainWindow.isVisible());
        EXPECT_EQ(reloads, items[i].reloads);
        EXPECT_EQ(ends, items[i].ends);
        EXPECT_EQ(TrayIcon() == nullptr, items[i].ends == 1);
    }
}

TEST_F(TrayTest, WithoutATrayTheWindowIsMinimizedTheUserToldOnceAndNormalViewRestoresIt) {
    trayAvailable = false;
    Tray tray(hooks);
    tray.Minimize();
    QMessageBox* told = tray.noTrayMessage();
    ASSERT_NE(told, nullptr);
    EXPECT_TRUE(told->text().contains("no system tray"));
    mainWindow.showNormal();
    tray.Minimize();
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(mainWindow.isMinimized());
    EXPECT_EQ(tray.noTrayMessage(), told);

    // A tray that turns up later takes the minimized window; "Normal View" brings it back normal.
    trayAvailable = true;
    tray.Minimize();
    EXPECT_FALSE(mainWindow.isVisible());
    tray.form2().Max->trigger();
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(mainWindow.isMinimized());
}

}  // namespace
}  // namespace vantrel
