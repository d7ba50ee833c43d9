// Writing a grade into a cell: a grade picked from the grade menu (with the
// rule for report grades) or a text typed through the "?" tile, and which
// cells are computed and never written by hand.
#pragma once
#include "gradebook/schulklasse.hpp"
#include "platform/text.hpp"

// True when column `spalte` holds computed averages ("schriftl.", "sonst.",
// "HauptF." or "NebenF.").
bool IstDurchschnittsspalte(const TSchulklasse& klasse, int spalte);

// True when column `spalte` holds report grades ("Zeugnis").
bool IstZeugnisspalte(const TSchulklasse& klasse, int spalte);

// What a report-grade cell stores for a grade picked from the menu: on the
// grades scale a report grade has no tendency, so "2-" becomes "2"; "n.f."
// and every points grade stay as they are.
Text Zeugnisnote(const Text& gewaehlt, int skala);

// Enters a grade picked from the grade menu into cell (zeile, spalte), in the
// colour of the picked grade. The row's averages follow, except in a report
// column, whose grades never count.
void GewaehlteNoteEintragen(TSchulklasse& klasse, int zeile, int spalte, const Text& gewaehlt);

// Enters a typed text, trimmed at both ends, into cell (zeile, spalte); it is
// kept as typed even when it is no grade of the scale. The row's averages
// follow.
void FreieNoteEintragen(TSchulklasse& klasse, int zeile, int spalte, const Text& eingabe);

// Takes back the last grade entry of the class's Eintragsverlauf whose cell
// is still in the grid: the cell shows its earlier text in its earlier colour
// and the row's averages follow. Returns that row, 0 when there was none.
int LetztenEintragZuruecknehmen(TSchulklasse& klasse);
