// The whole program in this process on the real services, under Xvfb: SDL virtual controllers
// attached before the start-up, keys through XTest, observed on a second X connection.
#include <SDL.h>
#include <gtest/gtest.h>

#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/poll_cycle.h"
#include "message_box_watch.h"
#include "services/config_path.h"
#include "shell/frm_main.h"
#include "shell/real_services.h"
#include "shell/secondary_windows.h"
#include "support/qt_wait.h"
#include "x_keys.h"

namespace vantrel {
namespace {

using testing::MessageBoxWatch;
using testing::WaitUntil;
using testing::XKeys;

// Raw SDL values: -14417 scales to about 3000 with the dead zone and saturation of the stick
// axes; -32768 and 32767 to 0 and 10000; 0 to the centre.
constexpr int kGear34Column = -14417;
constexpr int kLeft = -32768;
constexpr int kTop = -32768;
constexpr int kBottom = 32767;

class VirtualPad {
  public:
    explicit VirtualPad(const char* name) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = 2;
        desc.nbuttons = 4;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        id_ = SDL_JoystickGetDeviceInstanceID(index);
        joystick_ = SDL_JoystickOpen(index);
    }
    ~VirtualPad() { Detach(); }
    bool ok() const { return joystick_ != nullptr; }
    void Stick(int x, int y) {
        SDL_JoystickSetVirtualAxis(joystick_, 0, static_cast<Sint16>(x));
        SDL_JoystickSetVirtualAxis(joystick_, 1, static_cast<Sint16>(y));
    }
    void Detach() {
        if (!joystick_) return;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id_) SDL_JoystickDetachVirtual(i);
        }
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
    }

  private:
    SDL_JoystickID id_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

class EndToEnd : public ::testing::Test {
  protected:
    EndToEnd() {
        ::setenv("XDG_CONFIG_HOME", home_.path().toUtf8().constData(), 1);
        ::setenv("VANTREL_KEY_BACKEND", "xtest", 1);
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);  // virtual controllers exist before the start-up
    }
    ~EndToEnd() override {
        frm_.reset();
        pads_.clear();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    VirtualPad& Attach(const char* name) {
        pads_.push_back(std::make_unique<VirtualPad>(name));
        EXPECT_TRUE(pads_.back()->ok()) << SDL_GetError();
        return *pads_.back();
    }

    void WriteSettings(const std::string& text) {
        const std::filesystem::path dir = home_.path().toStdString() + "/vantrel";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "config.ini") << text;
    }

    std::optional<int> Start() {
        frm_ = std::make_unique<frmMain>();
        frm_->endProgram = [this](int status) { ended_.push_back(status); };
        return frm_->Form_Load(*services_);
    }

    QListWidget* Lines() { return frm_->controls().lstJoySticks; }
    QString Row(QListWidget* list, int row) {
        return row < list->count() ? list->item(row)->text() : QString();
    }
    void Click(int line) {
        QTest::mouseClick(Lines()->viewport(), Qt::LeftButton, {},
                          Lines()->visualItemRect(Lines()->item(line)).center());
    }
    bool GearShows(int gear, int sum) {
        return WaitUntil([&] {
            return Row(frm_->controls().lstGear, gear - 1) ==
                   QString("gear %1: %2").arg(gear).arg(sum);
        });
    }
    bool KeyBecomes(const char* key, bool down) {
        return WaitUntil([&] { return x_.IsDown(key) == down; });
    }

    QTemporaryDir home_;
    std::unique_ptr<ServiceFactory> services_ = CreateRealServices();
    std::vector<std::unique_ptr<VirtualPad>> pads_;
    std::unique_ptr<frmMain> frm_;
    std::vector<int> ended_;
    XKeys x_;
};

TEST_F(EndToEnd, StickIntoGearThreeHoldsItsKeyAndClosingLetsGo) {
    ASSERT_TRUE(x_.ok());
    VirtualPad& pad = Attach("Vantrel Test Pad");
    ASSERT_EQ(Start(), std::nullopt);
    frm_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_.get()));
    ASSERT_EQ(Lines()->count(), 1);
    EXPECT_EQ(Row(Lines(), 0), "Vantrel Test Pad");
    EXPECT_EQ(Lines()->currentRow(), -1);

    Click(0);
    EXPECT_TRUE(WaitUntil([&] { return frm_->windowTitle() == kCaptionAvailable; }));
    EXPECT_EQ(Row(frm_->controls().lstJoyAxis, 0), "X: 5000");

    pad.Stick(kGear34Column, kTop);
    ASSERT_TRUE(GearShows(3, 3));
    const int x = Row(frm_->controls().lstJoyAxis, 0).mid(3).toInt();
    EXPECT_GE(x, 2000);
    EXPECT_LE(x, 4000);
    EXPECT_EQ(Row(frm_->controls().lstJoyAxis, 1), "Y: 0");
    EXPECT_EQ(Row(frm_->controls().lstButton, 0), "Button 1: Up");
    EXPECT_TRUE(KeyBecomes("w", true));
    EXPECT_EQ(x_.DownCount(), 1);
    EXPECT_TRUE(frm_->grab().save(VANTREL_BINARY_DIR "/tests/shell/main-window-gear3.png"));

    pad.Stick(0, 0);
    ASSERT_TRUE(GearShows(3, 1));
    EXPECT_TRUE(KeyBecomes("w", false));
    EXPECT_EQ(x_.DownCount(), 0);

    // Put away (as "Minimize" does), the window still shifts.
    frm_->hide();
    pad.Stick(kLeft, kBottom);  // gear 2
    ASSERT_TRUE(KeyBecomes("a", true));
    EXPECT_TRUE(GearShows(2, 2));
    frm_->show();
    frm_->close();
    EXPECT_EQ(ended_, std::vector<int>{0});
    EXPECT_FALSE(x_.IsDown("a"));
    EXPECT_EQ(x_.DownCount(), 0);
}

TEST_F(EndToEnd, SameNamedControllersAreEachTheirOwnAndOnlyTheChosenOneShifts) {
    VirtualPad& first = Attach("Twin Pad");
    VirtualPad& second = Attach("Twin Pad");
    VirtualPad& third = Attach("Unplugged Pad");
    ASSERT_EQ(Start(), std::nullopt);
    frm_->show();
    ASSERT_EQ(Lines()->count(), 3);
    EXPECT_EQ(Row(Lines(), 0), "Twin Pad");
    EXPECT_EQ(Row(Lines(), 1), "Twin Pad");

    Click(0);
    first.Stick(kGear34Column, kTop);
    ASSERT_TRUE(KeyBecomes("w", true));

    // The second line is the other controller: at rest, so the gear is let go.
    Click(1);
    EXPECT_TRUE(KeyBecomes("w", false));
    first.Stick(kLeft, kTop);  // the first one no longer counts
    second.Stick(kGear34Column, kBottom);
    ASSERT_TRUE(KeyBecomes("s", true));
    EXPECT_FALSE(x_.IsDown("q"));

    // A controller unplugged since start-up: its line opens nothing and harms nothing.
    third.Detach();
    Click(2);
    EXPECT_EQ(frm_->windowTitle(), kCaptionQuerying);
    EXPECT_EQ(frm_->controls().lstGear->count(), 0);
    Click(1);
    EXPECT_TRUE(WaitUntil([&] { return frm_->windowTitle() == kCaptionAvailable; }));
    EXPECT_TRUE(x_.IsDown("s"));
    frm_->close();
    EXPECT_EQ(x_.DownCount(), 0);
}

TEST_F(EndToEnd, ReloadTakesEffectAtTheNextCycle) {
    WriteSettings("[keyconfig]\nkey3=w\n");
    VirtualPad& pad = Attach("Vantrel Test Pad");
    ASSERT_EQ(Start(), std::nullopt);
    frm_->show();
    Click(0);
    pad.Stick(kGear34Column, kTop);
    ASSERT_TRUE(KeyBecomes("w", true));

    // Gear 4's key changes: the reload sends nothing, the held "w" stays.
    WriteSettings("[keyconfig]\nkey3=w\nkey4=c\n");
    frm_->controls().reload->click();
    EXPECT_TRUE(x_.IsDown("w"));

    // Gear 3's key changes while it is held: no gear has "w" any more, so it is let go at once,
    // and the next cycle holds the new key.
    WriteSettings("[keyconfig]\nkey3=x\n");
    frm_->controls().reload->click();
    EXPECT_FALSE(x_.IsDown("w"));
    EXPECT_FALSE(x_.IsDown("x"));
    pad.Stick(kGear34Column + 300, kTop);  // still gear 3
    EXPECT_TRUE(KeyBecomes("x", true));
    EXPECT_EQ(x_.DownCount(), 1);
    frm_->close();
    EXPECT_EQ(x_.DownCount(), 0);
}

TEST_F(EndToEnd, FieldEditorShowsTheLiveStickOfARealController) {
    VirtualPad& pad = Attach("Vantrel Test Pad");
    ASSERT_EQ(Start(), std::nullopt);
    SecondaryWindows windows(*frm_, SettingsFilePath(), [] {});
    frm_->show();
    Click(0);
    frm_->controls().editor->click();
    Edit* editor = windows.editor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));

    pad.Stick(kGear34Column, kTop);
    EXPECT_TRUE(WaitUntil([&] { return editor->StickGear() == 3; }));
    ASSERT_TRUE(KeyBecomes("w", true));
    QTest::qWait(50);  // the editor repaints at most every 16 ms
    EXPECT_TRUE(editor->grab().save(VANTREL_BINARY_DIR "/tests/shell/field-editor-live.png"));

    pad.Stick(kLeft, kBottom);
    EXPECT_TRUE(WaitUntil([&] { return editor->StickGear() == 2; }));
    frm_->close();
}

TEST_F(EndToEnd, NoControllerSaysSoAndEndsBeforeTheWindowIsShown) {
    MessageBoxWatch boxes;
    EXPECT_EQ(Start(), 0);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "No joystick attached.");
    EXPECT_FALSE(frm_->isVisible());
    EXPECT_EQ(x_.DownCount(), 0);
}

}  // namespace
}  // namespace vantrel
