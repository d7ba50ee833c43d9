// Which columns a delete or a move to the left takes along, so that an
// average group ("schriftl.", "sonst.", "HauptF."/"NebenF." side by side)
// always stays whole, and whether another average group may be added.
// Pure rules over the column types of the header row.
#pragma once
#include <optional>
#include <vector>

#include "platform/text.hpp"

// Columns erste..letzte (inclusive).
struct Spaltenbereich {
    int erste = 0;
    int letzte = 0;

    bool operator==(const Spaltenbereich&) const = default;
};

// typen[j] is the type of column j; typen[0], the name column, is not looked
// at. k is a grade column (1 <= k < typen.size()).

// The columns deleted with column k: its whole group when k belongs to one,
// else k alone.
Spaltenbereich LoeschBereich(const std::vector<Text>& typen, int k);

// A move to the left: the columns `wandert` swap places with the columns
// `uebersprungen` directly left of them.
struct Linksverschiebung {
    Spaltenbereich wandert;
    Spaltenbereich uebersprungen;

    bool operator==(const Linksverschiebung&) const = default;
};

// What "Nach Links rücken" on column k does; nothing for the first grade
// column, and nothing for a member of a group that already stands at
// columns 1 to 3 (a group never splits).
std::optional<Linksverschiebung> LinksBereich(const std::vector<Text>& typen, int k);

// Column order after the move: entry j names the old column that becomes column j.
std::vector<int> SpaltenfolgeNach(int spalten, const Linksverschiebung& v);

// Whether an average group ending in `gesamttyp` ("HauptF." or "NebenF.") may
// be added: one per half-year, and a subject is weighted one way all year.
enum class Gruppenzulassung {
    Erlaubt,
    ZweiVorhanden,  // already two groups of one kind
    Gemischt,       // a group of the other kind exists
};
Gruppenzulassung NeueGruppePruefen(const std::vector<Text>& typen, const Text& gesamttyp);
