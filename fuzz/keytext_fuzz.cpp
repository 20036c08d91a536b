// Fuzzes the key-event text parser and the name table: whatever the text, the parser either
// refuses it or names a table entry that the text really spells.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "output/key_event_text.h"
#include "output/key_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto event = vantrel::ParseKeyEventText(text);
    const vantrel::KeyName* named = vantrel::FindKeyName(text);
    if (named && vantrel::FindKeyName(named->name) != named) std::abort();
    if (!event) return 0;
    if (event->key == nullptr || text.size() < 5 || text.front() != '{' || text.back() != '}') {
        std::abort();
    }
    const size_t space = text.rfind(' ');
    if (vantrel::FindKeyName(text.substr(1, space - 1)) != event->key) std::abort();
    return 0;
}
