// The vantrel program with a virtual controller attached first: SDL virtual joysticks exist only
// inside the process that attaches them.
#include <SDL.h>

#include "app/run_vantrel.h"
#include "doubles/virtual_pad.h"

int main(int argc, char** argv) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    vantrel::testing::VirtualPad pad("Probe Pad", 2, 4);
    return vantrel::RunVantrel(argc, argv);
}
