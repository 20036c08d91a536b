// How a start shows Vantrel, on fake services under Xvfb: `--minimized` puts it in the tray (or
// minimizes it where there is no tray) with the application icon, and a later start brings it
// back; `--config FILE` is the file of every settings read and write; the XTest note comes on a
// Wayland session only, blocks nothing, and can be turned off for good.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <algorithm>

#include "cli/tray_host.h"
#include "services/config_path.h"
#include "shell/app_icon.h"
#include "shell/app_session.h"
#include "shell/shell_rig.h"
#include "shell/tray/module1.h"

namespace vantrel::testing {
namespace {

struct Services : FakeServices {
    Services() { controllers.attached = {{"Pad", "id-a"}}; }
    std::string KeyDeliveryNote() const override { return note; }
    std::string note;
};

std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

QImage Picture(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

TEST(Start, MinimizedGoesToTheTrayOrAMinimizedWindowAndALaterStartBringsItBack) {
    SettingsHome home;
    // The packaged picture itself: the lever's knob is orange, the gate's slots light.
    const QImage icon = Picture(ApplicationIcon());
    ASSERT_FALSE(icon.isNull()) << "no SVG icon engine";
    EXPECT_EQ(icon.pixelColor(6, 3), QColor(0xf0, 0x8a, 0x24));
    EXPECT_EQ(icon.pixelColor(3, 10), QColor(0xe6, 0xea, 0xee));

    {  // No tray on this desktop yet.
        Services services;
        AppSession session(services, true, [] {});
        ASSERT_EQ(session.Start(), std::nullopt);
        EXPECT_TRUE(session.main().waitForController);
        EXPECT_TRUE(session.main().isVisible() && session.main().isMinimized());
        EXPECT_NE(session.windows().tray().noTrayMessage(), nullptr);
        session.ShowMainWindow();
        EXPECT_TRUE(session.main().isVisible() && !session.main().isMinimized());
    }
    TrayHost tray;
    ASSERT_TRUE(tray.ready) << "trayer did not provide a system tray";
    Services services;
    AppSession session(services, true, [] {});
    ASSERT_EQ(session.Start(), std::nullopt);
    EXPECT_FALSE(session.main().isVisible());
    ASSERT_NE(TrayIcon(), nullptr);
    EXPECT_EQ(Picture(TrayIcon()->icon()), icon);
    EXPECT_EQ(Picture(session.main().windowIcon()), icon);
    session.ShowMainWindow();
    EXPECT_TRUE(session.main().isVisible());
    EXPECT_FALSE(session.windows().tray().form1()->isVisible());
    EXPECT_NE(TrayIcon(), nullptr);  // still there, like after "&Normal View"
}

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
        frmMain& frm = session.main();
        EXPECT_EQ(frm.state.key3, "x");
        write("[keyconfig]\nkey3=y\n");
        frm.controls().reload->click();
        EXPECT_EQ(frm.state.key3, "y");
        write("[keyconfig]\nkey3=k\n");
        session.windows().tray().form2().Refresh->trigger();
        EXPECT_EQ(frm.state.key3, "k");

        frm.controls().Config->click();
        session.windows().config()->findChild<QPushButton*>("save")->click();
        frm.controls().editor->click();
        session.windows().editor()->findChild<QPushButton*>("Command17")->click();
    }
    UseSettingsFile({});
    const std::string saved = Read(file);
    EXPECT_NE(saved.find("key1=q"), std::string::npos) << saved;
    EXPECT_NE(saved.find("key3=k"), std::string::npos) << saved;
    EXPECT_NE(saved.find("g34l=2000"), std::string::npos) << saved;
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
        auto* box = session.main().findChild<QMessageBox*>("keyDeliveryNote");
        ASSERT_EQ(box != nullptr, start.shown);
        if (box == nullptr) continue;
        EXPECT_TRUE(box->isVisible() && !box->isModal());
        EXPECT_EQ(box->text(), "Keys go through XTest.");
        // The main window goes on working while the note is open.
        session.main().controls().about->click();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(std::ranges::any_of(QApplication::topLevelWidgets(), [](QWidget* w) {
            return w->objectName() == "Form_About" && w->isVisible();
        }));
        box->checkBox()->setChecked(start.tick);
        box->button(QMessageBox::Ok)->click();
        // Kept in config.ini beside the user's own lines.
        EXPECT_EQ(Read(home.File()), start.tick ? mine + "[notes]\nshow_xtest_note=0\n" : mine);
    }
    ::unsetenv("XDG_SESSION_TYPE");
    ::unsetenv("WAYLAND_DISPLAY");
}

}  // namespace
}  // namespace vantrel::testing
