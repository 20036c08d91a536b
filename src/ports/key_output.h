#pragma once
// Keys going out to the game: a gear's key pressed or let go.

#include <string>

namespace vantrel {

struct KeyName;  // output/key_names.h

// A key as the settings name it, resolved once when they load.
struct AssignedKey {
    std::string name;              // as written; what a person reads
    const KeyName* key = nullptr;  // nullptr: an empty or unknown name, which sends nothing
};

enum class KeyAction { Down, Up };

class KeyOutput {
  public:
    virtual ~KeyOutput() = default;

    // Throws ServiceError when the event cannot be delivered. A key that resolved to nothing is
    // not an error and sends nothing.
    virtual void Send(const AssignedKey& key, KeyAction action) = 0;
    // Lets go of every key this output holds. Never throws.
    virtual void ReleaseAll() noexcept = 0;
};

}  // namespace vantrel
