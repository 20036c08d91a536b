#include <iostream>

int main() {
    std::cout << "Vantrel: the main window is not built yet. Try `make demo` to see the shift "
                 "engine replay a recorded stick.\n";
    return 0;
}
