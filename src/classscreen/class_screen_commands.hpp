// The command groups of the class screen, each in a file of its own, called
// by the dispatch in verwalten. Each returns the result code of verwalten
// (0 stay, 1 back to the catalogue, 2 duplicate created, 3 end the program),
// or kOhneAuswahl when its menu was closed without a choice: then the click is
// not consumed by the dispatch (anzeigen clears it in the next frame anyway).
#pragma once
#include "gradebook/schulklasse.hpp"

inline constexpr int kOhneAuswahl = -1;

// The corner tile: the class command menu with its ten commands.
int Klassenbefehle(TSchulklasse& klasse);
// A grade cell (row >= 1, column >= 1): grade entry.
int Noteneingabe(TSchulklasse& klasse, int zeile, int spalte);
// A name tile (row >= 1): the row menu.
int Zeilenbefehle(TSchulklasse& klasse, int zeile);
// A column header (column >= 1): the column menu.
int Spaltenbefehle(TSchulklasse& klasse, int spalte);
