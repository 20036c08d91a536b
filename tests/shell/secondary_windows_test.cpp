// The main window's buttons open one key dialog, one field editor fed with the live stick, and
// the tray; closed windows start afresh.
#include "shell/secondary_windows.h"
#include "shell/key_delivery_note.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "shell_test_rig.h"
#include "support/qt_wait.h"

namespace vantrel {
namespace {

using testing::ShellRig;
using testing::WaitUntil;

struct WindowsRig : ShellRig {
    WindowsRig() : windows(frm, SettingsFile(), [this] { ++endedAtOnce; }) {}
    std::filesystem::path SettingsFile() const {
        return std::filesystem::path(home.path().toStdString()) / "vantrel" / "config.ini";
    }
    SecondaryWindows windows;
    int endedAtOnce = 0;
};

TEST(SecondaryWindows, ConfigIsOneDialogFromTheKeysInUseAndCloseStartsAfresh) {
    WindowsRig rig;
    rig.WriteSettings("[keyconfig]\nkey1=x\n");
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.frm.Config_Click();
    form_Config* first = rig.windows.config();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->findChild<QComboBox*>("key1")->currentText(), "x");
    rig.frm.Config_Click();
    EXPECT_EQ(rig.windows.config(), first) << "a second press opens no second dialog";

    rig.frm.state.key1 = "y";  // as after a reload
    first->close();
    ASSERT_TRUE(WaitUntil([&] { return rig.windows.config() == nullptr; }));
    rig.frm.Config_Click();
    ASSERT_NE(rig.windows.config(), nullptr);
    EXPECT_EQ(rig.windows.config()->findChild<QComboBox*>("key1")->currentText(), "y");
}

TEST(SecondaryWindows, EditorFollowsTheStickOfEveryCompletedCycle) {
    WindowsRig rig;
    rig.services.controllers.setups["id-a"].next.x = 3000;
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.frm.editor_Click();
    Edit* editor = rig.windows.editor();
    ASSERT_NE(editor, nullptr);
    rig.frm.editor_Click();
    EXPECT_EQ(rig.windows.editor(), editor);

    rig.frm.lstJoySticks_Click(0);
    ASSERT_TRUE(editor->StickPosition().has_value());
    EXPECT_EQ(editor->StickPosition()->x(), 3000);
    EXPECT_EQ(editor->StickGear(), 3);

    rig.services.controllers.newest->next.x = 0;
    rig.services.controllers.newest->next.y = 10000;
    rig.services.controllers.Notify();
    EXPECT_EQ(editor->StickGear(), 2);
}

TEST(SecondaryWindows, TrayReloadIsTheMainWindowsReload) {
    WindowsRig rig;
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.WriteSettings("[keyconfig]\nkey3=k\n");
    rig.windows.tray().form2().Refresh_Click();
    EXPECT_EQ(rig.frm.state.key3, "k");
    rig.windows.tray().form2().Close_Click();
    EXPECT_EQ(rig.endedAtOnce, 1);
}

TEST(KeyDeliveryNote, OnlyWhenXTestWasTheFallbackWithTheCommandThatFitsTheSystem) {
    EXPECT_EQ(KeyDeliveryNote("uinput", false, false), "");
    EXPECT_EQ(KeyDeliveryNote("XTest", true, false), "") << "the user chose XTest";
    const std::string withRule = KeyDeliveryNote("XTest", false, true);
    EXPECT_NE(withRule.find("sudo modprobe uinput && sudo udevadm trigger"), std::string::npos);
    EXPECT_NE(withRule.find("Wayland"), std::string::npos);
    EXPECT_NE(KeyDeliveryNote("XTest", false, false).find("setfacl"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
