// The autostart's `vantrel --minimized` on a desktop whose tray starts late, as the X server sees
// it: the icon docks once trayer comes and again after trayer restarts, and nothing of Vantrel's
// is mapped meanwhile or after the wait; with no tray at all, one minimized window and one
// message once the wait is over. Each case waits out the real 30 s.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <optional>

#include "app/trayer.h"
#include "support/x_window_watch.h"

namespace vantrel::testing {
namespace {

constexpr int kWaitMs = 30000;  // the product's wait for a tray

// The real program started hidden in the tray, in folders of its own, with no controller.
struct HiddenStart {
    HiddenStart() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir.path());
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("VANTREL_KEY_BACKEND", "xtest");
        vantrel.setProcessEnvironment(env);
        vantrel.start(VANTREL_PROGRAM, {"--minimized"});
        vantrel.waitForStarted();
        clock.start();
    }
    ~HiddenStart() {
        vantrel.kill();
        vantrel.waitForFinished();
    }
    long pid() const { return static_cast<long>(vantrel.processId()); }
    bool Running() const { return vantrel.state() == QProcess::Running; }

    const QTemporaryDir dir;
    QProcess vantrel;
    QElapsedTimer clock;
};

TEST(LateTray, IconDocksWhenTheTrayComesAndAfterItRestartsWithNoWindowEverMapped) {
    XWindowWatch x;
    ASSERT_TRUE(x.ok());
    HiddenStart start;
    const auto docked = [&] { return !x.DockedBy(start.pid()).empty(); };
    const auto mapped = [&] { return !x.MappedBy(start.pid()).empty(); };

    std::optional<Trayer> tray;
    EXPECT_FALSE(WaitUntil(mapped, 3000));
    tray.emplace();
    ASSERT_TRUE(tray->ready) << "trayer did not provide a system tray";
    EXPECT_TRUE(WaitUntil(docked, 10000)) << "no icon in the tray that came late";

    tray.reset();
    EXPECT_TRUE(WaitUntil([&] { return !docked(); })) << "the icon outlived its tray";
    tray.emplace();
    ASSERT_TRUE(tray->ready) << "trayer did not start again";
    EXPECT_TRUE(WaitUntil(docked, 10000)) << "no icon in the restarted tray";

    // Past the wait, with the tray there: still nothing but the icon.
    EXPECT_FALSE(WaitUntil(mapped, kWaitMs + 2000 - static_cast<int>(start.clock.elapsed())))
        << "a window of Vantrel's was mapped";
    EXPECT_TRUE(start.Running());
}

TEST(NoTray, AfterTheWaitOneMinimizedWindowAndOneMessage) {
    XWindowWatch x;
    ASSERT_TRUE(x.ok());
    HiddenStart start;
    const auto mapped = [&] { return x.MappedBy(start.pid()); };

    EXPECT_FALSE(WaitUntil([&] { return !mapped().empty(); }, kWaitMs - 1000))
        << "shown before the wait was over";
    ASSERT_TRUE(WaitUntil([&] { return mapped().size() >= 2; }, 15000));
    EXPECT_FALSE(WaitUntil([&] { return mapped().size() > 2; }, 1000)) << "more than twice";
    const std::vector<Window> shown = mapped();
    ASSERT_EQ(shown.size(), 2u);
    // The main window first, minimized; the message beside it.
    EXPECT_TRUE(x.Iconic(shown[0]) && !x.Dialog(shown[0]));
    EXPECT_TRUE(x.Dialog(shown[1]) && !x.Iconic(shown[1]));
}

}  // namespace
}  // namespace vantrel::testing
