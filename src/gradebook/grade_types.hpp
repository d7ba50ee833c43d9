// Grade types: the word that heads a grade column decides its icon, its
// heading colour and how its grades enter the averages.
#pragma once
#include <array>

#include "platform/text.hpp"

// How the grades of a column count in the averages.
enum class Typkategorie {
    Schriftlich,   // "Arbeit", "10h-Test"
    Sonstig,       // every other grade column, free names and "" included
    Zeugnis,       // report grade, never averaged
    Durchschnitt,  // generated average column: "schriftl.", "sonst.", "HauptF.", "NebenF."
};

Typkategorie KategorieVonTyp(const Text& typ);

// The four reserved words that make a column an average column; a free
// type name may not be one of them.
bool IstDurchschnittstyp(const Text& typ);
// "HauptF." or "NebenF.": the last column of an average group.
bool IstGesamtdurchschnitt(const Text& typ);

// Embedded icon of a grade type; the question mark for "" and unknown names.
Text Typsymbol(const Text& typ);

// Background colour (red, green, blue 0..255) of a column heading.
std::array<int, 3> Typfarbe(const Text& typ);
