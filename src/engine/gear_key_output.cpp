#include "engine/gear_key_output.h"

#include <string>

namespace vantrel {

void SendGearKeys(MainState& s, KeySender& autoIt) {
    std::string text;
    for (int position = 1; position <= 9; ++position) {
        const std::string_view suffix = position == s.currentgear ? " down}" : " up}";
        text.clear();
        text.push_back('{');
        text.append(GearKey(s, position));
        text.append(suffix);
        autoIt.Send(text, 0);
    }
    s.currentgear = 0;
}

}  // namespace vantrel
