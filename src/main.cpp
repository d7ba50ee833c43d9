// Program entry: the SDL backend behind the platform facade, then the shell.
#include <cstdio>

#include "platform/sdl/sdl_backend.hpp"
#include "shell/startup.hpp"

int main() {
    if (!UseSdlBackend()) {
        std::fputs("Rido Kladdorix: die Grafik konnte nicht gestartet werden.\n", stderr);
        return 1;
    }
    return KladdorixMain();
}
