// Program entry: the SDL backend behind the platform facade, then the shell.
#include <cstdio>

#include "platform/private_files.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "shell/startup.hpp"

int main() {
    // Before anything is read: no core file, nothing created for others to read.
    GuardProcess();
    if (!UseSdlBackend()) {
        // Never an invisible window: without a screen the program ends at once.
        std::fputs("Rido Kladdorix: Es ist kein Bildschirm erreichbar (weder ein X-Server noch Wayland).\n"
                   "Das Programm braucht ein sichtbares Fenster und wird beendet, ohne etwas zu schreiben.\n",
                   stderr);
        return 1;
    }
    return KladdorixMain();
}
