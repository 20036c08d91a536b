// Start-up, selection, reload, cycle failure and shutdown of the main window on fake services.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "engine/poll_cycle.h"
#include "message_box_watch.h"
#include "shell_test_rig.h"
#include "support/qt_wait.h"

namespace vantrel {
namespace {

using testing::MessageBoxWatch;
using testing::ShellRig;
using testing::WaitUntil;

QStringList Rows(QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

void ClickLine(QListWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

TEST(StartUp, RunsItsStepsInOrderAndLeavesTheWindowToShow) {
    ShellRig rig;
    rig.WriteSettings("[keyconfig]\nkey3=x\n");
    rig.frm.state.links = rig.frm.state.midden22 = 1;
    EXPECT_EQ(rig.Start(), std::nullopt);
    EXPECT_EQ(rig.services.log, (std::vector<std::string>{"keys", "controllers", "notifications"}));
    EXPECT_EQ(rig.frm.state.links, 0);
    EXPECT_EQ(rig.frm.state.midden22, 0);
    EXPECT_EQ(rig.frm.state.key3, "x");
    EXPECT_EQ(rig.frm.state.gearbot, 9800);
    EXPECT_EQ(rig.frm.controllerLayer()->pollActive, kTrue);
    EXPECT_EQ(Rows(rig.frm.controls().lstJoySticks), (QStringList{"Pad", "Pad"}));
    EXPECT_FALSE(rig.frm.isVisible());
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
}

TEST(StartUp, NoControllerSaysSoAndEndsBeforeTheWindowIsShown) {
    ShellRig rig;
    rig.services.controllers.attached.clear();
    MessageBoxWatch boxes;
    EXPECT_EQ(rig.Start(), 0);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "No joystick attached.");
    EXPECT_EQ(boxes.seen[0].buttons, 1);
    EXPECT_FALSE(rig.frm.isVisible());
    EXPECT_EQ(rig.services.keys.releaseAllCalls, 1);
    EXPECT_EQ(rig.services.log,
              (std::vector<std::string>{"keys", "controllers", "controllers destroyed",
                                        "keys destroyed"}));
    // The window never runs its shutdown a second time.
    rig.frm.close();
    EXPECT_TRUE(rig.ended.empty());
}

TEST(StartUp, AFailedStepIsReportedAndEndsWithAFailureStatus) {
    {
        ShellRig rig;
        rig.services.keyFailure = "Vantrel cannot send keys: no X display and no /dev/uinput.";
        MessageBoxWatch boxes;
        EXPECT_EQ(rig.Start(), kExitStartUpFailed);
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].text, rig.services.keyFailure);
        EXPECT_EQ(rig.services.log, (std::vector<std::string>{"keys"}));
    }
    {
        ShellRig rig;
        rig.services.controllerFailure = std::make_unique<ServiceError>(
            2001, "Vantrel cannot read game controllers: SDL did not start.");
        MessageBoxWatch boxes;
        EXPECT_EQ(rig.Start(), kExitStartUpFailed);
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].text,
                  "Vantrel cannot read game controllers: SDL did not start. (error 2001)");
        EXPECT_EQ(rig.services.keys.releaseAllCalls, 1);
        EXPECT_EQ(rig.services.log.back(), "keys destroyed");
        EXPECT_FALSE(rig.frm.isVisible());
    }
}

TEST(StartUp, SettingsReportIsShownOnceWithoutHoldingUpTheEngine) {
    ShellRig rig;
    rig.WriteSettings("[fields]\ng34l=wide\n");
    ASSERT_EQ(rig.Start(), std::nullopt);  // returned: the report does not wait for the user
    rig.frm.show();
    QMessageBox* report = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        report = rig.frm.findChild<QMessageBox*>("settingsReport");
        return report && report->isVisible();
    }));
    EXPECT_EQ(report->windowModality(), Qt::NonModal);
    EXPECT_NE(report->informativeText().indexOf("g34l=wide"), -1);

    // The controller is chosen and driven while the report stays open.
    ClickLine(rig.frm.controls().lstJoySticks, 0);
    rig.services.controllers.Notify();
    EXPECT_EQ(rig.frm.windowTitle(), kCaptionAvailable);
    EXPECT_TRUE(report->isVisible());
    EXPECT_EQ(rig.frm.findChildren<QMessageBox*>().size(), 1);
}

TEST(Selection, ClickClearsThePlaceholdersAndTheCycleFillsTheLists) {
    ShellRig rig;
    rig.services.controllers.setups["id-b"].next.x = 3000;
    rig.services.controllers.setups["id-b"].next.buttons[0] = 1;
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.frm.show();
    const MainWindowControls& c = rig.frm.controls();
    EXPECT_EQ(Rows(c.lstJoyAxis), QStringList{"lstJoyAxis"});
    QSignalSpy completed(&rig.frm, &frmMain::cycleCompleted);

    ClickLine(c.lstJoySticks, 1);
    EXPECT_EQ(Rows(c.lstJoyAxis), (QStringList{"X: 3000", "Y: 0"}));
    ASSERT_EQ(c.lstButton->count(), 12);
    EXPECT_EQ(c.lstButton->item(0)->text(), "Button 1: Down");
    EXPECT_EQ(c.lstGear->count(), 9);
    EXPECT_EQ(c.lstGear->item(2)->text(), "gear 3: 3");
    EXPECT_EQ(rig.frm.windowTitle(), kCaptionAvailable);
    ASSERT_EQ(completed.size(), 1);
    EXPECT_EQ(completed[0][0].value<DIJOYSTATE>().x, 3000);
    EXPECT_EQ(rig.services.controllers.liveDevices, 1);

    // Clicking the chosen line again reopens it. The keyboard picks a line with Enter only: the
    // program's own gear keys (letters, arrows) reach the list when the window has the focus.
    std::vector<std::string> log;
    rig.services.controllers.log = &log;
    ClickLine(c.lstJoySticks, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"id-b Unacquire", "id-b released", "id-b opened",
                                             "id-b read"}));
    log.clear();
    c.lstJoySticks->setFocus();
    QTest::keyClick(c.lstJoySticks, Qt::Key_Up);
    QTest::keyClick(c.lstJoySticks, Qt::Key_W);
    QTest::keyClick(c.lstJoySticks, Qt::Key_P);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(c.lstJoySticks->currentRow(), 0);
    QTest::keyClick(c.lstJoySticks, Qt::Key_Return);
    EXPECT_EQ(log, (std::vector<std::string>{"id-b Unacquire", "id-b released", "id-a opened",
                                             "id-a read"}));
    rig.services.controllers.log = nullptr;
}

TEST(Display, UnchangedRowsAreNotRewritten) {
    ShellRig rig;
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.frm.lstJoySticks_Click(0);
    int changes = 0;
    for (QListWidget* list : {rig.frm.controls().lstJoyAxis, rig.frm.controls().lstButton,
                              rig.frm.controls().lstGear}) {
        QObject::connect(list->model(), &QAbstractItemModel::dataChanged, [&] { ++changes; });
    }
    rig.services.controllers.Notify();
    EXPECT_EQ(changes, 0);
    rig.services.controllers.newest->next.x = 50;  // the same gate fields: only the X row changes
    rig.services.controllers.Notify();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(rig.frm.controls().lstJoyAxis->item(0)->text(), "X: 50");
}

TEST(Reload, LoadsOnlyTheSettingsAndTheNextCycleUsesThem) {
    ShellRig rig;
    rig.services.controllers.setups["id-a"].next.x = 3000;  // gear 3
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.frm.lstJoySticks_Click(0);
    EXPECT_EQ(std::count(rig.services.keys.sent.begin(), rig.services.keys.sent.end(), "{w down}"),
              1);

    // Unchanged keys: the reload itself sends nothing.
    rig.services.keys.sent.clear();
    rig.frm.controls().reload->click();
    EXPECT_TRUE(rig.services.keys.sent.empty());

    // Gear 3 gets another key while "w" is held: "w" is no gear's key any more, so the reload
    // lets it go (the cycles never would); a key that only changed its spelling stays.
    rig.WriteSettings("[keyconfig]\nkey3=F5\nkey1=Q\n");
    rig.frm.controls().reload->click();
    EXPECT_EQ(rig.frm.state.key3, "F5");
    EXPECT_EQ(rig.services.keys.sent, std::vector<std::string>{"{w up}"});
    rig.services.keys.sent.clear();
    EXPECT_EQ(rig.services.controllers.liveDevices, 1);
    rig.services.controllers.Notify();
    EXPECT_EQ(std::count(rig.services.keys.sent.begin(), rig.services.keys.sent.end(), "{F5 down}"),
              2);

    // A setting that cannot be used is reported in a box that does not wait; a newer report
    // replaces an older one.
    rig.WriteSettings("[keyconfig]\nkey3=nokey\n");
    rig.frm.reload_Click();
    rig.WriteSettings("[keyconfig]\nkey4=nokey4\n");
    rig.frm.reload_Click();
    QCoreApplication::processEvents();
    QList<QMessageBox*> reports;
    for (auto* box : rig.frm.findChildren<QMessageBox*>("settingsReport")) {
        if (box->isVisible()) reports << box;
    }
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0]->windowModality(), Qt::NonModal);
    EXPECT_NE(reports[0]->informativeText().indexOf("key4=nokey4"), -1);
}

TEST(CycleFailure, ShowsTheErrorNoCycleWhileOpenThenEndsWithKeysLetGo) {
    ShellRig rig;
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.frm.show();
    rig.frm.lstJoySticks_Click(0);
    int readsWhileOpen = -1;
    MessageBoxWatch boxes([&](QMessageBox&) {
        const int before = rig.services.controllers.newest->reads;
        rig.services.controllers.Notify();
        rig.frm.lstJoySticks_Click(0);  // the window is blocked; even a direct call runs no cycle
        readsWhileOpen =
            rig.services.controllers.newest ? rig.services.controllers.newest->reads - before : 0;
    });
    rig.services.keys.FailOnCall(4);
    rig.services.controllers.Notify();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "The key could not be sent : 1001");
    EXPECT_EQ(boxes.seen[0].title, "");
    EXPECT_EQ(boxes.seen[0].buttons, 1);
    EXPECT_TRUE(boxes.seen[0].modal);
    EXPECT_EQ(readsWhileOpen, 0);
    EXPECT_GE(rig.services.keys.releaseAllCalls, 1);
    EXPECT_EQ(rig.ended, std::vector<int>{kExitCycleFailed});
    EXPECT_EQ(rig.frm.controllerLayer()->pollActive, kFalse);
}

TEST(Shutdown, ClosingLetsEveryKeyGoReleasesEverythingAndEndsWithStatusZero) {
    ShellRig rig;
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.frm.show();
    rig.frm.lstJoySticks_Click(1);
    rig.services.controllers.log = &rig.services.log;
    rig.frm.close();
    EXPECT_EQ(rig.ended, std::vector<int>{0});
    EXPECT_FALSE(rig.services.controllers.receiver);
    EXPECT_EQ(rig.services.keys.releaseAllCalls, 1);
    EXPECT_EQ(rig.services.log,
              (std::vector<std::string>{"keys", "controllers", "notifications", "pump stopped",
                                        "id-b Unacquire", "id-b released", "controllers destroyed",
                                        "keys destroyed"}));
    EXPECT_EQ(rig.services.controllers.liveDevices, 0);
    rig.services.controllers.log = nullptr;
    // Buttons that still get a click on the way out find nothing to act on.
    rig.frm.lstJoySticks_Click(0);
    rig.frm.reload_Click();
    EXPECT_EQ(rig.ended.size(), 1u);
}

TEST(Buttons, HandOverToTheOtherWindowsThroughTheirHooks) {
    frmMain frm;
    frm.show();
    frm.controls().Config->click();  // unset hooks: nothing happens
    frm.controls().editor->click();
    frm.controls().min_btn->click();
    EXPECT_TRUE(frm.isVisible());

    std::vector<std::string> calls;
    frm.showConfig = [&] { calls.push_back("config"); };
    frm.showEditor = [&] { calls.push_back("editor"); };
    frm.minimizeToTray = [&] {
        calls.push_back("tray");
        frm.hide();
    };
    frm.controls().Config->click();
    frm.controls().editor->click();
    frm.controls().min_btn->click();
    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(calls, (std::vector<std::string>{"config", "editor", "tray"}));
}

}  // namespace
}  // namespace vantrel
