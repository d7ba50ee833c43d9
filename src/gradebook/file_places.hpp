// What a sealed file is bound to: its place below the data folder "Noten"
// (of the program folder or of the mirror, alike), written as the sealed
// form's associated data. A sealed file moved to another place, or an older
// backup copied over the class file, then no longer opens.
#pragma once
#include <string>

#include "platform/text.hpp"

// The place of a file as UTF-8: kind, class folder, subject and a backup's
// time stamp, each ended by a NUL byte:
//   "Klassendatei\0" "7a\0" "Mathe\0" "\0"                    Noten/7a/7a Mathe.slk
//   "Wiederherstellung\0" "7a\0" "Mathe\0" "\0"               Noten/7a/7a Mathe.slk.ungespeichert
//   "Backup\0" "7a\0" "Mathe\0" "26-10-14-10-00-00\0"         Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk
//   "Bild\0" "7a\0" "\0" "\0"                                 Noten/7a/Bilder/<any>.png
//   "Datei\0" "<path below Noten>\0" "\0" "\0"                 anything else below Noten
//   "Stand\0" "\0" "\0" "\0"                                   .Kladdorix-Stand (the index of saves)
// Any other path with no folder "Noten" in it has the empty place.
std::string Ablageort(const Text& pfad);
// Makes Ablageort the rule of every sealed file read or written.
void AblageorteBinden();
