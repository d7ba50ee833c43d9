// Changes to the columns of a gradebook's grid: append at the right end,
// delete, move left, retype and redate. Each keeps every row at one tile per
// column and every tile of column j at x = 160 + 80 j; none recomputes
// averages or asks anything (the callers do).
#pragma once
#include <vector>

#include "gradebook/column_groups.hpp"
#include "gradebook/schulklasse.hpp"

// First heading text of every column (entry 0 is the class name).
std::vector<Text> Spaltentypen(const TSchulklasse& klasse);

// Appends a column with the heading lines (type, icon, and the date of a
// grade column) in the heading colour, and an empty cell per student; the
// new tiles fly in from the top of their column.
void SpalteAnhaengen(TSchulklasse& klasse, const std::vector<Text>& kopfzeilen, const RGBFarbe& kopffarbe);

// Drops the columns of the range from every row; the columns to their right
// close the gap.
void SpaltenEntfernen(TSchulklasse& klasse, const Spaltenbereich& bereich);

// The moving columns swap places with the passed ones in every row.
void SpaltenNachLinks(TSchulklasse& klasse, const Linksverschiebung& v);

// New type, icon and colour for the heading of column j (its date stays);
// its cells take half the colour.
void SpaltentypSetzen(TSchulklasse& klasse, int j, const Text& typ, const Text& symbol, const RGBFarbe& farbe);

// New date line for the heading of grade column j.
void SpaltendatumSetzen(TSchulklasse& klasse, int j, const Text& datum);
