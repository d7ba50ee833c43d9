// The index of saves beside the key file (".Kladdorix-Stand", sealed under
// the data key like every gradebook file, its place "Stand"): for each class
// file below the program's "Noten" (by class and subject) a save counter and
// the BLAKE2b hash of the plain bytes last saved, with the hash of a save
// under way; and the mark that the conversion to sealed files has run.
// While encryption is on, a read then refuses a class file other than its
// last save (an older version put back), and once the conversion has run,
// a plain file or one in the unbound form "RKV1" below "Noten".
// A save first notes the new hash as under way, then writes the class file,
// then records it: a kill between the two finds the file under way accepted
// and recorded at its next read, never refused.
// The mirror on the stick has no index: it is what is left when the program
// folder with its index is lost, and an index on the stick itself would be
// put back together with the files by whoever puts back older files there.
#pragma once
#include <string_view>

#include "platform/text.hpp"

inline const Text kStanddateiName = u".Kladdorix-Stand";
// ".Kladdorix-Stand" in the program folder.
Text StanddateiIn(const Text& programmordner);

enum class Standlage {
    Fehlt,  // no index, or one that does not open under the key held
    Offen,  // the conversion to sealed files has not finished yet
    Fertig,
};
Standlage StandLage();

// Written empty and open: at switch-on before the conversion, and at a start
// that found none (the conversion then runs again). False when not written.
bool StandBeginnen();
// Every class file below "Noten" recorded as it is now, and the conversion
// marked as finished. False when not written.
bool StandAbschliessen();
// Switching off: the index goes before the first file is plain again.
void StandVerwerfen();

// The save of the class file at pfad with bytes (a no-op for other files,
// for the mirror and while encryption is off): Vormerken before the file is
// written (false: the index could not take it, and nothing may be written),
// Eintragen after it was written.
bool StandVormerken(const Text& pfad, std::string_view bytes);
void StandEintragen(const Text& pfad, std::string_view bytes);

// Makes the index the read check of every sealed file read.
void StandpruefungBinden();

// Why a read of the file at pfad was refused, for the box that names it.
enum class Ablehnung { Beschaedigt, AelterStand, Unverschluesselt, AlteForm };
Ablehnung AblehnungsgrundVon(const Text& pfad);
