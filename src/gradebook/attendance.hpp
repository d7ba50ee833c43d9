// Attendance: who missed which lesson, excused or not, and who came late by
// how many minutes. Kept as "<K> <F>.fehlzeiten" beside the class file:
// Latin-1 lines "Datum;Stunde;Nachname;Vorname;Art;Minuten" ended by CR LF,
// the date "TT.MM.JJ", the lesson 1 to 10, Art "F" (absent), "E" (excused)
// or "V" (late, with its minutes); one line per student and lesson, only for
// students who were not present.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gradebook/student_rows.hpp"

enum class Anwesenheit { anwesend, fehlt, entschuldigt, verspaetet };

struct Fehlzeit {
    Text datum;  // "TT.MM.JJ"
    int stunde = 1;
    Schuelername name;
    Anwesenheit art = Anwesenheit::fehlt;
    int minuten = 0;  // only for a late arrival
    bool operator==(const Fehlzeit&) const = default;
};

inline constexpr int kHoechsteStunde = 10;
inline constexpr int kHoechsteVerspaetung = 600;
// A school year of a big class fills some 100 KB; a file beyond this is no attendance list.
inline constexpr size_t kFehlzeitenHoechstgroesse = 4u * 1024u * 1024u;

// The roll call's tap: present -> absent -> late -> present (an excused
// absence tapped becomes late too). A long press excuses an absence (and
// marks a present student as excused at once); on an excused one it takes
// the excuse back.
Anwesenheit NachTippen(Anwesenheit a);
Anwesenheit NachLangemDruck(Anwesenheit a);

class TFehlzeiten {
public:
    std::vector<Fehlzeit> Eintraege;

    // The student's state in that lesson (present when there is no line).
    Anwesenheit Stand(const Text& datum, int stunde, const Schuelername& name, int* minuten = nullptr) const;
    // Sets it; present removes the line. False when nothing changed.
    bool Setzen(const Text& datum, int stunde, const Schuelername& name, Anwesenheit art, int minuten = 0);
    // The student's lines, newest first.
    std::vector<Fehlzeit> DesSchuelers(const Schuelername& name) const;
    // Every line of the student removed / renamed; true when any was.
    bool SchuelerEntfernen(const Schuelername& name);
    bool SchuelerUmbenennen(const Schuelername& alt, const Schuelername& neu);

    std::string Bytes() const;
    bool operator==(const TFehlzeiten&) const = default;
};

struct Fehlzeitenlesung {
    std::optional<TFehlzeiten> fehlzeiten;
    Text fehler;
};
// Reads attendance file bytes for a class with these students: a line too
// long, a bad date, lesson, kind or minutes, a student not in the class or
// two lines for one student and lesson refuse the whole file.
Fehlzeitenlesung FehlzeitenAusBytes(std::string_view bytes, const std::vector<Schuelername>& schueler);

// "TT.MM.JJ" as the number JJJJMMTT (years 2000 to 2099); 0 for no valid date.
int Datumszahl(const Text& datum);

// What the reports count for one student in one half-year.
struct Fehlzeitenzahlen {
    int fehlstunden = 0;     // "F" and "E"
    int unentschuldigt = 0;  // "F" only
    int verspaetungen = 0;
    int minuten = 0;
    bool operator==(const Fehlzeitenzahlen&) const = default;
};
// Counts by half-year: [0] up to and including the half-year report date
// `grenze` (JJJJMMTT), [1] after it.
std::array<Fehlzeitenzahlen, 2> ZahlenProHalbjahr(const TFehlzeiten& f, const Schuelername& name, int grenze);
// The whole school year.
Fehlzeitenzahlen ZahlenImJahr(const TFehlzeiten& f, const Schuelername& name);

// Where the first half-year ends, as the averages split the year: the date
// of the first "Zeugnis" column; without one, 31 January of the school year
// of `heute` ("TT.MM.JJ"; the school year starts on 1 August).
int Halbjahresgrenze(const TSchulklasse& klasse, const Text& heute);
