// Name order of the student rows and the trailing separator of paths.
#pragma once
#include "platform/text.hpp"

// Sort key of a name: lower-cased, with "ß", "ä", "ö", "ü" written as
// "ss", "ae", "oe", "ue", so that Müller and Mueller sort alike, and every
// other letter with a diacritic as its base letter ("æ" as "ae"), so that
// Çelik sorts among the C and Ñúñez among the N.
Text Namensschluessel(const Text& name);

// True when the student (nachnameA, vornamenA) sorts strictly after
// (nachnameB, vornamenB): surnames first, first names only on a tie; keys
// compared by character code, a prefix before the longer name.
bool NamenVergleich(const Text& nachnameA, const Text& vornamenA,
                    const Text& nachnameB, const Text& vornamenB);

// The path without one trailing "/" or "\"; other paths unchanged.
Text OhneEndtrenner(const Text& pfad);
