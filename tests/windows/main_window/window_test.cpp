// The main window, its start-up and shutdown, and the windows behind its buttons, on fake
// services and the offscreen platform.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/poll_cycle.h"
#include "support/qt_wait.h"
#include "support/window_checks.h"
#include "windows/main_window/key_delivery_note.h"
#include "windows/main_window/window_rig.h"

namespace vantrel::testing {
namespace {

using Log = std::vector<std::string>;

// What users see and rely on, checked on the shown window: its size, the texts, headings drawn in
// an installed font and not cut off, the order the Tab key takes, and one About window that does
// not block the main window.
TEST(MainWindow, SizeTextsTabOrderAndOneModelessAbout) {
    MainWindow window;
    window.show();
    EXPECT_EQ(window.size(), QSize(405, 416));
    EXPECT_EQ(CutOff(window), QStringList{});
    for (const QString& pair :
         QString("controllersHeading=Joysticks,reloadButton=Reload INI,editorButton=Editor,"
                 "keysButton=Config,minimizeButton=Minimize,aboutButton=About,axesHeading=Axes,"
                 "buttonsHeading=Buttons,gearsHeading=Gear's,axisList=lstJoyAxis,"
                 "buttonList=lstButton,gearList=lstGear")
             .split(',')) {
        const QString name = pair.section('=', 0, 0), text = pair.section('=', 1);
        SCOPED_TRACE(name.toStdString());
        auto* w = window.findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr);
        auto* list = qobject_cast<QListWidget*>(w);  // a live list shows its placeholder line
        EXPECT_EQ(list ? list->item(0)->text() : w->property("text").toString(), text);
        if (auto* heading = qobject_cast<QLabel*>(w)) {
            EXPECT_TRUE(heading->fontMetrics().inFontUcs4('J'));
            EXPECT_LE(heading->fontMetrics().horizontalAdvance(text), w->width());
        }
    }
    EXPECT_EQ(TabOrder(window.controls().controllerList),
              "controllerList axisList buttonList gearList keysButton editorButton aboutButton "
              "minimizeButton reloadButton");

    const auto abouts = [] {
        QWidgetList all = QApplication::topLevelWidgets();
        all.removeIf(
            [](QWidget* w) { return w->objectName() != "aboutWindow" || !w->isVisible(); });
        return all;
    };
    window.controls().aboutButton->click();
    window.controls().aboutButton->click();
    ASSERT_EQ(abouts().size(), 1);
    QPointer<QWidget> about = abouts()[0];
    EXPECT_EQ(about->windowModality(), Qt::NonModal);
    about->close();
    ASSERT_TRUE(WaitUntil([&] { return about.isNull(); }));
    window.controls().aboutButton->click();
    EXPECT_EQ(abouts().size(), 1);
}

TEST(Run, StepsInOrderOnlyClickOrEnterChoosesAControllerClosingLetsGoAndEndsWithZero) {
    ShellRig rig;
    rig.services.controllers.reports["id-b"].axis(AxisSlot::X) = 3000;
    EXPECT_EQ(rig.Start(), std::nullopt);
    EXPECT_EQ(rig.services.log, (Log{"keys", "controllers", "notifications"}));
    EXPECT_FALSE(rig.window.isVisible());
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
    rig.window.show();
    const MainWindowControls& c = rig.window.controls();
    ASSERT_EQ(c.controllerList->count(), 2);
    ClickLine(c.controllerList, 1);
    EXPECT_EQ(c.axisList->item(0)->text(), "X: 3000");
    EXPECT_EQ(c.buttonList->item(0)->text(), "Button 1: Up");
    EXPECT_EQ(c.gearList->item(2)->text(), "gear 3: 3");
    EXPECT_EQ(rig.window.windowTitle(), kCaptionAvailable);

    // The program's own gear keys reach the list when the window has the focus: only Enter picks.
    rig.services.log.clear();
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_W, Qt::Key_P}) QTest::keyClick(c.controllerList, key);
    EXPECT_EQ(rig.services.log, Log{});
    QTest::keyClick(c.controllerList, Qt::Key_Return);
    EXPECT_EQ(rig.services.log, (Log{"id-b closed", "id-a opened", "id-a read"}));

    rig.services.log.clear();
    rig.window.close();
    EXPECT_EQ(rig.ended, std::vector<int>{0});
    EXPECT_EQ(rig.services.log, (Log{"pump stopped", "keys let go", "id-a closed",
                                     "controllers destroyed", "keys destroyed"}));
    rig.window.OnControllerLineChosen(0);  // late clicks find nothing to act on
    rig.window.ReloadSettings();
    EXPECT_EQ(rig.ended.size(), 1u);
}

TEST(Run, AnotherLineUnpluggedTheOneInUseStaysChosenUnpluggedItselfNoLineLooksChosen) {
    ShellRig rig;
    ASSERT_EQ(rig.Start(), std::nullopt);
    QListWidget* lines = rig.window.controls().controllerList;
    rig.window.show();
    rig.services.controllers.Plug({"Spare", "id-c"});
    ClickLine(lines, 1);
    rig.services.controllers.Unplug("id-a");
    EXPECT_EQ(lines->currentRow(), 0);
    rig.services.controllers.Unplug("id-b");
    EXPECT_EQ(lines->count(), 1);
    EXPECT_EQ(lines->currentRow(), -1);
    EXPECT_TRUE(lines->selectedItems().isEmpty());
}

TEST(StartUp, NoControllerOrAFailedStepIsSaidAndEndsBeforeTheWindowIsShown) {
    const auto check = [](void (*arrange)(FakeServices&), const char* seen, int status, Log log) {
        SCOPED_TRACE(seen);
        ShellRig rig;
        arrange(rig.services);
        MessageBoxWatch boxes;
        EXPECT_EQ(rig.Start(), status);
        EXPECT_EQ(boxes.seen, QStringList{seen});
        EXPECT_EQ(rig.services.log, log);
        EXPECT_FALSE(rig.window.isVisible());
        if (status == 0) rig.window.close();  // the shutdown has run: not a second time
        EXPECT_TRUE(rig.ended.empty());
    };
    check([](FakeServices& s) { s.controllers.attached.clear(); }, "|No joystick attached.|1|modal",
          0, {"keys", "controllers", "keys let go", "controllers destroyed", "keys destroyed"});
    check([](FakeServices& s) { s.keyFailure = "No keys."; }, "Vantrel|No keys.|1|modal",
          kExitStartUpFailed, {"keys"});
    check([](FakeServices& s) { s.controllerFailure = "No SDL."; },
          "Vantrel|No SDL. (error 2001)|1|modal", kExitStartUpFailed,
          {"keys", "controllers", "keys let go", "keys destroyed"});
}

TEST(Settings, ReportShownWithoutHoldingUpTheEngineReloadAppliesAtTheNextCycle) {
    ShellRig rig;
    rig.Write("[fields]\ng34l=wide\n");
    rig.services.controllers.reports["id-a"].axis(AxisSlot::X) = 3000;  // gear 3
    ASSERT_EQ(rig.Start(), std::nullopt);  // the report does not wait for the user
    rig.window.show();
    const auto report = [&] {  // the details in the one box that does not wait, if only one
        QStringList shown;
        for (auto* box : rig.window.findChildren<QMessageBox*>()) {
            if (box->isVisible() && !box->isModal()) shown << box->informativeText();
        }
        return shown.size() == 1 ? shown[0] : QString("%1 reports").arg(shown.size());
    };
    ASSERT_TRUE(WaitUntil([&] { return report().contains("g34l=wide"); }));
    rig.window.OnControllerLineChosen(0);
    Log& sent = rig.services.keys->sent;
    EXPECT_GT(std::ranges::count(sent, "{w down}"), 0);  // while the report is open

    sent.clear();
    rig.services.log.clear();
    rig.Write("[keyconfig]\nkey3=w\n");
    rig.window.controls().reloadButton->click();
    EXPECT_TRUE(sent.empty()) << "unchanged keys: the reload itself sends nothing";
    rig.Write("[keyconfig]\nkey3=F5\n[fields]\ng56l=wide\n");  // "w" is no gear's key any more
    rig.window.controls().reloadButton->click();
    EXPECT_EQ(sent, Log{"{w up}"});
    EXPECT_EQ(rig.services.log, Log{}) << "nothing but the settings is loaded again";
    rig.services.controllers.Notify();
    EXPECT_EQ(std::ranges::count(sent, "{F5 down}"), 2);
    EXPECT_TRUE(report().contains("g56l=wide")) << "a newer report replaces the older";
}

TEST(CycleFailure, ShowsTheErrorNoCycleWhileOpenThenEndsWithKeysLetGo) {
    ShellRig rig;
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.window.OnControllerLineChosen(0);
    rig.services.log.clear();
    MessageBoxWatch boxes([&] {
        rig.services.controllers.Notify();
        rig.window.OnControllerLineChosen(0);  // not even a direct call runs a cycle
    });
    rig.services.keys->FailOnCall(4);
    rig.services.controllers.Notify();
    EXPECT_EQ(boxes.seen, QStringList{"|The key could not be sent : 1001|1|modal"});
    EXPECT_EQ(std::ranges::count(rig.services.log, "id-a read"), 1);
    EXPECT_EQ(std::ranges::count(rig.services.log, "keys let go"), 1);
    EXPECT_EQ(rig.ended, std::vector<int>{kExitCycleFailed});
}

// Sequential output on the event loop's own alarm: the taps after the first leave the cycle.
TEST(Sequential, TapsWithoutGearKeysOrShifterAReloadCountsFromNeutralALossEndsATap) {
    ShellRig rig;
    const std::string file = "[output]\nmode=sequential\n[sequential]\ndown=j\ntap=100\ngap=10\n";
    rig.Write(file + "up=u\n");
    rig.services.controllers.attached.pop_back();  // a second pad would be picked after the loss
    rig.services.controllers.reports["id-a"].axis(AxisSlot::X) = 3000;  // gear 3: three taps
    ASSERT_EQ(rig.Start(), std::nullopt);
    EXPECT_EQ(rig.services.log, (Log{"keys", "controllers", "notifications"}));
    rig.window.OnControllerLineChosen(0);
    Log& sent = rig.services.keys->sent;
    EXPECT_EQ(sent, Log{"{u down}"});
    ASSERT_TRUE(WaitUntil([&] { return sent.size() == 6; }));
    EXPECT_EQ(sent[4], "{u down}");

    sent.clear();
    rig.Write(file + "up=i\n");
    rig.window.controls().reloadButton->click();
    rig.services.controllers.newest->next.axis(AxisSlot::X) = 0;  // gear 1: one up from neutral
    rig.services.controllers.Notify();
    EXPECT_EQ(sent, Log{"{i down}"});
    rig.services.controllers.Unplug("id-a");
    EXPECT_EQ(sent, (Log{"{i down}", "{i up}"}));
    QTest::qWait(150);
    EXPECT_EQ(sent.size(), 2u) << "the rest is dropped with the lever";
}

TEST(KeyDeliveryNote, OnlyWhenXTestWasTheFallbackWithTheCommandThatFitsTheSystem) {
    EXPECT_EQ(KeyDeliveryNote("uinput", false, false) + KeyDeliveryNote("XTest", true, false), "");
    const std::string withRule = KeyDeliveryNote("XTest", false, true);
    EXPECT_NE(withRule.find("sudo modprobe uinput && sudo udevadm trigger"), std::string::npos);
    EXPECT_NE(withRule.find("Wayland"), std::string::npos);
    EXPECT_NE(KeyDeliveryNote("XTest", false, false).find("setfacl"), std::string::npos);
}

}  // namespace
}  // namespace vantrel::testing
