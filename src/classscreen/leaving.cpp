// "Zur Klassenübersicht" and "Kladdorix schließen": the gradebook is saved
// first, and only a complete save, or the twice confirmed choice to leave
// without it, lets the class screen go.
#include "classscreen/class_commands.hpp"
#include "gradebook/save_failure.hpp"

int SpeichernUndVerlassen(TSchulklasse& klasse, int code) {
    if (const Speicherergebnis e = klasse.speichern(u"")) {
        SicherungswarnungZeigen(klasse, e);
        return code;
    }
    // The way out when saving is impossible: leaving without saving only
    // after the user chose it and confirmed it.
    return SpeicherfehlerBeimVerlassen(klasse, code == 3) ? code : 0;
}
