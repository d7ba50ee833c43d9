// The command groups of the class screen, each in a file of its own, called
// by the dispatch in verwalten. Each returns the result code of verwalten
// (0 stay, 1 back to the catalogue, 2 duplicate created, 3 end the program),
// or kOhneAuswahl when its menu was closed without a choice: then the click is
// not consumed by the dispatch (anzeigen clears it in the next frame anyway).
#pragma once
#include "gradebook/schulklasse.hpp"
#include "tiles/menu.hpp"

inline constexpr int kOhneAuswahl = -1;

// The corner tile: the class command menu with its ten commands.
int Klassenbefehle(TSchulklasse& klasse);
// A grade cell (row >= 1, column >= 1): grade entry.
int Noteneingabe(TSchulklasse& klasse, int zeile, int spalte);
// Enters the choice of a grade menu that just returned "1" into cell
// (zeile, spalte): a grade by the report-grade rule, or through the "?" tile
// the keyboard's text. False when nothing was entered (keyboard cancelled).
bool MenuewahlEintragen(TSchulklasse& klasse, int zeile, int spalte, const TMenu& menue);
// Grades for a whole column, student after student from the first empty
// cell: the grade menu beside the marked cell, then the next student down
// whose cell is empty.
void Notenserie(TSchulklasse& klasse, int spalte);
// A full column gets an "Info" box instead of a series.
// Where the series starts: the first student whose cell in the column is
// empty, 0 when none is.
int ErsteLeereZeile(const TSchulklasse& klasse, int spalte);
// The first student from row ab on whose cell in the column is empty, 0 when none is.
int NaechsteLeereZeile(const TSchulklasse& klasse, int spalte, int ab);
// A name tile (row >= 1): the row menu.
int Zeilenbefehle(TSchulklasse& klasse, int zeile);
// A column header (column >= 1): the column menu.
int Spaltenbefehle(TSchulklasse& klasse, int spalte);
