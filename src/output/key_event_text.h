#pragma once
// Reads one event text of the brace notation: "{NAME down}" holds a key, "{NAME up}" lets it go.

#include <optional>

#include "output/key_names.h"

namespace vantrel {

struct KeyEvent {
    const KeyName* key;  // never null
    bool down;
};

// The event of `text`, or nothing when the text is not exactly "{NAME down}" / "{NAME up}" with a
// known NAME (letter case of NAME and of the word is ignored). Allocates nothing.
std::optional<KeyEvent> ParseKeyEventText(std::string_view text);

}  // namespace vantrel
