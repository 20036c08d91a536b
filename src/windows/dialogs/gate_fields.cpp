#include "windows/dialogs/gate_fields.h"

#include <algorithm>

#include "engine/classification.h"
#include "engine/shift_state.h"
#include "settings/boundary_value.h"
#include "settings/load_settings.h"
#include "windows/dialogs/number_text.h"

namespace vantrel::ui {
namespace {

// The boundary the loader makes of the text the editor saves, its default when it would refuse it.
int16_t AsLoaded(float value, int index) {
    if (const auto loaded = ParseBoundary(FieldNumberText(value))) return *loaded;
    return *ParseBoundary(kFieldDefaults[index].value);
}

}  // namespace

int StickGear(const GateValues& values, const ControllerReport& report) {
    ShiftState scratch;
    for (int i = 0; i < 8; ++i) {
        BoundaryVariable(scratch.gate, kFieldDefaults[i].key) = AsLoaded(values[i], i);
    }
    // A pass decides on the zones of the pass before it, so the second pass is the settled one.
    ClassifyPass(scratch, report);
    scratch.currentGear = kNeutral;
    ClassifyPass(scratch, report);
    return scratch.currentGear;
}

std::optional<QRectF> FieldRegion(const GateValues& values, int field) {
    if (field < 1 || field > 8) return std::nullopt;
    const int column = (field - 1) / 2;
    const float lefts[4] = {0, values[1], values[3], values[5]};
    const float rights[4] = {values[0], values[2], values[4], kStickTravel};
    const bool top = field % 2 == 1;
    const float left = std::max(lefts[column], 0.0f);
    const float right = std::min(rights[column], kStickTravel);
    const float upper = top ? 0.0f : std::max(values[7], 0.0f);
    const float lower = top ? std::min(values[6], kStickTravel) : kStickTravel;
    if (left > right || upper > lower) return std::nullopt;
    return QRectF(QPointF(left, upper), QPointF(right, lower));
}

}  // namespace vantrel::ui
