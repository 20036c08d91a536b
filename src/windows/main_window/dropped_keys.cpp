#include "windows/main_window/dropped_keys.h"

#include <algorithm>
#include <array>

#include "output/key_names.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

std::array<const KeyName*, 9> Keys(const MainState& s) {
    std::array<const KeyName*, 9> keys{};
    for (int position = 1; position <= 9; ++position) {
        keys[static_cast<size_t>(position - 1)] = FindKeyName(GearKey(s, position));
    }
    return keys;
}

}  // namespace

void LetGoOfDroppedKeys(const MainState& before, const MainState& after, KeySender& autoIt) {
    const auto kept = Keys(after);
    for (const KeyName* key : Keys(before)) {
        if (!key || std::find(kept.begin(), kept.end(), key) != kept.end()) continue;
        try {
            autoIt.Send("{" + std::string(key->name) + " up}", 0);
        } catch (const ServiceError&) {
        }
    }
}

}  // namespace vantrel
