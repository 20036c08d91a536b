#include "windows/main_window/dropped_keys.h"

#include <algorithm>
#include <array>

#include "output/key_names.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

std::array<const KeyName*, kGearPositions> Keys(const ShiftState& s) {
    std::array<const KeyName*, kGearPositions> keys{};
    std::transform(s.gearKeys.begin(), s.gearKeys.end(), keys.begin(),
                   [](const AssignedKey& k) { return k.key; });
    return keys;
}

}  // namespace

void LetGoOfDroppedKeys(const ShiftState& before, const ShiftState& after, KeyOutput& keys) {
    const auto kept = Keys(after);
    for (const AssignedKey& dropped : before.gearKeys) {
        const KeyName* key = dropped.key;
        if (!key || std::find(kept.begin(), kept.end(), key) != kept.end()) continue;
        try {
            keys.Send(dropped, KeyAction::Up);
        } catch (const ServiceError&) {
        }
    }
}

}  // namespace vantrel
