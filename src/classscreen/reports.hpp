// The printed reports: a student's sheet, the class list (with grades or
// empty) and a column's Notenspiegel. Each is a PDF written into the folder
// "Ausdrucke" beside the program and then opened with the desktop's default
// program. Printing never changes the gradebook.
#pragma once
#include <vector>

#include "gradebook/report_rules.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/pdf_pages.hpp"

// The writers: the path of the PDF written ("Ausdrucke/..."), or "" when it
// could not be written.
::Text SchuelerbogenSchreiben(const TSchulklasse& klasse, int zeile);
::Text KlassenlisteSchreiben(const TSchulklasse& klasse, bool leer);
::Text NotenspiegelSchreiben(const TSchulklasse& klasse, int spalte, int skala);

// The pieces of the grid on the class list's pages, in page order.
std::vector<Seitenausschnitt> KlassenlistenSeiten(const TSchulklasse& klasse);

// The commands behind the tiles and the button: write, then open the PDF, or
// tell the user in a "Fehler" box that it could not be written.
void SchuelerbogenDrucken(const TSchulklasse& klasse, int zeile);
void KlassenlisteDrucken(const TSchulklasse& klasse, bool leer);
void NotenspiegelDrucken(const TSchulklasse& klasse, int spalte, int skala);

// Shared by the three layouts (report_output.cpp).
namespace ausdruck {
// Today's date, printed ("08.12.2026"), and the school year it lies in.
::Text Heute();
::Text SchuljahrHeute();
// "Ausdrucke/<K> <F> <was> <JJJJ-MM-TT>.pdf".
::Text Dateipfad(const TSchulklasse& klasse, const ::Text& was);
// Finishes the document and puts it in place of any older file of that name;
// the path, or "" on failure.
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
