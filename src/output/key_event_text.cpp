#include "output/key_event_text.h"

namespace vantrel {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view word) {
    if (a.size() != word.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char c = (a[i] >= 'A' && a[i] <= 'Z') ? char(a[i] - 'A' + 'a') : a[i];
        if (c != word[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<KeyEvent> ParseKeyEventText(std::string_view text) {
    if (text.size() < 2 || text.front() != '{' || text.back() != '}') return std::nullopt;
    const std::string_view inner = text.substr(1, text.size() - 2);
    const size_t space = inner.rfind(' ');
    if (space == std::string_view::npos) return std::nullopt;

    const std::string_view word = inner.substr(space + 1);
    bool down;
    if (EqualsNoCase(word, "down")) {
        down = true;
    } else if (EqualsNoCase(word, "up")) {
        down = false;
    } else {
        return std::nullopt;
    }
    const KeyName* key = FindKeyName(inner.substr(0, space));
    if (key == nullptr) return std::nullopt;
    return KeyEvent{key, down};
}

}  // namespace vantrel
