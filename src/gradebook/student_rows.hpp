// Renaming and removing a student row. Both keep the rows in name order and
// every array at one entry per row; a rename never gives two rows one name.
#pragma once
#include "gradebook/schulklasse.hpp"
#include "platform/text.hpp"

struct Schuelername {
    Text nachname, vornamen;
    bool operator==(const Schuelername&) const = default;
};

// A typed name "first names, surname": split at the first comma, both parts
// trimmed; without a comma all of it is the surname.
Schuelername NamenAusEingabe(const Text& eingabe);
// The name in the name tile of row `zeile`.
Schuelername NameInZeile(const TSchulklasse& klasse, int zeile);
// First row (>= 1) whose name tile holds exactly this name; 0 when none.
int ZeileMitNamen(const TSchulklasse& klasse, const Schuelername& name);

// The "Fehler" box for a name that another student of the class already
// has, shown on a cleared screen; adding and renaming refuse with it.
void NamensdoppelungMelden();

enum class Umbenennung {
    unveraendert,  // the same name: nothing changed, not even the order
    vergeben,      // another student has this name: refused, nothing changed
    umbenannt,
};
struct Umbenennungsergebnis {
    Umbenennung art = Umbenennung::unveraendert;
    int zeile = 0;  // the student's row afterwards
};

// Gives the student of row `zeile` the new name and sorts the rows again.
// The photo file is the caller's business (it knows the old name).
Umbenennungsergebnis SchuelerUmbenennen(TSchulklasse& klasse, int zeile, const Schuelername& neu);

// Removes the row with all its grades and entries; the rows below move up.
void SchuelerEntfernen(TSchulklasse& klasse, int zeile);
