// The printed reports: a student's sheet, the class list (with grades or
// empty) and a column's Notenspiegel. Each is a PDF written into the folder
// "Ausdrucke" beside the program and then opened with the desktop's default
// program. Printing never changes the gradebook.
#pragma once
#include <array>
#include <vector>

#include "gradebook/report_rules.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/pdf_pages.hpp"

// What a "Schülerbogen" holds: for parents the grades, averages, report
// grades and forgotten homework, never the teacher's notes or the telephone
// number; complete with those two.
enum class Bogenumfang { FuerEltern, Vollstaendig };

// The writers: the path of the PDF written ("Ausdrucke/..."), or "" when it
// could not be written.
::Text SchuelerbogenSchreiben(const TSchulklasse& klasse, int zeile, Bogenumfang umfang);
::Text KlassenlisteSchreiben(const TSchulklasse& klasse, bool leer);
::Text NotenspiegelSchreiben(const TSchulklasse& klasse, int spalte, int skala);

// The pieces of the grid on the class list's pages, in page order.
std::vector<Seitenausschnitt> KlassenlistenSeiten(const TSchulklasse& klasse);

// The commands behind the tiles and the button: write, then open the PDF, or
// tell the user in a "Fehler" box that it could not be written. The sheet
// asks first, in a small menu beside `x`, `y`, which of the two it shall be;
// the answer is offered first the next time in this run. False when that
// menu was left without a choice.
bool SchuelerbogenDrucken(const TSchulklasse& klasse, int zeile, int x, int y);
void KlassenlisteDrucken(const TSchulklasse& klasse, bool leer);
void NotenspiegelDrucken(const TSchulklasse& klasse, int spalte, int skala);

// Shared by the three layouts (report_output.cpp).
namespace ausdruck {
// Today's date, printed ("08.12.2026"), and the school year it lies in.
::Text Heute();
::Text SchuljahrHeute();
// "Ausdrucke/<K> <F> <was> <JJJJ-MM-TT>.pdf".
::Text Dateipfad(const TSchulklasse& klasse, const ::Text& was);
// The head's facts in print order, each as label and value: school and
// teacher (when entered in the main menu), class, subject, school year, date.
std::vector<std::array<::Text, 2>> Kopfangaben(const TSchulklasse& klasse);
// A line to sign on with its caption below, `breite` wide from x; the
// caption's baseline is returned.
double Unterschriftszeile(PdfDokument& d, double x, double y, double breite, const ::Text& beschriftung);
inline const ::Text kUnterschriftLehrkraft = u"Datum, Unterschrift der Lehrkraft";
inline const ::Text kKenntnisnahmeSchulleitung = u"Kenntnisnahme Schulleitung";
// Finishes the document and writes it under that name, or with " (2)",
// " (3)" ... when a report of the name exists already; the path, or "" on
// failure.
::Text Ablegen(PdfDokument& dokument, const ::Text& pfad);
// Opens the written report, or shows why there is none.
void Oeffnen(const ::Text& pfad);
// Longest prefix of the text that fits the width, with "…" when cut.
::Text Gekuerzt(PdfDokument& d, const ::Text& text, double groesse, double breite);
// The text broken at blanks into lines that fit the width.
std::vector<::Text> Umbrochen(PdfDokument& d, const ::Text& text, double groesse, double breite);

inline const Druckfarbe kSchwarz{0, 0, 0};
inline const Druckfarbe kGrau{110, 110, 110};
inline const Druckfarbe kLinie{150, 150, 150};
inline const Druckfarbe kKopfgrund{228, 228, 228};
}  // namespace ausdruck
