#pragma once
// Chooses how Vantrel sends keys: the uinput virtual keyboard when /dev/uinput can be written,
// else the X server's XTEST extension.

#include <memory>
#include <string>

#include "output/key_service.h"
#include "output/release_on_termination.h"

namespace vantrel {

// Tries uinput, then XTest. VANTREL_KEY_BACKEND=uinput or =xtest tries only that one. When
// nothing works returns nullptr and fills `failureMessage` with "Vantrel cannot send keys:",
// what was tried and why it failed, and what the user can do.
std::unique_ptr<KeyService> CreateKeyService(std::string& failureMessage);

struct KeyServiceOptions {
    std::string backend;  // "", "uinput" or "xtest" (anything else is refused)
    std::string uinputPath = "/dev/uinput";
    const char* displayName = nullptr;  // nullptr: $DISPLAY
};
// The same with explicit choices instead of the environment (for tests).
std::unique_ptr<KeyService> CreateKeyService(const KeyServiceOptions& options,
                                             std::string& failureMessage);

}  // namespace vantrel
