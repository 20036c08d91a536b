// The tray without a desktop (offscreen): the menu, its actions, the activation rule, the slide,
// the instance lock and the previous-instance test.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <filesystem>

#include "shell/tray/instance_lock.h"
#include "shell/tray/menu_rule.h"
#include "shell/tray/module1.h"
#include "shell/tray/slide_out.h"
#include "shell/tray/tray.h"
#include "tray/tray_test_support.h"

namespace vantrel {
namespace {

using testing::Child;
using testing::FreshRuntimeDir;

const auto* const kRuntimeDir = ::testing::AddGlobalTestEnvironment(new testing::PrivateRuntimeDir);

TEST(MenuRule, OnlyDoubleClickAndContextOpenTheMenu) {
    EXPECT_TRUE(OpensPopupMenu(QSystemTrayIcon::DoubleClick));
    EXPECT_TRUE(OpensPopupMenu(QSystemTrayIcon::Context));
    EXPECT_FALSE(OpensPopupMenu(QSystemTrayIcon::Trigger));
    EXPECT_FALSE(OpensPopupMenu(QSystemTrayIcon::MiddleClick));
    EXPECT_FALSE(OpensPopupMenu(QSystemTrayIcon::Unknown));
}

TEST(SlideOut, ShrinksThenMovesBeyondTheBottomRightCorner) {
    const std::vector<WindowBox> steps = SlideOutSteps({372, 315, 156, 58}, 1280, 800);
    ASSERT_GE(steps.size(), 3u);
    // 870 twips high: two shrink steps, 869 and 469 twips high, 2114 and 1714 twips wide.
    EXPECT_EQ(steps[0], (WindowBox{372, 315, 141, 58}));
    EXPECT_EQ(steps[1], (WindowBox{372, 315, 114, 31}));
    // The last move that kept its right edge within 1280 + 15 px, and a top past 800 + 15 px.
    EXPECT_EQ(steps.back(), (WindowBox{1182, 825, 114, 31}));
    EXPECT_EQ(steps.size(), 2u + 82u);

    // 50 px = 750 twips wide: every shrink step is held at 1000 twips, 67 px.
    const std::vector<WindowBox> narrow = SlideOutSteps({0, 0, 50, 58}, 640, 480);
    EXPECT_EQ(narrow.front().width, 67);
    EXPECT_GT(narrow.back().top, 480);

    EXPECT_TRUE(SlideOutSteps({0, 0, 156, 58}, 0, 0).empty());
    // Already beyond the corner: nothing to move.
    EXPECT_EQ(SlideOutSteps({2000, 2000, 10, 10}, 640, 480).size(), 0u);
    // A far-off start still ends.
    EXPECT_LE(SlideOutSteps({-1000000, -1000000, 156, 58}, 1280, 800).size(), 5002u);
}

// Runs `child` in a forked process and returns its exit code.
int InChild(const std::function<int()>& child) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(child());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int StateInChild(const std::filesystem::path& file) {
    return InChild([&] { return static_cast<int>(TryLockFile(file).state); });
}

TEST(InstanceLock, ASecondHolderIsRefusedUntilTheFirstLetsGoOrDies) {
    const std::filesystem::path file = FreshRuntimeDir().toStdString() + "/vantrel.lock";
    const LockAttempt mine = TryLockFile(file);
    ASSERT_EQ(mine.state, InstanceLockState::Held);
    EXPECT_EQ(StateInChild(file), static_cast<int>(InstanceLockState::HeldByOther));
    ::close(mine.fd);
    EXPECT_EQ(StateInChild(file), static_cast<int>(InstanceLockState::Held));

    // A holder killed without any clean-up leaves nothing behind.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const LockAttempt held = TryLockFile(file);
        const char state = static_cast<char>(held.state);
        (void)!::write(ready[1], &state, 1);
        ::pause();
        ::_exit(0);
    }
    char state = -1;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    EXPECT_EQ(state, static_cast<char>(InstanceLockState::Held));
    EXPECT_EQ(TryLockFile(file).state, InstanceLockState::HeldByOther);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    const LockAttempt after = TryLockFile(file);
    EXPECT_EQ(after.state, InstanceLockState::Held);
    ::close(after.fd);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(InstanceLock, UsesOnlyAPrivateFolder) {
    const std::filesystem::path base = FreshRuntimeDir().toStdString();
    // The folder is made when missing.
    const LockAttempt made = TryLockFile(base / "fresh" / "vantrel.lock");
    EXPECT_EQ(made.state, InstanceLockState::Held);
    struct stat st {};
    ASSERT_EQ(::stat((base / "fresh").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ::close(made.fd);

    std::filesystem::create_symlink(base / "fresh", base / "link");
    EXPECT_EQ(TryLockFile(base / "link" / "vantrel.lock").state, InstanceLockState::Unavailable);
    EXPECT_EQ(TryLockFile("/nonexistent/deeper/vantrel.lock").state,
              InstanceLockState::Unavailable);

    std::filesystem::create_directory(base / "theirs");
    if (::chown((base / "theirs").c_str(), 65534, 65534) == 0) {
        EXPECT_EQ(TryLockFile(base / "theirs" / "vantrel.lock").state,
                  InstanceLockState::Unavailable);
    }
}

TEST(InstanceLock, FileFollowsTheRuntimeFolder) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const std::string uidFolder = "/tmp/vantrel-" + std::to_string(::getuid());
    qputenv("XDG_RUNTIME_DIR", "/nonexistent-runtime");
    EXPECT_EQ(InstanceLockFile(), std::filesystem::path(uidFolder) / "vantrel.lock");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(InstanceLockFile(), std::filesystem::path(uidFolder) / "vantrel.lock");
    qputenv("XDG_RUNTIME_DIR", saved);
    EXPECT_EQ(InstanceLockFile(), std::filesystem::path(saved.toStdString()) / "vantrel.lock");
}

TEST(PopupMenu, HasFiveItemsWithStartAndStopGreyed) {
    TrayHooks hooks;
    Form2 form2(hooks);
    EXPECT_EQ(form2.popmenu->title(), "popmenu");
    const QList<QAction*> items = form2.popmenu->actions();
    ASSERT_EQ(items.size(), 5);
    const char* names[] = {"Max", "Start", "Stop", "Refresh", "Close"};
    const char* captions[] = {"&Normal View", "&Start", "&Stop", "&Reload", "&Close"};
    const bool enabled[] = {true, false, false, true, true};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(items[i]->objectName(), names[i]);
        EXPECT_EQ(items[i]->text(), captions[i]);
        EXPECT_EQ(items[i]->isEnabled(), enabled[i]) << names[i];
    }
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

    std::unique_ptr<Tray> MakeTray() { return std::make_unique<Tray>(hooks); }
    static int IconCount(const Tray& tray) {
        return tray.form1()
                   ? static_cast<int>(tray.form1()->findChildren<QSystemTrayIcon*>().size())
                   : 0;
    }

    QWidget mainWindow;
    TrayHooks hooks;
    int reloads = 0;
    int ends = 0;
    bool trayAvailable = true;
};

TEST_F(TrayTest, FirstMinimizeAddsTheIconSlidesAndThenHidesTheMainWindow) {
    auto tray = MakeTray();
    // Posted before the click: it runs during the slide, while the main window is still up.
    int visibleWhenEventsRan = -1;
    QTimer::singleShot(0, [&] { visibleWhenEventsRan = mainWindow.isVisible() ? 1 : 0; });
    tray->Minimize();

    EXPECT_EQ(visibleWhenEventsRan, 1);
    EXPECT_FALSE(mainWindow.isVisible());
    ASSERT_NE(TrayIcon(), nullptr);
    EXPECT_EQ(TrayIcon()->toolTip(), "vantrel");
    EXPECT_FALSE(TrayIcon()->icon().isNull());
    EXPECT_EQ(TrayIcon()->contextMenu(), tray->form2().popmenu);
    Form1* form1 = tray->form1();
    EXPECT_FALSE(form1->isVisible());
    EXPECT_TRUE(form1->windowTitle().isEmpty());
    EXPECT_GT(form1->y(), QGuiApplication::primaryScreen()->size().height());
    EXPECT_EQ(ends, 0);
}

TEST_F(TrayTest, MinimizeNormalViewMinimizeKeepsOneIconAndSlidesOnce) {
    auto tray = MakeTray();
    tray->Minimize();
    QSystemTrayIcon* icon = TrayIcon();
    const QRect slidAway = tray->form1()->geometry();

    tray->form2().Max->trigger();
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_EQ(TrayIcon(), icon);
    EXPECT_TRUE(icon->isVisible());

    tray->Minimize();
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_EQ(TrayIcon(), icon);
    EXPECT_EQ(IconCount(*tray), 1);
    // A second slide would have shrunk the window once more.
    EXPECT_EQ(tray->form1()->geometry(), slidAway);
    EXPECT_FALSE(tray->form1()->isVisible());
    EXPECT_FALSE(tray->form2().isVisible());
}

TEST_F(TrayTest, ReloadCallsTheLoaderAndLeavesTheWindowsAlone) {
    auto tray = MakeTray();
    tray->Minimize();
    tray->form2().Refresh->trigger();
    EXPECT_EQ(reloads, 1);
    EXPECT_FALSE(mainWindow.isVisible());
    tray->form2().Max->trigger();
    tray->form2().Refresh->trigger();
    EXPECT_EQ(reloads, 2);
    EXPECT_TRUE(mainWindow.isVisible());
    // Start and Stop do nothing, even if triggered.
    tray->form2().Start->trigger();
    tray->form2().Stop->trigger();
    EXPECT_EQ(reloads, 2);
    EXPECT_EQ(ends, 0);
}

TEST_F(TrayTest, CloseRemovesTheIconAndEndsTheProgram) {
    auto tray = MakeTray();
    tray->Minimize();
    tray->form2().Max->trigger();
    tray->form2().Close->trigger();
    EXPECT_EQ(TrayIcon(), nullptr);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(reloads, 0);
}

TEST_F(TrayTest, DestroyingTheTrayRemovesTheIcon) {
    auto tray = MakeTray();
    tray->Minimize();
    ASSERT_NE(TrayIcon(), nullptr);
    tray.reset();
    EXPECT_EQ(TrayIcon(), nullptr);
}

TEST_F(TrayTest, DoubleClickAndContextOpenTheMenuAtThePointer) {
    auto tray = MakeTray();
    tray->Minimize();
    QMenu* menu = tray->form2().popmenu;
    Form1* form1 = tray->form1();

    for (const auto reason :
         {QSystemTrayIcon::Trigger, QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown}) {
        form1->Picture1_Activated(reason);
        EXPECT_FALSE(menu->isVisible()) << reason;
    }
    for (const auto reason : {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context}) {
        emit TrayIcon()->activated(reason);
        EXPECT_TRUE(menu->isVisible()) << reason;
        // Asked again while open (Qt's own popup on an XEmbed tray): it stays where it is.
        const QPoint at = menu->pos();
        form1->Picture1_Activated(reason);
        EXPECT_EQ(menu->pos(), at);
        menu->hide();
    }
}

TEST_F(TrayTest, AClickDuringTheSlideDoesNotStartASecondLoad) {
    auto tray = MakeTray();
    QTimer::singleShot(0, [&] { tray->Minimize(); });
    tray->Minimize();
    EXPECT_EQ(IconCount(*tray), 1);
    EXPECT_FALSE(mainWindow.isVisible());
}

TEST_F(TrayTest, WithoutATrayTheWindowIsMinimizedAndTheUserToldOnce) {
    trayAvailable = false;
    auto tray = MakeTray();
    tray->Minimize();
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(mainWindow.isMinimized());
    ASSERT_NE(tray->noTrayMessage(), nullptr);
    EXPECT_TRUE(tray->noTrayMessage()->isVisible());
    EXPECT_TRUE(tray->noTrayMessage()->text().contains("no system tray"));
    QMessageBox* told = tray->noTrayMessage();

    mainWindow.showNormal();
    tray->Minimize();
    EXPECT_TRUE(mainWindow.isMinimized());
    EXPECT_EQ(tray->noTrayMessage(), told);
    EXPECT_EQ(QApplication::topLevelWidgets().count(told), 1);
}

// The previous-instance test between separate processes sharing one runtime folder.
TEST(PreviousInstance, ASecondVantrelEndsAtItsFirstMinimizeUntilTheFirstIsGone) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", FreshRuntimeDir());

    auto first = std::make_unique<Child>(TRAY_PROBE, QStringList{"--hold"}, env);
    ASSERT_EQ(first->WaitForLine("lock"), "lock held");

    Child second(TRAY_PROBE, {"--minimize"}, env);
    EXPECT_EQ(second.WaitForLine("lock"), "lock other");
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_TRUE(second.Output().contains("endProgram"));
    EXPECT_FALSE(second.Output().contains("minimized"));

    // The first one crashes: the next one is alone and hides to the tray.
    first->process().kill();
    ASSERT_TRUE(first->WaitForExit());
    first.reset();
    Child third(TRAY_PROBE, {"--minimize"}, env);
    EXPECT_FALSE(third.WaitForLine("minimized").isEmpty()) << third.Output().toStdString();
    EXPECT_FALSE(third.Output().contains("endProgram"));
}

// A Vantrel started beside another asks again at its first Minimize: if the other has ended
// meanwhile, it goes on.
TEST(PreviousInstance, TheFirstMinimizeTriesTheLockAgain) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", FreshRuntimeDir());
    auto first = std::make_unique<Child>(TRAY_PROBE, QStringList{"--hold"}, env);
    ASSERT_EQ(first->WaitForLine("lock"), "lock held");
    Child second(TRAY_PROBE, {"--hold"}, env);
    ASSERT_EQ(second.WaitForLine("lock"), "lock other");
    first.reset();

    second.process().write("minimize\n");
    EXPECT_FALSE(second.WaitForLine("minimized").isEmpty()) << second.Output().toStdString();
    EXPECT_FALSE(second.Output().contains("endProgram"));
}

}  // namespace
}  // namespace vantrel
