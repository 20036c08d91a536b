// What reaches the screen under a busy stick: the lists and the field editor follow at the
// screen's pace and end on the last reading, while the keys follow every report at once.
#include <gtest/gtest.h>

#include <QImage>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "controller/controller_layer.h"
#include "engine/poll_cycle.h"
#include "support/qt_wait.h"
#include "windows/main_window/window_rig.h"
#include "windows/secondary_windows.h"

namespace vantrel::testing {
namespace {

// Wide fields, so that the dot and the lit field are easy to find in the editor's picture.
constexpr const char* kWideGate =
    "[fields]\ng12r=2000\ng34l=2500\ng34r=5000\ng56l=5500\ng56r=7500\ng78l=8000\ngtop=4000\n"
    "gbot=6000\n";

struct DrawingRig : ShellRig {
    DrawingRig() {
        Write(kWideGate);
        EXPECT_EQ(Start(), std::nullopt);
        window.show();
        window.ShowGateEditor();
        editor = windows.gateEditor();
        window.OnControllerLineChosen(0);
    }
    // One report of the open controller.
    void Report(int x, int y, bool button2 = false) {
        FakeControllerService::Opened& device = *services.controllers.newest;
        device.next = StickAt(x, y);
        device.next.buttons[1] = button2;
        services.keys->sent.clear();
        services.controllers.Notify();
    }
    QString Row(QListWidget* list, int row) const {
        return row < list->count() ? list->item(row)->text() : QString();
    }
    // The screen shows the three lists as they are now drawn afresh: no line left behind.
    bool ListsOnScreenAreCurrent() const {
        for (QListWidget* list : {c.axisList, c.buttonList, c.gearList}) {
            const QRect place = list->geometry();
            const QImage shown = window.screen()
                                     ->grabWindow(window.winId(), place.x(), place.y(),
                                                  place.width(), place.height())
                                     .toImage();
            const QImage fresh = list->grab().toImage();
            if (shown.convertToFormat(fresh.format()) != fresh) return false;
        }
        return true;
    }
    // What the screen shows of the editor: the offscreen platform grabs the window's last drawn
    // picture. Points are in axis units; one pixel is fifteen.
    QImage Shown() const { return editor->screen()->grabWindow(editor->winId()).toImage(); }
    QColor Pixel(double x, double y) const {
        return Shown().pixelColor(QPointF(x / 15, y / 15).toPoint());
    }
    // The red dot's pixels, all of them near this point; none when `x` is negative.
    bool DotOnlyAt(double x, double y) const {
        const QImage shown = Shown();
        int near = 0, far = 0;
        for (int py = 0; py < shown.height(); ++py) {
            for (int px = 0; px < shown.width(); ++px) {
                if (shown.pixelColor(px, py) != QColor(211, 47, 47)) continue;
                (std::hypot(px - x / 15, py - y / 15) < 9 ? near : far) += 1;
            }
        }
        return far == 0 && (x < 0 ? near == 0 : near > 0);
    }

    SecondaryWindows windows{window, File(), [] {}};
    GateEditor* editor = nullptr;
    const MainWindowControls& c = window.controls();
};

std::string LastPressed(const std::vector<std::string>& sent) {
    const auto it = std::find_if(sent.rbegin(), sent.rend(),
                                 [](const std::string& s) { return s.ends_with(" down}"); });
    return it == sent.rend() ? "none" : *it;
}

TEST(Drawing, HiddenWindowsCatchUpKeysFollowEveryReportTheScreenTheLastAndClearedListsStay) {
    DrawingRig rig;
    ASSERT_TRUE(rig.editor);
    rig.window.hide();  // as "Minimize" does
    rig.editor->hide();
    for (int x = 6000; x <= 6100; x += 10) rig.Report(x, 2000, true);
    rig.window.show();
    rig.editor->show();
    EXPECT_TRUE(WaitUntil([&] { return rig.Row(rig.c.axisList, 0) == "X: 6100"; }));
    EXPECT_TRUE(WaitUntil([&] { return rig.ListsOnScreenAreCurrent(); }));
    EXPECT_TRUE(WaitUntil([&] { return rig.DotOnlyAt(6100, 2000); }));
    for (int x = 6110; x <= 6500; x += 10) rig.Report(x, 2000, true);  // within the field
    EXPECT_TRUE(WaitUntil([&] { return rig.DotOnlyAt(6500, 2000); }));

    // The stick swings between gears 3 and 5 as fast as cycles run, without the event loop.
    for (int i = 0; i <= 300; ++i) {
        const bool third = i % 2 == 0;
        rig.Report(third ? 3000 + i : 6000 + i, 2000, i % 3 == 0);
        ASSERT_EQ(LastPressed(rig.services.keys->sent), third ? "{w down}" : "{e down}") << i;
    }
    // Stopped on gear 3 at x 3300 with button 2 down: drawn within a frame or so.
    EXPECT_TRUE(WaitUntil([&] { return rig.Row(rig.c.axisList, 0) == "X: 3300"; }));
    EXPECT_EQ(rig.Row(rig.c.axisList, 1), "Y: 2000");
    EXPECT_EQ(rig.Row(rig.c.buttonList, 1), "Button 2: Down");
    EXPECT_EQ(rig.Row(rig.c.gearList, 2), "gear 3: 3");
    EXPECT_TRUE(WaitUntil([&] { return rig.ListsOnScreenAreCurrent(); }));
    EXPECT_TRUE(WaitUntil([&] { return rig.DotOnlyAt(3300, 2000); }));
    const QColor plain = rig.Pixel(8200, 500);  // field 7
    EXPECT_NE(rig.Pixel(2700, 500), plain) << "field 3 is not lit";
    EXPECT_EQ(rig.Pixel(5700, 500), plain) << "field 5 is still lit";

    // Rows of a burst still waiting for their frame, then a controller that has gone: the lists
    // empty, the dot goes, and no row of the burst comes back in a later frame.
    for (int x = 3000; x <= 3100; x += 10) rig.Report(x, 2000);
    rig.services.controllers.gone.insert("id-b");
    rig.window.OnControllerLineChosen(1);
    const auto empty = [&] {
        return rig.c.axisList->count() + rig.c.buttonList->count() + rig.c.gearList->count() == 0;
    };
    EXPECT_TRUE(WaitUntil(empty));
    QTest::qWait(100);  // several frames
    EXPECT_TRUE(empty());
    EXPECT_EQ(rig.window.windowTitle(), kCaptionQuerying);
    EXPECT_TRUE(WaitUntil([&] { return rig.DotOnlyAt(-1, -1); }));  // no dot

    // A reload through the tray brings a new field map: its labels are on screen at once.
    const auto image = [](const QPixmap& p) {
        return p.toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto drawn = [&] { return image(rig.editor->grab()); };
    const auto shown = [&] { return image(rig.editor->screen()->grabWindow(rig.editor->winId())); };
    const QImage straight = drawn();
    ASSERT_TRUE(WaitUntil([&] { return shown() == straight; }));
    rig.Write(std::string(kWideGate) + "[keyconfig]\nkey3=k\n[gate]\nmap=R,1,2,3,4,5,-,-\n");
    rig.windows.tray().menu().ReloadSettings();
    EXPECT_EQ(GearKey(rig.window.state, 3).name, "k");
    EXPECT_NE(drawn(), straight);
    EXPECT_TRUE(WaitUntil([&] { return shown() == drawn(); }));

    rig.c.minimizeButton->click();  // to the tray, or minimized without one
    EXPECT_TRUE(!rig.window.isVisible() || rig.window.isMinimized());
}

}  // namespace
}  // namespace vantrel::testing
