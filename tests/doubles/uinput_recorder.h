#pragma once
// A stand-in for /dev/uinput (these machines have none): keeps what a device asked the kernel
// for and every event it wrote.

#include <linux/uinput.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "backends/uinput/uinput_io.h"

namespace vantrel::testing {

struct UinputRecord {
    std::map<unsigned long, std::set<int>> bits;  // by UI_SET_EVBIT, UI_SET_KEYBIT, UI_SET_ABSBIT
    uinput_setup setup{};
    std::vector<uinput_abs_setup> axes;
    std::vector<std::string> steps;  // "describe", "create", "destroy", in the order they came
    std::vector<input_event> events;
    int failWrites = 0;  // the next n writes fail with ENODEV
    int copyTo = -1;     // a file (a pipe, say) that gets every write as well
};

class RecordingUinput final : public UinputIo {
  public:
    explicit RecordingUinput(UinputRecord& r) : r_(r) {}
    int SetBit(unsigned long request, int value) override {
        r_.bits[request].insert(value);
        return Step("describe");
    }
    int Setup(const uinput_setup& setup) override { return r_.setup = setup, Step("describe"); }
    int AbsSetup(const uinput_abs_setup& setup) override {
        r_.axes.push_back(setup);
        return Step("describe");
    }
    int Create() override { return Step("create"); }
    int Destroy() override { return Step("destroy"); }
    int Write(const void* data, size_t size) override {
        if (r_.failWrites > 0) return --r_.failWrites, ENODEV;
        if (r_.copyTo >= 0 && ::write(r_.copyTo, data, size) != static_cast<ssize_t>(size)) {
            return errno;
        }
        const auto* e = static_cast<const input_event*>(data);
        r_.events.insert(r_.events.end(), e, e + size / sizeof(input_event));
        return 0;
    }

  private:
    int Step(const char* name) {
        if (r_.steps.empty() || r_.steps.back() != name) r_.steps.emplace_back(name);
        return 0;
    }
    UinputRecord& r_;
};

// The events as games read them: " name+" a key or button pressed (value 1), " name-" let go (0),
// " x=N" / " y=N" an absolute axis, ";" the SYN_REPORT that ends a report. Anything else is
// spelled out in full, so that it shows in a comparison.
inline std::string EventText(const std::vector<input_event>& events,
                             const std::function<std::string(int code)>& name) {
    std::string text;
    for (const input_event& e : events) {
        if (e.type == EV_SYN && e.code == SYN_REPORT && e.value == 0) {
            text += ';';
        } else if (e.type == EV_KEY && (e.value == 0 || e.value == 1)) {
            text += " " + name(e.code) + (e.value ? "+" : "-");
        } else if (e.type == EV_ABS && (e.code == ABS_X || e.code == ABS_Y)) {
            text += (e.code == ABS_X ? " x=" : " y=") + std::to_string(e.value);
        } else {
            text += " ?" + std::to_string(e.type) + "/" + std::to_string(e.code) + "/" +
                    std::to_string(e.value);
        }
    }
    return text;
}

}  // namespace vantrel::testing
