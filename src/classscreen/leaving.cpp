// "Zur Klassenübersicht" and "Kladdorix schließen": the gradebook is saved
// first, and only a complete save lets the class screen go.
#include "classscreen/class_commands.hpp"
#include "gradebook/save_failure.hpp"

int SpeichernUndVerlassen(TSchulklasse& klasse, int code) {
    if (klasse.speichern(u"")) return code;
    SpeicherfehlerZeigen(klasse);
    return 0;
}
