// The uinput backend's set-up requests and events, through a recording stand-in for the file
// (this machine has no /dev/uinput).

#include "services/keys/uinput_backend.h"

#include <gtest/gtest.h>
#include <linux/uinput.h>

#include <set>
#include <tuple>

#include "services/keys/key_service.h"
#include "services/service_error.h"

namespace vantrel {
namespace {

using Event = std::tuple<int, int, int>;  // type, code, value

struct UinputRecord {
    std::set<int> evBits, keyBits;
    std::string name;
    std::vector<Event> events;
    int failWriteWith = 0;
};

class RecordingUinput final : public UinputIo {
  public:
    explicit RecordingUinput(UinputRecord& r) : r_(r) {}
    int SetBit(unsigned long request, int value) override {
        (request == UI_SET_KEYBIT ? r_.keyBits : r_.evBits).insert(value);
        return 0;
    }
    int Setup(const uinput_setup& setup) override { return r_.name = setup.name, 0; }
    int Create() override { return 0; }
    int Destroy() override { return 0; }
    int Write(const void* data, size_t size) override {
        if (r_.failWriteWith) return r_.failWriteWith;
        EXPECT_EQ(size, 2 * sizeof(input_event)) << "a key event goes out with its report";
        const auto* e = static_cast<const input_event*>(data);
        for (int i = 0; i < 2; ++i) r_.events.emplace_back(e[i].type, e[i].code, e[i].value);
        return 0;
    }

  private:
    UinputRecord& r_;
};

TEST(UinputBackend, OneKeyboardWithEveryKeyAndASynReportAfterEachEvent) {
    UinputRecord r;
    {
        KeyService service(std::make_unique<UinputBackend>(std::make_unique<RecordingUinput>(r)));
        service.Send("{LSHIFT down}", 0);
        service.Send("{q down}", 0);
        service.Send("{LSHIFT up}", 0);
    }  // q is let go by the service before the device is removed
    EXPECT_EQ(r.name, "Vantrel virtual keyboard");
    EXPECT_EQ(r.evBits, (std::set<int>{EV_KEY, EV_SYN}));
    for (const KeyName& k : AllKeyNames()) EXPECT_TRUE(r.keyBits.count(k.evdevCode)) << k.name;
    for (int code = 1; code <= 31; ++code) EXPECT_TRUE(r.keyBits.count(code)) << code;
    const std::vector<Event> expected = {{EV_KEY, KEY_LEFTSHIFT, 1}, {EV_SYN, SYN_REPORT, 0},
                                         {EV_KEY, KEY_Q, 1},         {EV_SYN, SYN_REPORT, 0},
                                         {EV_KEY, KEY_LEFTSHIFT, 0}, {EV_SYN, SYN_REPORT, 0},
                                         {EV_KEY, KEY_Q, 0},         {EV_SYN, SYN_REPORT, 0}};
    EXPECT_EQ(r.events, expected);

    UinputBackend broken(std::make_unique<RecordingUinput>(r));
    r.failWriteWith = ENODEV;
    EXPECT_THROW(broken.Press(*FindKeyName("q")), ServiceError);
}

}  // namespace
}  // namespace vantrel
