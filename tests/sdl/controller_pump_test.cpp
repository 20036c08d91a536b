// The controller pump on the Qt event loop: notifications per change, the guard against calling
// a busy receiver, the pace it picks, and the node watch that wakes it.
#include "services/sdl/controller_pump.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "sdl/virtual_pad.h"
#include "services/sdl/node_watch.h"
#include "services/sdl/sdl_controller_service.h"
#include "support/qt_wait.h"

namespace vantrel {
namespace {

using testing::VirtualPad;
using testing::WaitUntil;

// Lets the event loop run for a while (the pump keeps ticking meanwhile).
void RunFor(int ms) {
    WaitUntil([] { return false; }, ms);
}

class ControllerPumpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pad.ok());
        handle = service.CreateEvent([this](int32_t) {
            ++calls;
            if (onCall) onCall();
        });
        device = service.CreateDevice(pad.id());
        ASSERT_TRUE(device);
    }
    void Watch() {
        ASSERT_EQ(device->SetEventNotification(handle), DI_OK);
        ASSERT_EQ(device->Acquire(), DI_OK);
    }

    SdlControllerService service;
    VirtualPad pad{"Gear Stick", 2, 12};
    std::unique_ptr<ControllerDevice> device;
    ControllerPump pump{service};
    int32_t handle = 0;
    int calls = 0;
    std::function<void()> onCall;
};

TEST_F(ControllerPumpTest, PacesUpOnChangesAndDownWhenStill) {
    // A hold long enough that a loaded machine cannot let it run out between two checks.
    PumpTiming timing;
    timing.fastHold = std::chrono::milliseconds{500};
    pump.setTiming(timing);
    EXPECT_EQ(pump.pace(), PumpPace::Stopped);
    pump.start();
    ASSERT_TRUE(WaitUntil([&] { return pump.pace() == PumpPace::Dormant; }));
    EXPECT_EQ(pump.interval().count(), 0);  // no timer while nothing is watched

    Watch();
    EXPECT_EQ(pump.pace(), PumpPace::Fast);
    pad.SetAxis(0, 20000);
    ASSERT_TRUE(WaitUntil([&] { return calls == 1; }));
    EXPECT_EQ(pump.pace(), PumpPace::Fast);
    EXPECT_EQ(pump.interval(), pump.timing().fast);

    ASSERT_TRUE(WaitUntil([&] { return pump.pace() == PumpPace::Slow; }));
    EXPECT_EQ(pump.interval(), pump.timing().slow);
    EXPECT_EQ(calls, 1);  // stillness notifies nothing

    pad.SetButton(0, true);
    ASSERT_TRUE(WaitUntil([&] { return calls == 2; }));
    EXPECT_EQ(pump.pace(), PumpPace::Fast);

    pump.stop();
    EXPECT_EQ(pump.pace(), PumpPace::Stopped);
    EXPECT_EQ(pump.interval().count(), 0);
    pad.SetButton(0, false);
    RunFor(50);
    EXPECT_EQ(calls, 2);
}

TEST_F(ControllerPumpTest, ChangesBetweenTwoPumpsAreOneNotification) {
    Watch();
    pump.start();
    RunFor(20);
    calls = 0;
    pad.SetAxis(0, 20000);
    pad.SetAxis(1, -20000);
    pad.SetButton(5, true);
    ASSERT_TRUE(WaitUntil([&] { return calls >= 1; }));
    RunFor(50);
    EXPECT_EQ(calls, 1);
}

TEST_F(ControllerPumpTest, ReceiverWithItsOwnEventLoopIsNeverCalledAgain) {
    Watch();
    pump.start();
    int depth = 0;
    int maxDepth = 0;
    int callsInside = 0;
    uint64_t pumpsInside = 0;
    onCall = [&] {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (calls == 1) {
            // A modal message box: its event loop runs while the stick keeps moving.
            const uint64_t before = pump.pumpCount();
            QEventLoop modal;
            QTimer::singleShot(10, [&] { pad.SetAxis(0, -20000); });
            QTimer::singleShot(40, [&] { pad.SetAxis(1, 20000); });
            QTimer::singleShot(100, &modal, &QEventLoop::quit);
            modal.exec();
            callsInside = calls;
            pumpsInside = pump.pumpCount() - before;
        }
        --depth;
    };
    pad.SetAxis(0, 20000);
    ASSERT_TRUE(WaitUntil([&] { return calls >= 1 && depth == 0; }));
    EXPECT_GT(pumpsInside, 5U);  // the pump kept running and saw the changes...
    EXPECT_EQ(callsInside, 1);   // ...without calling the busy receiver
    EXPECT_EQ(maxDepth, 1);
    // What changed meanwhile arrives once, after the receiver has returned.
    ASSERT_TRUE(WaitUntil([&] { return calls == 2; }));
    RunFor(50);
    EXPECT_EQ(calls, 2);
}

TEST_F(ControllerPumpTest, RemovalNotifiesAndThenThePumpRests) {
    Watch();
    pump.start();
    int32_t read = DI_OK;
    onCall = [&] {
        DIJOYSTATE state;
        read = device->GetDeviceStateJoystick(state);
        if (read != DI_OK) device->Acquire();
    };
    RunFor(20);
    pad.Detach();
    ASSERT_TRUE(WaitUntil([&] { return calls == 1; }));
    EXPECT_EQ(read, DIERR_INPUTLOST);
    ASSERT_TRUE(WaitUntil([&] { return pump.pace() == PumpPace::Dormant; }));
    EXPECT_EQ(calls, 1);
}

class NodeWatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("node").toStdString();
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    }
    QTemporaryDir dir;
    std::string path;
};

TEST_F(NodeWatchTest, WakesOncePerInputAndFallsQuietWhenTheNodeDies) {
    int wakes = 0;
    NodeWatch watch(path, [&] { ++wakes; });
    ASSERT_TRUE(watch.live());
    const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0);

    const char input[100] = {};
    ASSERT_EQ(::write(writer, input, sizeof input), static_cast<ssize_t>(sizeof input));
    ASSERT_TRUE(WaitUntil([&] { return wakes == 1; }));
    RunFor(30);
    EXPECT_EQ(wakes, 1);  // what arrived was taken away, so it does not wake again

    ASSERT_EQ(::write(writer, input, 10), 10);
    ASSERT_TRUE(WaitUntil([&] { return wakes == 2; }));

    ::close(writer);
    ASSERT_TRUE(WaitUntil([&] { return !watch.live(); }));
    const int afterDeath = wakes;
    RunFor(30);
    EXPECT_EQ(wakes, afterDeath);  // a dead handle does not keep the loop busy
}

TEST(NodeWatch, ANodeThatCannotBeOpenedIsNotLive) {
    NodeWatch watch("/nonexistent/event0", [] {});
    EXPECT_FALSE(watch.live());
}

}  // namespace
}  // namespace vantrel
