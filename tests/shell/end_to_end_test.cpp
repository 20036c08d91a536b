// The whole program in this process on the real services under Xvfb: SDL virtual controllers
// attached before the start-up, keys sent through XTest and seen by a second X client.
#include <gtest/gtest.h>

#include "engine/poll_cycle.h"
#include "sdl/virtual_pad.h"
#include "shell/real_services.h"
#include "shell/secondary_windows.h"
#include "shell_rig.h"
#include "support/qt_wait.h"

// Last: Xlib's macros clash with Qt's names.
#include "support/x_observer.h"

namespace vantrel::testing {
namespace {

// Raw SDL axis values: kGear34 scales to about 3000 with the stick's dead zone and saturation, the
// ends to 0 and 10000, 0 to the centre.
constexpr int kGear34 = -14417, kLow = -32768, kHigh = 32767;

void Stick(VirtualPad& pad, int x, int y) {
    pad.SetAxis(0, x);
    pad.SetAxis(1, y);
}

TEST(EndToEnd, ShiftingSwitchingReloadingUnpluggingAndClosingAsAnotherXClientSeesIt) {
    XObserver x;  // a second X client
    ASSERT_TRUE(x.ok());
    const auto code = [&](const char* key) { return x.KeycodeOf(XStringToKeysym(key)); };
    // The cycles run while the event loop waits; x.WaitFor() waits without them.
    const auto keyBecomes = [&](const char* key, bool down) {
        return WaitUntil([&] { return x.IsDown(code(key)) == down; });
    };
    SettingsHome home;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    const auto services = CreateRealServices();
    {
        VirtualPad first("Vantrel Test Pad", 2, 4), second("Vantrel Test Pad", 2, 4),
            unplugged("Spare Pad", 2, 4);
        ASSERT_TRUE(unplugged.ok()) << SDL_GetError();
        frmMain frm;
        std::vector<int> ended;  // (the default would end this test's event loops)
        frm.endProgram = [&](int status) { ended.push_back(status); };
        SecondaryWindows windows(frm, home.File(), [] {});
        ASSERT_EQ(frm.Form_Load(*services), std::nullopt);
        frm.show();
        QListWidget* lines = frm.controls().lstJoySticks;
        ASSERT_EQ(lines->count(), 3);
        ClickLine(lines, 0);
        Stick(first, kGear34, kLow);
        ASSERT_TRUE(keyBecomes("w", true));  // the same cycle shows gear 3 engaged
        EXPECT_EQ(x.DownKeycodes().size(), 1u);
        EXPECT_TRUE(frm.grab().save(VANTREL_BINARY_DIR "/tests/shell/main-window-gear3.png"));

        frm.controls().editor->click();
        Edit* editor = windows.editor();
        ASSERT_TRUE(editor && QTest::qWaitForWindowExposed(editor));
        Stick(first, kGear34 + 300, kLow);  // still gear 3
        EXPECT_TRUE(WaitUntil([&] { return editor->StickGear() == 3; }));
        QTest::qWait(50);  // the editor repaints at most every 16 ms
        EXPECT_TRUE(editor->grab().save(VANTREL_BINARY_DIR "/tests/shell/field-editor-live.png"));

        // Gear 3 gets another key while "w" is held: no gear has "w" any more, so it goes at
        // once, and the next cycle holds the new key.
        home.Write("[keyconfig]\nkey3=x\n");
        frm.controls().reload->click();
        EXPECT_TRUE(x.WaitFor(code("w"), false));
        EXPECT_FALSE(x.IsDown(code("x")));
        Stick(first, kGear34, kLow);
        EXPECT_TRUE(keyBecomes("x", true));

        // The other line of the same name is the other controller: at rest, so the gear goes,
        // and the first one no longer counts.
        ClickLine(lines, 1);
        EXPECT_TRUE(keyBecomes("x", false));
        Stick(first, kLow, kLow);
        Stick(second, kGear34, kHigh);
        ASSERT_TRUE(keyBecomes("s", true));
        EXPECT_EQ(x.DownKeycodes().size(), 1u);

        unplugged.Detach();  // its line goes; the one in use drives on
        EXPECT_TRUE(WaitUntil([&] { return lines->count() == 2; }));
        EXPECT_TRUE(x.IsDown(code("s")));

        Stick(second, 0, 0);
        EXPECT_TRUE(keyBecomes("s", false));
        frm.hide();  // put away, as "Minimize" does, it still shifts
        Stick(second, kLow, kHigh);
        EXPECT_TRUE(keyBecomes("a", true));  // gear 2
        EXPECT_TRUE(WaitUntil([&] { return editor->StickGear() == 2; }));
        frm.close();
        EXPECT_EQ(ended, std::vector<int>{0});
        EXPECT_TRUE(x.WaitFor(code("a"), false));
        EXPECT_EQ(x.DownKeycodes().size(), 0u);
    }
    SettingsHome fresh;  // a first start: no controller remembered
    frmMain frm;         // and none attached
    MessageBoxWatch boxes;
    EXPECT_EQ(frm.Form_Load(*services), 0);
    EXPECT_EQ(boxes.seen, QStringList{"|No joystick attached.|1|modal"});
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
}  // namespace vantrel::testing
