// The main window, its start-up and shutdown, and the windows behind its buttons, on fake
// services and the offscreen platform.
#include <gtest/gtest.h>

#include <QComboBox>
#include <algorithm>

#include "engine/poll_cycle.h"
#include "support/qt_wait.h"
#include "support/window_checks.h"
#include "windows/main_window/key_delivery_note.h"
#include "windows/main_window/window_rig.h"
#include "windows/secondary_windows.h"

namespace vantrel::testing {
namespace {

using Log = std::vector<std::string>;

// What users see and rely on, checked on the shown window: its size, the texts, headings drawn in
// an installed font and not cut off, the order the Tab key takes, and one About window that does
// not block the main window.
TEST(MainWindow, SizeTextsTabOrderAndOneModelessAbout) {
    frmMain frm;
    frm.show();
    EXPECT_EQ(frm.size(), QSize(405, 416));
    EXPECT_EQ(CutOff(frm), QStringList{});
    const std::pair<const char*, const char*> texts[] = {
        {"lblJoy", "Joysticks"},      {"reload", "Reload INI"},   {"editor", "Editor"},
        {"Config", "Config"},         {"min_btn", "Minimize"},    {"about", "About"},
        {"lblAxis", "Axes"},          {"lblButtons", "Buttons"},  {"lblHats", "Gear's"},
        {"lstJoyAxis", "lstJoyAxis"}, {"lstButton", "lstButton"}, {"lstGear", "lstGear"}};
    for (const auto& [name, text] : texts) {
        SCOPED_TRACE(name);
        auto* w = frm.findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr);
        auto* list = qobject_cast<QListWidget*>(w);  // a live list shows its placeholder line
        EXPECT_EQ(list ? list->item(0)->text() : w->property("text").toString(), text);
        if (auto* heading = qobject_cast<QLabel*>(w)) {
            EXPECT_TRUE(heading->fontMetrics().inFontUcs4('J'));
            EXPECT_LE(heading->fontMetrics().horizontalAdvance(text), w->width());
        }
    }
    EXPECT_EQ(TabOrder(frm.controls().lstJoySticks),
              "lstJoySticks lstJoyAxis lstButton lstGear Config editor about min_btn reload");

    const auto abouts = [] {
        QWidgetList all = QApplication::topLevelWidgets();
        all.removeIf([](QWidget* w) { return w->objectName() != "Form_About" || !w->isVisible(); });
        return all;
    };
    frm.controls().about->click();
    frm.controls().about->click();
    ASSERT_EQ(abouts().size(), 1);
    QPointer<QWidget> about = abouts()[0];
    EXPECT_EQ(about->windowModality(), Qt::NonModal);
    about->close();
    ASSERT_TRUE(WaitUntil([&] { return about.isNull(); }));
    frm.controls().about->click();
    EXPECT_EQ(abouts().size(), 1);
}

TEST(Run, StepsInOrderOnlyClickOrEnterChoosesAControllerClosingLetsGoAndEndsWithZero) {
    ShellRig rig;
    rig.Write("[keyconfig]\nkey3=x\n");
    rig.services.controllers.reports["id-b"].axis(AxisSlot::X) = 3000;
    EXPECT_EQ(rig.Start(), std::nullopt);
    EXPECT_EQ(rig.services.log, (Log{"keys", "controllers", "notifications"}));
    EXPECT_EQ(GearKey(rig.frm.state, 3).name, "x");
    EXPECT_FALSE(rig.frm.isVisible());
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
    rig.frm.show();
    const MainWindowControls& c = rig.frm.controls();
    ASSERT_EQ(c.lstJoySticks->count(), 2);
    ClickLine(c.lstJoySticks, 1);
    EXPECT_EQ(c.lstJoyAxis->item(0)->text(), "X: 3000");
    EXPECT_EQ(c.lstButton->item(0)->text(), "Button 1: Up");
    EXPECT_EQ(c.lstGear->item(2)->text(), "gear 3: 3");
    EXPECT_EQ(rig.frm.windowTitle(), kCaptionAvailable);

    // The program's own gear keys reach the list when the window has the focus: only Enter picks.
    rig.services.log.clear();
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_W, Qt::Key_P}) QTest::keyClick(c.lstJoySticks, key);
    EXPECT_EQ(rig.services.log, Log{});
    QTest::keyClick(c.lstJoySticks, Qt::Key_Return);
    EXPECT_EQ(rig.services.log, (Log{"id-b closed", "id-a opened", "id-a read"}));

    rig.services.log.clear();
    rig.frm.close();
    EXPECT_EQ(rig.ended, std::vector<int>{0});
    EXPECT_EQ(rig.services.log, (Log{"pump stopped", "keys let go", "id-a closed",
                                     "controllers destroyed", "keys destroyed"}));
    rig.frm.lstJoySticks_Click(0);  // late clicks find nothing to act on
    rig.frm.reload_Click();
    EXPECT_EQ(rig.ended.size(), 1u);
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
        EXPECT_FALSE(rig.frm.isVisible());
        if (status == 0) rig.frm.close();  // the shutdown has run: not a second time
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
    rig.frm.show();
    const auto report = [&] {  // the details in the one box that does not wait, if only one
        QStringList shown;
        for (auto* box : rig.frm.findChildren<QMessageBox*>()) {
            if (box->isVisible() && !box->isModal()) shown << box->informativeText();
        }
        return shown.size() == 1 ? shown[0] : QString("%1 reports").arg(shown.size());
    };
    ASSERT_TRUE(WaitUntil([&] { return report().contains("g34l=wide"); }));
    rig.frm.lstJoySticks_Click(0);
    Log& sent = rig.services.keys->sent;
    EXPECT_GT(std::ranges::count(sent, "{w down}"), 0);  // while the report is open

    sent.clear();
    rig.services.log.clear();
    rig.Write("[keyconfig]\nkey3=w\n");
    rig.frm.controls().reload->click();
    EXPECT_TRUE(sent.empty()) << "unchanged keys: the reload itself sends nothing";
    rig.Write("[keyconfig]\nkey3=F5\n[fields]\ng56l=wide\n");  // "w" is no gear's key any more
    rig.frm.controls().reload->click();
    EXPECT_EQ(sent, Log{"{w up}"});
    EXPECT_EQ(rig.services.log, Log{}) << "nothing but the settings is loaded again";
    rig.services.controllers.Notify();
    EXPECT_EQ(std::ranges::count(sent, "{F5 down}"), 2);
    EXPECT_TRUE(report().contains("g56l=wide")) << "a newer report replaces the older";
}

TEST(CycleFailure, ShowsTheErrorNoCycleWhileOpenThenEndsWithKeysLetGo) {
    ShellRig rig;
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.frm.lstJoySticks_Click(0);
    rig.services.log.clear();
    MessageBoxWatch boxes([&] {
        rig.services.controllers.Notify();
        rig.frm.lstJoySticks_Click(0);  // not even a direct call runs a cycle
    });
    rig.services.keys->FailOnCall(4);
    rig.services.controllers.Notify();
    EXPECT_EQ(boxes.seen, QStringList{"|The key could not be sent : 1001|1|modal"});
    EXPECT_EQ(std::ranges::count(rig.services.log, "id-a read"), 1);
    EXPECT_EQ(std::ranges::count(rig.services.log, "keys let go"), 1);
    EXPECT_EQ(rig.ended, std::vector<int>{kExitCycleFailed});
}

TEST(SecondaryWindows, OneConfigAndOneEditorTheTrayReloadsOrEnds) {
    ShellRig rig;
    int endedAtOnce = 0;
    SecondaryWindows windows(rig.frm, rig.File(), [&] { ++endedAtOnce; });
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.frm.Config_Click();
    QPointer<form_Config> config = windows.config();
    rig.frm.Config_Click();
    ASSERT_TRUE(config && config->isVisible() && windows.config() == config);
    EXPECT_EQ(config->findChild<QComboBox*>("key1")->currentText(), "q");  // the key in use
    rig.frm.state.gearKeys[0] = AssignKey("y");  // as after a reload: a closed dialog starts afresh
    config->close();
    ASSERT_TRUE(WaitUntil([&] { return config.isNull(); }));
    rig.frm.Config_Click();
    EXPECT_EQ(windows.config()->findChild<QComboBox*>("key1")->currentText(), "y");

    rig.frm.editor_Click();
    Edit* editor = windows.editor();
    rig.frm.editor_Click();
    EXPECT_TRUE(editor && windows.editor() == editor);

    rig.Write("[keyconfig]\nkey3=k\n");
    windows.tray().form2().Refresh_Click();
    EXPECT_EQ(GearKey(rig.frm.state, 3).name, "k");
    windows.tray().form2().Close_Click();
    EXPECT_EQ(endedAtOnce, 1);
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
