// How a start goes, on fake services: --config, the XTest note, [output] mode; and Vantrel's own
// shifter is no controller to pick.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>

#include "app/app_session.h"
#include "backends/sdl/sdl_controller_service.h"
#include "doubles/virtual_pad.h"
#include "ports/shifter_identity.h"
#include "settings/config_path.h"
#include "support/qt_wait.h"
#include "support/temp_dir.h"
#include "windows/main_window/window_rig.h"

namespace vantrel::testing {
namespace {

using Log = FakeServices::Log;

// One controller attached.
struct Services : FakeServices {
    Services() { controllers.attached = {{"Pad", "id-a"}}; }
};

TEST(Start, ConfigFileIsReadReloadedAndSavedByTheDialogs) {
    SettingsHome home;
    const QTemporaryDir elsewhere;
    const std::filesystem::path file = elsewhere.filePath("rally.ini").toStdString();
    const auto write = [&](const char* text) { std::ofstream(file) << text; };
    write("[keyconfig]\nkey3=x\n");
    UseSettingsFile(file);
    {
        Services services;
        AppSession session(services, false, [] {});
        ASSERT_EQ(session.Start(), std::nullopt);
        MainWindow& window = session.mainWindow();
        EXPECT_EQ(GearKey(window.state, 3).name, "x");
        write("[keyconfig]\nkey3=y\n");
        window.controls().reloadButton->click();
        EXPECT_EQ(GearKey(window.state, 3).name, "y");

        // One dialog of each at a time; a closed key dialog starts afresh from the keys in use.
        window.controls().keysButton->click();
        QPointer<KeyAssignmentDialog> keys = session.windows().keyAssignment();
        window.controls().keysButton->click();
        ASSERT_TRUE(keys && keys->isVisible() && session.windows().keyAssignment() == keys);
        EXPECT_EQ(keys->findChild<QComboBox*>("key3")->currentText(), "y");
        window.state.gearKeys[0] = AssignKey("k");
        keys->close();
        ASSERT_TRUE(WaitUntil([&] { return keys.isNull(); }));
        window.controls().keysButton->click();
        session.windows().keyAssignment()->findChild<QPushButton*>("save")->click();
        window.controls().editorButton->click();
        GateEditor* editor = session.windows().gateEditor();
        window.controls().editorButton->click();
        ASSERT_TRUE(editor && session.windows().gateEditor() == editor);
        editor->findChild<QPushButton*>("save")->click();
    }
    UseSettingsFile({});
    const std::string saved = TempDir::Read(file);
    for (const char* line : {"key1=k", "key3=y", "g34l=2000"}) {
        EXPECT_NE(saved.find(line), std::string::npos) << saved;
    }
    EXPECT_FALSE(std::filesystem::exists(home.File())) << "the default file was written";
}

TEST(Start, XTestNoteOnAWaylandSessionOnlyNeverModalAndCanBeTurnedOff) {
    SettingsHome home;
    const std::string mine = "; mine\n[keyconfig]\nkey3=x\n";
    home.Write(mine);
    const struct {
        const char *type, *display;  // of the session
        bool tick;                   // "Do not show this again"
        bool shown;
    } starts[] = {
        {"x11", nullptr, false, false},
        {nullptr, "wayland-0", false, true},
        {"wayland", nullptr, true, true},
        {"wayland", "wayland-0", false, false},  // turned off
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(::testing::Message() << (start.type ? start.type : "-") << " "
                                          << (start.display ? start.display : "-"));
        for (const auto& [name, value] :
             {std::pair{"XDG_SESSION_TYPE", start.type}, {"WAYLAND_DISPLAY", start.display}}) {
            value ? ::setenv(name, value, 1) : ::unsetenv(name);
        }
        Services services;
        services.note = "Keys go through XTest.";
        AppSession session(services, false, [] {});
        ASSERT_EQ(session.Start(), std::nullopt);
        auto* box = session.mainWindow().findChild<QMessageBox*>("keyDeliveryNote");
        ASSERT_EQ(box != nullptr, start.shown);
        if (box == nullptr) continue;
        EXPECT_TRUE(box->isVisible() && !box->isModal());
        EXPECT_EQ(box->text(), "Keys go through XTest.");
        box->checkBox()->setChecked(start.tick);
        box->button(QMessageBox::Ok)->click();
        // Kept in config.ini beside the user's own lines.
        EXPECT_EQ(TempDir::Read(home.File()),
                  start.tick ? mine + "[notes]\nshow_xtest_note=0\n" : mine);
    }
    ::unsetenv("XDG_SESSION_TYPE");
    ::unsetenv("WAYLAND_DISPLAY");
}

// A main window whose config.ini asks for the outputs of `mode`.
struct OutputRig : ShellRig {
    explicit OutputRig(const char* mode, std::string shifterFailure = {}) {
        Write(std::string("[output]\nmode=") + mode + "\n");
        services.shifterFailure = std::move(shifterFailure);
    }
};

constexpr char kNoAccess[] = "cannot open /dev/uinput for writing (Permission denied)";

TEST(Outputs, ShifterModeMakesNoKeysDrivesTheShifterAndLetsItGoOnClose) {
    OutputRig rig("shifter");
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.window.show();
    rig.window.OnControllerLineChosen(0);  // the stick rests in gear 1's corner (0, 0)
    rig.window.close();
    EXPECT_EQ(rig.services.log,
              (Log{"shifter", "controllers", "notifications", "id-a opened", "id-a read", "gear 0",
                   "gear 1", "pump stopped", "shifter let go", "id-a closed",
                   "controllers destroyed", "shifter destroyed"}));
    EXPECT_EQ(rig.ended, std::vector<int>{0});
}

TEST(Outputs, WithoutAccessShifterModeEndsWithTheFixAndBothModeGoesOnWithKeys) {
    MessageBoxWatch boxes;
    {
        OutputRig rig("shifter", kNoAccess);
        EXPECT_EQ(rig.Start(), kExitStartUpFailed);
        EXPECT_EQ(rig.services.log, Log{"shifter"});
    }
    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_TRUE(boxes.seen[0].startsWith(
        "Vantrel|Vantrel cannot make its virtual shifter: cannot open /dev/uinput for writing "
        "(Permission denied).\n\n"))
        << boxes.seen[0].toStdString();
    EXPECT_TRUE(boxes.seen[0].contains("\n\n    sudo modprobe uinput && sudo "));
    EXPECT_TRUE(boxes.seen[0].endsWith("|1|modal"));

    OutputRig rig("both", kNoAccess);
    ASSERT_EQ(rig.Start(), std::nullopt);
    rig.window.show();
    ASSERT_TRUE(WaitUntil([&] { return boxes.seen.size() > 1; }));
    QTest::qWait(50);
    ASSERT_EQ(boxes.seen.size(), 2) << "said once";
    EXPECT_TRUE(boxes.seen[1].startsWith(
        "Vantrel|Vantrel's virtual shifter is off for this run: cannot open /dev/uinput for "
        "writing (Permission denied). Your gear keys work as usual."));
    EXPECT_TRUE(boxes.seen[1].endsWith("|modeless"));
    rig.window.OnControllerLineChosen(0);
    EXPECT_EQ(rig.services.keys->sent.size(), 18u);
}

TEST(Outputs, VantrelsOwnShifterIsNoControllerToPick) {
    SdlControllerService service;
    VirtualPad pad("Pad", 2, 4);
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.naxes = 2;
    desc.nbuttons = kShifterButtons;
    desc.vendor_id = kShifterVendor;
    desc.product_id = kShifterProduct;
    desc.name = kShifterName;
    const int shifter = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(shifter, 0);
    std::vector<std::string> listed;
    for (const AttachedController& d : service.Attached()) listed.push_back(d.name);
    EXPECT_EQ(listed, std::vector<std::string>{"Pad"});
    SDL_JoystickDetachVirtual(shifter);
}

}  // namespace
}  // namespace vantrel::testing
