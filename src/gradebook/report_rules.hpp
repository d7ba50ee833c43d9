// Rules the printed reports share, free of any drawing: their file names, the
// dates and school year on them, colours light enough for a black-and-white
// printer, how the class list is cut into pages, and which columns form a
// half-year on a student's sheet.
#pragma once
#include <vector>

#include "platform/text.hpp"
#include "tiles/kachel.hpp"

// Folder beside the program that receives every report.
inline const Text kAusdruckordnerName = u"Ausdrucke";

// class + " " + subject + " " + what + " " + "JJJJ-MM-TT" + ".pdf"; the
// characters a file name cannot hold ("/", "\", control characters) become "-".
Text Ausdruckdateiname(const Text& klasse, const Text& fach, const Text& was, int jahr, int monat, int tag);
// "08.12.2026".
Text Druckdatum(int jahr, int monat, int tag);
// The school year that a date lies in, starting on 1 August: "2026/27".
Text Schuljahr(int jahr, int monat);
// A second report of the same name on a day: n = 2 gives "<name> (2).pdf"
// for "<name>.pdf"; n <= 1 leaves the name as it is.
Text AusdruckNummeriert(const Text& pfad, int n);

// A number as printed: an average "2.25" or "11.5" gets its decimal comma;
// every other entry ("2-", "n.f.", a date "14.09.26") stays as typed.
Text MitDezimalkomma(const Text& eintrag);
// The count of forgotten homework without the words of its tile: the entry
// "3 vergessene Hausaufg." prints as "3" after its label; other texts as typed.
Text HausaufgabenOhneWiederholung(const Text& eintrag);

// The colour mixed with white so that black text on it stays readable
// (about a quarter of the colour is kept).
RGBFarbe Aufgehellt(const RGBFarbe& farbe);

// A piece of the class list's grid on one page: rows and grade columns
// (both 1-based, inclusive); the header row and the name column come on
// every page besides.
struct Seitenausschnitt {
    int ersteZeile = 1, letzteZeile = 0;
    int ersteSpalte = 1, letzteSpalte = 0;
    bool operator==(const Seitenausschnitt&) const = default;
};
// The pages for `schueler` students and `spalten` grade columns when a page
// holds `zeilenJeSeite` rows and `spaltenJeSeite` columns: all rows of the
// first columns, then all rows of the next columns, so each column band can
// be laid beside the last one. At least one page, even for an empty class.
std::vector<Seitenausschnitt> Seitenaufteilung(int schueler, int spalten, int zeilenJeSeite, int spaltenJeSeite);

// A half-year on a student's sheet: its grade columns (first..last) and the
// last column of the average group that closes it (0 when none closes it yet).
struct Halbjahresabschnitt {
    int erste = 1, letzte = 0;
    int gruppe = 0;
    bool operator==(const Halbjahresabschnitt&) const = default;
};
// typen[j] is the type of column j (typen[0] is the name column). The columns
// are cut after each average group; columns after the last group form a
// piece without a group (a piece may hold a group and no grade column).
std::vector<Halbjahresabschnitt> Halbjahresabschnitte(const std::vector<Text>& typen);
