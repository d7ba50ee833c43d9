// Which photo files make up a camera series: the photos of one folder in the
// camera's numbering, from the first chosen photo to the last, checked against
// the class before anything is written.
#pragma once
#include <vector>

#include "platform/text.hpp"

// Whether a file name counts as a photo: its extension, lower-cased, is
// "jpg", "png" or "bmp".
bool IstFotodateiname(const Text& name);

// The photos among the names of a folder listing ("." and ".." and other
// files dropped), sorted by character code, capitals before small letters.
std::vector<Text> Fotonamen(const std::vector<Text>& eintraege);

// The folder of a path with one "/" at its end.
Text OrdnerMitTrenner(const Text& pfad);

// Walks the sorted names joined to the folder: from the one that equals erstes
// to the one that equals letztes, both included (the same file chosen twice is
// a series of one). Empty when erstes is not among them or letztes does not
// follow it.
std::vector<Text> BildserieAus(const std::vector<Text>& sortierteNamen, const Text& ordner, const Text& erstes,
                               const Text& letztes);

struct Bildserienwahl {
    std::vector<Text> fehlerzeilen;  // the lines of the "Fehler" box; empty when the series fits
    std::vector<Text> pfade;         // the series, first to last
};

// Checks the chosen first and last photo ("/" separators) against each other,
// lists their folder and counts the series against the students of the class.
Bildserienwahl BildserieWaehlen(const Text& erstes, const Text& letztes, int schuelerzahl);
