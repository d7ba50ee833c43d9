// Where a student's portrait lies: "<surname> <first names>.png" in the
// class's "Bilder" folder. A name that is not a plain file name (holding "/"
// or "\", a control character, or being "." or "..") has no portrait file at
// all, so no name can reach outside that folder.
#pragma once
#include "gradebook/schulklasse.hpp"
#include "platform/text.hpp"

// "<surname> <first names>.png", or "" when that is not a plain file name;
// while encryption is on "<32 hex digits>.png" named by the key.
Text Portraitdateiname(const Text& nachname, const Text& vornamen);
// The portrait path of a student below a data folder, or "" as above.
Text PortraitpfadIn(const Text& datenordner, const Text& klasse, const Text& nachname, const Text& vornamen);
// The portrait path of the student in row `zeile` (>= 1) of the open class,
// below the program's data folder; "" as above.
Text Portraitpfad(const TSchulklasse& klasse, int zeile);
