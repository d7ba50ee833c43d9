// Class screen loop: Cls, input, scrolling, the grid, present, wait, commands.
#include "shell/class_screen_loop.hpp"

#include "platform/graphics.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

namespace {
void SpeicherfehlerZeigen(const TSchulklasse& klasse) {
    auto box = TInfoBox::bauen(u"Fehler", {255, 0, 0},
                               {u"Die Klasse " + klasse.Titel[0] + u" " + klasse.Titel[1],
                                u"konnte nicht gespeichert werden.",
                                u"Bitte prüfen Sie, ob der Ordner beschreibbar ist",
                                u"und genug Platz frei ist. Die Klasse bleibt geöffnet."},
                               {kOkSchalter});
    box->verwenden();
    User::flush();
}
}  // namespace

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
            // Never end with unsaved grades: only a complete save ends the program.
            if (klasse.speichern(u"")) return 3;
            SpeicherfehlerZeigen(klasse);
        }
    }
}
