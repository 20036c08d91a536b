// vantrel-replay: replays a scripted controller through the real settings loader and shift engine.
#include <iostream>

#include "tools/replay/replay.h"

int main(int argc, char** argv) {
    using namespace vantrel::replay;
    std::ios::sync_with_stdio(false);
    Options options;
    bool wantsHelp = false;
    if (const std::string error = ParseOptions(argc, argv, options, wantsHelp); !error.empty()) {
        std::cerr << "vantrel-replay: " << error << '\n' << kUsage;
        return 2;
    }
    if (wantsHelp) {
        std::cout << kHelp;
        return 0;
    }
    if (options.version) {
        std::cout << "vantrel-replay " VANTREL_VERSION "\n";
        return 0;
    }
    const int status = RunReplay(options, std::cin, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
