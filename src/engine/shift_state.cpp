#include "engine/shift_state.h"

namespace vantrel {

const std::string& GearKey(const MainState& s, int position) {
    switch (position) {
        case 1:
            return s.key1;
        case 2:
            return s.key2;
        case 3:
            return s.key3;
        case 4:
            return s.key4;
        case 5:
            return s.key5;
        case 6:
            return s.key6;
        case 7:
            return s.key7;
        case 8:
            return s.key8;
        default:
            return s.keyr;
    }
}

}  // namespace vantrel
