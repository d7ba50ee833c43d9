// The school's and the teacher's name for the head of every report. They live
// in a file of their own beside the settings, ".Kladdorix-Schule" (two Latin-1
// lines, CR LF), so that the settings file keeps exactly its three lines.
#pragma once
#include "platform/text.hpp"

inline const Text kSchuldateiName = u".Kladdorix-Schule";

struct Schulangaben {
    Text schule, lehrkraft;
    bool operator==(const Schulangaben&) const = default;
};

// ".Kladdorix-Schule" in the given program folder; beside the program (named
// relative to the working folder, which is the program folder).
Text SchuldateiIn(const Text& programmordner);
Text Schuldatei();

// Line 1 the school, line 2 the teacher; both empty when the file is missing
// or unreadable (the reports then leave the two out).
Schulangaben SchulangabenLesenAus(const Text& datei);
Schulangaben SchulangabenLesen();

// Whether the file can hold the name as typed: Latin-1, no control character.
bool SchulangabeSpeicherbar(const Text& name);
// Writes both lines; false when a name cannot be held (nothing is written
// then) or the file cannot be written.
[[nodiscard]] bool SchulangabenSchreibenNach(const Text& datei, const Schulangaben& angaben);
[[nodiscard]] bool SchulangabenSchreiben(const Schulangaben& angaben);
