// Class screen loop: Cls, input, scrolling, the grid, present, wait, commands.
#include "shell/class_screen_loop.hpp"

#include "gradebook/save_failure.hpp"
#include "platform/graphics.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

int KlassenbildschirmLaufen(TSchulklasse& klasse) {
    for (;;) {
        Cls();
        User::update();
        Offset::update(2, 64);
        klasse.anzeigen();
        FrameEnd();
        const int code = klasse.verwalten();
        if (code > 0) return code;
        if (BackRequested) {
            // Never end with unsaved grades unnoticed: only a complete save, or
            // the user's twice confirmed choice to leave without it, ends the program.
            if (klasse.speichern(u"")) return 3;
            if (SpeicherfehlerBeimVerlassen(klasse, true)) return 3;
        }
    }
}
