// Encryption of the data folder and its mirror: which state the key files
// say the program is in, and the conversion that brings every file the
// program writes (class files, recovery files, backups, portraits) into the
// form of that state. The key file beside the program means "on"; the same
// file renamed to ".aus" means "being switched off". Each file is rewritten
// whole (beside, flush, rename), so an interrupted conversion leaves every
// file in one form or the other, and the next start finishes it.
#pragma once
#include <functional>
#include <vector>

#include "platform/text.hpp"

// ".Kladdorix-Schluessel" and ".Kladdorix-Schluessel.aus" in the folder.
Text SchluesseldateiIn(const Text& programmordner);
Text AusschaltdateiIn(const Text& programmordner);

enum class Verschluesselungsstand { Aus, An, Ausschalten };
Verschluesselungsstand VerschluesselungsstandIn(const Text& programmordner);

struct Umstellung {
    int dateien = 0;         // files looked at
    int umgestellt = 0;      // rewritten in the other form
    int verschluesselt = 0;  // sealed afterwards
    int abgelehnt = 0;       // sealed files that do not open under the key: left as they are
    int fehlgeschlagen = 0;  // could not be rewritten (the next start tries again)
};

// Brings every file below the data folder "Noten" of the working folder and,
// when given, below backupOrdner + "/Noten" into the sealed form (versiegeln)
// or the plain form. Portraits are renamed with it: "<name>.png" to the hash
// of the name and back (the names come from the gradebooks of the class
// folder). fortschritt(fertig, gesamt) is called before the first file and
// after each one.
// How many files DateienUmstellen would rewrite or rename (only the first
// bytes and the names are looked at).
// With datenordner false only the mirror's files are looked at (the data
// folder's were converted once; what is plain there now was not written by
// the program and is refused when read).
int UmzustellendeDateien(bool versiegeln, const Text& backupOrdner, bool datenordner = true);

// Plain copies the program wrote that are only copies, to be deleted (with
// the teacher's consent) when encryption is switched on: export copies
// "<K> <F> (exportiert).slk" beside the program, the reports in "Ausdrucke",
// and leftovers of interrupted writes below "Noten" and the mirror's "Noten".
std::vector<Text> KlareKopien(const Text& backupOrdner);

// Counts one file's rewrite in u.
enum class ConvertResult;
void Zaehlen(Umstellung& u, ConvertResult r);

Umstellung DateienUmstellen(bool versiegeln, const Text& backupOrdner,
                            const std::function<void(int, int)>& fortschritt = {}, bool datenordner = true);
