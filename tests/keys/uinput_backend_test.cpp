// The uinput backend's set-up requests and event bytes, through a recording stand-in for the
// file (this machine has no /dev/uinput).

#include "services/keys/uinput_backend.h"

#include <gtest/gtest.h>
#include <linux/uinput.h>

#include <cstring>
#include <set>

#include "services/keys/key_service.h"
#include "services/service_error.h"

namespace vantrel {
namespace {

struct UinputRecord {
    std::vector<std::pair<unsigned long, int>> bits;
    std::vector<std::string> steps;  // "setup", "create", "destroy", "write"
    uinput_setup setup{};
    std::string bytes;
    int failWriteWith = 0;
    int failBitWith = 0;
};

class RecordingUinput final : public UinputIo {
  public:
    explicit RecordingUinput(UinputRecord& r) : r_(r) {}
    int SetBit(unsigned long request, int value) override {
        r_.bits.emplace_back(request, value);
        return r_.failBitWith;
    }
    int Setup(const uinput_setup& setup) override {
        r_.steps.push_back("setup");
        r_.setup = setup;
        return 0;
    }
    int Create() override {
        r_.steps.push_back("create");
        return 0;
    }
    int Destroy() override {
        r_.steps.push_back("destroy");
        return 0;
    }
    int Write(const void* data, size_t size) override {
        if (r_.failWriteWith) return r_.failWriteWith;
        r_.steps.push_back("write");
        r_.bytes.append(static_cast<const char*>(data), size);
        return 0;
    }

  private:
    UinputRecord& r_;
};

std::vector<input_event> Events(const std::string& bytes) {
    EXPECT_EQ(bytes.size() % sizeof(input_event), 0u);
    std::vector<input_event> events(bytes.size() / sizeof(input_event));
    std::memcpy(events.data(), bytes.data(), events.size() * sizeof(input_event));
    return events;
}

TEST(UinputBackend, SetsUpOneKeyboardWithEveryKeyOfTheTable) {
    UinputRecord r;
    {
        UinputBackend backend(std::make_unique<RecordingUinput>(r));
        EXPECT_EQ(backend.Name(), "uinput");
    }
    std::set<int> evBits, keyBits;
    for (const auto& [request, value] : r.bits) {
        if (request == UI_SET_EVBIT) evBits.insert(value);
        if (request == UI_SET_KEYBIT) keyBits.insert(value);
    }
    EXPECT_EQ(evBits, (std::set<int>{EV_KEY, EV_SYN}));
    for (const KeyName& k : AllKeyNames()) EXPECT_TRUE(keyBits.count(k.evdevCode)) << k.name;
    for (int code = 1; code <= 31; ++code) EXPECT_TRUE(keyBits.count(code)) << code;
    EXPECT_FALSE(keyBits.count(0));
    // Bits first, then the description, the creation, and removal at the end.
    EXPECT_EQ(r.steps, (std::vector<std::string>{"setup", "create", "destroy"}));
    EXPECT_STREQ(r.setup.name, "Vantrel virtual keyboard");
    EXPECT_EQ(r.setup.id.bustype, BUS_VIRTUAL);
}

TEST(UinputBackend, EachKeyEventIsFollowedBySynReportInOneWrite) {
    UinputRecord r;
    {
        KeyService service(std::make_unique<UinputBackend>(std::make_unique<RecordingUinput>(r)));
        service.Send("{LSHIFT down}", 0);
        service.Send("{LSHIFT down}", 0);  // already held: nothing written
        service.Send("{q down}", 0);
        service.Send("{LSHIFT up}", 0);
        // q is still down when the service goes: its destructor lets go of it.
    }
    const std::vector<input_event> events = Events(r.bytes);
    const std::vector<std::tuple<int, int, int>> expected = {
        {EV_KEY, KEY_LEFTSHIFT, 1}, {EV_SYN, SYN_REPORT, 0},    {EV_KEY, KEY_Q, 1},
        {EV_SYN, SYN_REPORT, 0},    {EV_KEY, KEY_LEFTSHIFT, 0}, {EV_SYN, SYN_REPORT, 0},
        {EV_KEY, KEY_Q, 0},         {EV_SYN, SYN_REPORT, 0}};
    ASSERT_EQ(events.size(), expected.size());
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(std::make_tuple(int(events[i].type), int(events[i].code), events[i].value),
                  expected[i])
            << "event " << i;
    }
    const auto writes = std::count(r.steps.begin(), r.steps.end(), "write");
    EXPECT_EQ(writes, 4) << "key event and its report go out together";
    EXPECT_EQ(r.steps.back(), "destroy") << "keys are let go before the device is removed";
}

TEST(UinputBackend, FailuresSayWhatHappened) {
    UinputRecord r;
    r.failBitWith = ENOTTY;
    try {
        UinputBackend backend(std::make_unique<RecordingUinput>(r));
        FAIL() << "no error";
    } catch (const ServiceError& e) {
        EXPECT_NE(std::string(e.what()).find("virtual keyboard could not be set up"),
                  std::string::npos)
            << e.what();
    }

    UinputRecord w;
    UinputBackend backend(std::make_unique<RecordingUinput>(w));
    w.failWriteWith = ENODEV;
    try {
        backend.Press(*FindKeyName("q"));
        FAIL() << "no error";
    } catch (const ServiceError& e) {
        EXPECT_NE(std::string(e.what()).find("writing to /dev/uinput failed (No such device)"),
                  std::string::npos)
            << e.what();
    }
}

TEST(UinputBackend, OpenExplainsAMissingOrWrongFile) {
    try {
        UinputBackend::Open("/nonexistent/uinput");
        FAIL() << "no error";
    } catch (const ServiceError& e) {
        EXPECT_STREQ(e.what(),
                     "cannot open /nonexistent/uinput for writing (No such file or directory): the "
                     "uinput kernel module is not loaded (sudo modprobe uinput)");
    }
    // A file that opens but is no uinput device.
    EXPECT_THROW(UinputBackend::Open("/dev/null"), ServiceError);
}

}  // namespace
}  // namespace vantrel
