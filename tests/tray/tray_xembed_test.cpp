// The tray on a real X server with an XEmbed tray (trayer): the icon docks with its tip, the menu
// opens on a right-button press and on a double-click only, and "&Close" chosen with the mouse
// ends the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QScreen>
#include <QStyleHints>
#include <QToolTip>

#include "shell/tray/module1.h"
#include "shell/tray/tray.h"
#include "tray/tray_test_support.h"

namespace vantrel {
namespace {

using testing::Child;
using testing::WaitUntil;
using testing::Xdotool;

const auto* const kRuntimeDir = ::testing::AddGlobalTestEnvironment(new testing::PrivateRuntimeDir);

QStringList At(const QPoint& p) {
    return {"mousemove", QString::number(p.x()), QString::number(p.y())};
}

// trayer as the tray of this X server, once Qt sees it.
std::unique_ptr<QProcess> StartTrayer() {
    auto trayer = std::make_unique<QProcess>();
    trayer->start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "request",
                             "--height", "32"});
    EXPECT_TRUE(WaitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 15000))
        << "trayer did not provide a system tray";
    return trayer;
}

// Lets the double-click interval pass, so that the next click starts afresh.
void Settle() {
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    WaitUntil([] { return false; }, interval + 150);
}

class XEmbedTray : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { trayer_ = StartTrayer(); }
    static void TearDownTestSuite() { trayer_.reset(); }

    void SetUp() override {
        mainWindow.setWindowTitle("main");
        mainWindow.resize(300, 200);
        mainWindow.show();
        hooks.mainWindow = &mainWindow;
        tray = std::make_unique<Tray>(hooks);
        tray->Minimize();
        ASSERT_NE(TrayIcon(), nullptr);
        QObject::connect(TrayIcon(), &QSystemTrayIcon::activated,
                         [this](QSystemTrayIcon::ActivationReason r) { reasons.push_back(r); });
        ASSERT_TRUE(WaitUntil([] { return !TrayIcon()->geometry().isEmpty(); }, 10000))
            << "the icon did not dock";
        // The panel lays its icons out again once more after the docking.
        QRect last;
        QElapsedTimer still;
        WaitUntil([&] {
            if (TrayIcon()->geometry() != last) {
                last = TrayIcon()->geometry();
                still.start();
            }
            return still.elapsed() > 500;
        });
        menu = tray->form2().popmenu;
    }
    void TearDown() override {
        menu->hide();
        tray.reset();
        Settle();
    }

    QPoint IconCentre() const { return TrayIcon()->geometry().center(); }
    bool Saw(QSystemTrayIcon::ActivationReason r) const {
        return std::count(reasons.begin(), reasons.end(), r) > 0;
    }

    static std::unique_ptr<QProcess> trayer_;
    QWidget mainWindow;
    TrayHooks hooks;
    std::unique_ptr<Tray> tray;
    QMenu* menu = nullptr;
    std::vector<QSystemTrayIcon::ActivationReason> reasons;
};

std::unique_ptr<QProcess> XEmbedTray::trayer_;

TEST_F(XEmbedTray, DocksWithItsTipAndHidesTheMainWindow) {
    EXPECT_FALSE(mainWindow.isVisible());
    const QRect icon = TrayIcon()->geometry();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(icon.center()));
    // Resting the pointer on the icon shows the tip.
    Xdotool(At(IconCentre()));
    EXPECT_TRUE(WaitUntil([] { return QToolTip::isVisible(); }, 5000));
    EXPECT_EQ(QToolTip::text(), "vantrel");
}

TEST_F(XEmbedTray, RightPressOpensTheMenuAtThePointer) {
    Xdotool(At(IconCentre()) << "click"
                             << "3");
    ASSERT_TRUE(WaitUntil([&] { return menu->isVisible(); }));
    EXPECT_TRUE(Saw(QSystemTrayIcon::Context));
    // At the pointer, moved left as far as the screen's right edge asks.
    EXPECT_TRUE(menu->geometry().adjusted(-2, -2, 2, 2).contains(IconCentre()))
        << menu->geometry().x() << "," << menu->geometry().y();
    // Drawn with a real font, then kept as a picture of the test run.
    EXPECT_FALSE(QFontInfo(menu->font()).family().isEmpty());
    WaitUntil([] { return false; }, 300);
    const QString shot = QString(VANTREL_BINARY_DIR) + "/tests/tray/tray-menu-xembed.png";
    EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(shot));
}

TEST_F(XEmbedTray, DoubleClickOpensTheMenu) {
    Xdotool(At(IconCentre()) << "click"
                             << "--repeat"
                             << "2"
                             << "--delay"
                             << "80"
                             << "1");
    ASSERT_TRUE(WaitUntil([&] { return Saw(QSystemTrayIcon::DoubleClick); }));
    EXPECT_TRUE(WaitUntil([&] { return menu->isVisible(); }));
}

TEST_F(XEmbedTray, SingleClickMiddleButtonAndMovementOpenNothing) {
    Xdotool(At(IconCentre() + QPoint(-3, 0)));
    Xdotool(At(IconCentre()) << "click"
                             << "1");
    ASSERT_TRUE(WaitUntil([&] { return Saw(QSystemTrayIcon::Trigger); }));
    Settle();
    EXPECT_FALSE(menu->isVisible());
    Xdotool({"click", "2"});
    ASSERT_TRUE(WaitUntil([&] { return Saw(QSystemTrayIcon::MiddleClick); }));
    Settle();
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(Saw(QSystemTrayIcon::DoubleClick));
}

// "&Close" in a separate program, which must end.
TEST(XEmbedTrayClose, CloseFromTheMenuEndsTheProgram) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", testing::FreshRuntimeDir());
    const std::unique_ptr<QProcess> trayer = StartTrayer();

    Child probe(TRAY_PROBE, {"--minimize"}, env);
    const QList<QByteArray> icon = probe.WaitForLine("icon ").split(' ');
    ASSERT_EQ(icon.size(), 5) << probe.Output().toStdString();
    const QRect g(icon[1].toInt(), icon[2].toInt(), icon[3].toInt(), icon[4].toInt());
    Xdotool(At(g.center()) << "click"
                           << "3");
    const QList<QByteArray> item = probe.WaitForLine("menu close-item").split(' ');
    ASSERT_EQ(item.size(), 4) << probe.Output().toStdString();
    Xdotool(At(QPoint(item[2].toInt(), item[3].toInt())) << "click"
                                                         << "1");
    ASSERT_TRUE(probe.WaitForExit());
    EXPECT_EQ(probe.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(probe.process().exitCode(), 0);
    EXPECT_TRUE(probe.Output().contains("endProgram"));
    EXPECT_FALSE(probe.Output().contains("reloadSettings"));
}

}  // namespace
}  // namespace vantrel
