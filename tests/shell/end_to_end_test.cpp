// The whole program in this process on the real services under Xvfb: SDL virtual controllers
// attached before the start-up, keys sent through XTest and seen by a second X client.
#include <gtest/gtest.h>

#include "engine/poll_cycle.h"
#include "shell/real_services.h"
#include "shell/secondary_windows.h"
#include "shell_rig.h"
#include "support/qt_wait.h"
#include "x11_rig.h"

namespace vantrel::testing {
namespace {

bool KeyBecomes(const char* key, bool down) {
    return WaitUntil([&] { return (KeysDown(key) == 1) == down; });
}

TEST(EndToEnd, ShiftingSwitchingReloadingUnpluggingAndClosingAsAnotherXClientSeesIt) {
    ASSERT_EQ(KeysDown(), 0) << "no X display, or keys held already";
    SettingsHome home;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    const auto services = CreateRealServices();
    {
        VirtualPad first("Twin Pad"), second("Twin Pad"), unplugged("Unplugged Pad");
        ASSERT_TRUE(unplugged.ok()) << SDL_GetError();
        frmMain frm;
        std::vector<int> ended;
        frm.endProgram = [&](int status) { ended.push_back(status); };
        SecondaryWindows windows(frm, home.File(), [] {});
        ASSERT_EQ(frm.Form_Load(*services), std::nullopt);
        frm.show();
        QListWidget* lines = frm.controls().lstJoySticks;
        ASSERT_EQ(lines->count(), 3);
        EXPECT_EQ(lines->item(0)->text() + lines->item(1)->text(), "Twin PadTwin Pad");
        ClickLine(lines, 0);
        first.Stick(kGear34, kLow);
        ASSERT_TRUE(
            WaitUntil([&] { return frm.controls().lstGear->item(2)->text() == "gear 3: 3"; }));
        EXPECT_TRUE(KeyBecomes("w", true));
        EXPECT_EQ(KeysDown(), 1);
        EXPECT_TRUE(frm.grab().save(VANTREL_BINARY_DIR "/tests/shell/main-window-gear3.png"));

        frm.controls().editor->click();
        Edit* editor = windows.editor();
        ASSERT_TRUE(editor && QTest::qWaitForWindowExposed(editor));
        first.Stick(kGear34 + 300, kLow);  // still gear 3
        EXPECT_TRUE(WaitUntil([&] { return editor->StickGear() == 3; }));
        QTest::qWait(50);  // the editor repaints at most every 16 ms
        EXPECT_TRUE(editor->grab().save(VANTREL_BINARY_DIR "/tests/shell/field-editor-live.png"));

        // Gear 3 gets another key while "w" is held: no gear has "w" any more, so it goes at
        // once, and the next cycle holds the new key.
        home.Write("[keyconfig]\nkey3=x\n");
        frm.controls().reload->click();
        EXPECT_EQ(KeysDown("w") + KeysDown("x"), 0);
        first.Stick(kGear34, kLow);
        EXPECT_TRUE(KeyBecomes("x", true));

        // The other line of the same name is the other controller: at rest, so the gear goes,
        // and the first one no longer counts.
        ClickLine(lines, 1);
        EXPECT_TRUE(KeyBecomes("x", false));
        first.Stick(kLow, kLow);
        second.Stick(kGear34, kHigh);
        ASSERT_TRUE(KeyBecomes("s", true));
        EXPECT_EQ(KeysDown(), 1);

        unplugged.Detach();  // since start-up: its line opens nothing and harms nothing
        ClickLine(lines, 2);
        EXPECT_EQ(frm.windowTitle(), kCaptionQuerying);
        EXPECT_EQ(frm.controls().lstGear->count(), 0);
        ClickLine(lines, 1);
        EXPECT_TRUE(WaitUntil([&] { return frm.windowTitle() == kCaptionAvailable; }));
        EXPECT_TRUE(KeyBecomes("s", true));

        second.Stick(0, 0);
        EXPECT_TRUE(KeyBecomes("s", false));
        frm.hide();  // put away, as "Minimize" does, it still shifts
        second.Stick(kLow, kHigh);
        EXPECT_TRUE(KeyBecomes("a", true));  // gear 2
        EXPECT_TRUE(WaitUntil([&] { return editor->StickGear() == 2; }));
        frm.close();
        EXPECT_EQ(ended, std::vector<int>{0});
        EXPECT_EQ(KeysDown(), 0);
    }
    frmMain frm;  // no controller any more
    MessageBoxWatch boxes;
    EXPECT_EQ(frm.Form_Load(*services), 0);
    EXPECT_EQ(boxes.seen, QStringList{"|No joystick attached.|1|modal"});
    EXPECT_FALSE(frm.isVisible());
    EXPECT_EQ(KeysDown(), 0);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
}  // namespace vantrel::testing
