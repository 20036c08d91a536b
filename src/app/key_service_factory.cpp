#include "app/key_service_factory.h"

#include <cstdlib>

#include "backends/uinput/uinput_keyboard.h"
#include "backends/x11/xtest_keyboard.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

constexpr char kHeadline[] = "Vantrel cannot send keys:";

constexpr char kUinputAdvice[] =
    "give your user write access to /dev/uinput (works in every session, Wayland included): load "
    "the module with \"sudo modprobe uinput\", add the udev rule "
    "KERNEL==\"uinput\", GROUP=\"input\", MODE=\"0660\", OPTIONS+=\"static_node=uinput\" (for "
    "example as /etc/udev/rules.d/60-vantrel-uinput.rules), add yourself to the group with "
    "\"sudo usermod -aG input $USER\", then log out and in again.";
constexpr char kXTestAdvice[] =
    "start Vantrel inside an X session (X11, or XWayland for games that run as X clients).";

// One line of the list of what was tried, ending in exactly one full stop.
std::string TriedLine(const char* what, const std::string& why) {
    std::string line = std::string("\n- ") + what + ": " + why;
    if (!line.empty() && line.back() != '.' && line.back() != '?') line += '.';
    return line;
}

std::string Lower(std::string s) {
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return s;
}

}  // namespace

std::unique_ptr<KeyService> CreateKeyService(const KeyServiceOptions& options,
                                             std::string& failureMessage) {
    const std::string choice = Lower(options.backend);
    const bool tryUinput = choice.empty() || choice == "uinput";
    const bool tryXTest = choice.empty() || choice == "xtest";
    if (!tryUinput && !tryXTest) {
        failureMessage = std::string(kHeadline) + "\n- VANTREL_KEY_BACKEND is \"" +
                         options.backend + "\"; set it to uinput or xtest, or unset it.";
        return nullptr;
    }

    std::string tried;
    if (tryUinput) {
        try {
            return std::make_unique<KeyService>(UinputBackend::Open(options.uinputPath));
        } catch (const ServiceError& e) {
            tried += TriedLine("uinput virtual keyboard", e.what());
        }
    }
    if (tryXTest) {
        try {
            auto backend = std::make_unique<XTestBackend>(options.displayName);
            backend->StartWatchdog();
            return std::make_unique<KeyService>(std::move(backend));
        } catch (const ServiceError& e) {
            tried += TriedLine("XTest", e.what());
        }
    }

    failureMessage = std::string(kHeadline) + tried + "\n\nTo fix this, ";
    if (tryUinput) failureMessage += kUinputAdvice;
    if (tryUinput && tryXTest) failureMessage += "\nOr ";
    if (tryXTest) failureMessage += kXTestAdvice;
    if (!choice.empty()) {
        failureMessage +=
            "\nOnly " + choice +
            " was tried because VANTREL_KEY_BACKEND asks for it; unset it to try both.";
    }
    return nullptr;
}

std::unique_ptr<KeyService> CreateKeyService(std::string& failureMessage) {
    KeyServiceOptions options;
    if (const char* choice = std::getenv("VANTREL_KEY_BACKEND")) options.backend = choice;
    return CreateKeyService(options, failureMessage);
}

}  // namespace vantrel
