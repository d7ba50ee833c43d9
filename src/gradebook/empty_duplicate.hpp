// The empty duplicate of a gradebook for another class or subject (typically
// the next school year): same students, no grade columns.
#pragma once
#include <memory>

#include "gradebook/schulklasse.hpp"
#include "tiles/info_box.hpp"

enum class Duplikatergebnis {
    Erzeugt,           // the record is now the new gradebook, saved
    GleicheNamen,      // class and subject unchanged: nothing done
    DateiVorhanden,    // a gradebook of that class and subject exists: nothing done
    UngueltigerName,   // a name that is no plain file name: refused, nothing done
    NichtGespeichert,  // the record is the new gradebook, but its file could not be written
};

// The duplicate under the given names, after the user chose them; shows the
// note of a refusal. LeeresDuplikatLaden asks for the names and calls it.
Duplikatergebnis LeeresDuplikatUnter(TSchulklasse& klasse, const ::Text& neueKlasse, const ::Text& neuesFach);

// Asks for the new class name and subject on the on-screen keyboard (a
// cancelled entry keeps the old one), then LeeresDuplikatUnter.
Duplikatergebnis LeeresDuplikatErfragen(TSchulklasse& klasse);

// The class name proposed for the duplicate: the level raised by one ("7a" gives "8a").
::Text VorschlagNaechsteKlasse(const ::Text& klasse);

// The last refusal note shown, for inspection.
extern std::shared_ptr<TInfoBox> Duplikathinweis;
