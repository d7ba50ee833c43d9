// "Klasse leer duplizieren": the class is saved, then the empty duplicate for
// another class or subject is made; back to the catalogue only when the new
// gradebook was written.
#include "classscreen/class_commands.hpp"
#include "gradebook/empty_duplicate.hpp"
#include "gradebook/save_failure.hpp"

int LeerDuplizieren(TSchulklasse& klasse) {
    const Speicherergebnis e = klasse.speichern(u"");
    if (!e) {
        SpeicherfehlerZeigen(klasse);
        return 0;
    }
    SicherungswarnungZeigen(klasse, e);
    if (LeeresDuplikatErfragen(klasse) == Duplikatergebnis::NichtGespeichert) {
        // The open record is the new gradebook now; it stays open to be saved later.
        SpeicherfehlerZeigen(klasse);
        return 0;
    }
    return 2;
}
