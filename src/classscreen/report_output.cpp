// Where the reports go and how they are opened: the folder "Ausdrucke" beside
// the program (made when missing), a name with class, subject, report and
// date, the file replaced in one step, then xdg-open without waiting.
#include <vector>

#include "classscreen/reports.hpp"
#include "gradebook/report_rules.hpp"
#include "platform/datetime.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/system_services.hpp"
#include "tiles/info_box.hpp"
#include "tiles/user.hpp"

namespace ausdruck {
namespace {
struct Datum {
    int jahr = 2000, monat = 1, tag = 1;
};
Datum Jetzt() {
    Datum d;
    CurrentDate(d.jahr, d.monat, d.tag);
    return d;
}
}  // namespace

::Text Heute() {
    const Datum d = Jetzt();
    return Druckdatum(d.jahr, d.monat, d.tag);
}

::Text SchuljahrHeute() {
    const Datum d = Jetzt();
    return Schuljahr(d.jahr, d.monat);
}

::Text Dateipfad(const TSchulklasse& klasse, const ::Text& was) {
    const Datum d = Jetzt();
    return kAusdruckordnerName + u"/" + Ausdruckdateiname(klasse.Titel[0], klasse.Titel[1], was, d.jahr, d.monat, d.tag);
}

::Text Ablegen(PdfDokument& dokument, const ::Text& pfad) {
    std::string bytes;
    if (!dokument.Beenden(bytes)) return u"";
    if (!CreateFolder(kAusdruckordnerName, false)) return u"";
    // Not forced to the disk: a report lost in a power cut is printed again.
    return ReplaceFileBytes(pfad, bytes, false) ? pfad : u"";
}

void Oeffnen(const ::Text& pfad) {
    if (!pfad.empty()) {
        OpenURL(CanonicalPath(pfad));
        return;
    }
    TInfoBox::bauen(u"Fehler", {255, 0, 0},
                    {u"Der Ausdruck konnte nicht geschrieben werden.", u"Ist der Ordner \"Ausdrucke\" neben dem Programm",
                     u"beschreibbar und die Festplatte nicht voll?"},
                    {kOkSchalter})
        ->verwenden();
    User::flush();
}

::Text Gekuerzt(PdfDokument& d, const ::Text& text, double groesse, double breite) {
    if (d.Textbreite(text, groesse) <= breite) return text;
    ::Text t = text;
    while (!t.empty() && d.Textbreite(t + u"…", groesse) > breite) t.pop_back();
    return t + u"…";
}

std::vector<::Text> Umbrochen(PdfDokument& d, const ::Text& text, double groesse, double breite) {
    std::vector<::Text> zeilen;
    ::Text zeile;
    size_t i = 0;
    while (i < text.size()) {
        size_t ende = text.find(u' ', i);
        if (ende == ::Text::npos) ende = text.size();
        const ::Text wort = text.substr(i, ende - i);
        const ::Text probe = zeile.empty() ? wort : zeile + u" " + wort;
        if (!zeile.empty() && d.Textbreite(probe, groesse) > breite) {
            zeilen.push_back(zeile);
            zeile = wort;
        } else {
            zeile = probe;
        }
        i = ende + 1;
    }
    if (!zeile.empty() || zeilen.empty()) zeilen.push_back(zeile);
    for (::Text& z : zeilen) z = Gekuerzt(d, z, groesse, breite);
    return zeilen;
}
}  // namespace ausdruck

void SchuelerbogenDrucken(const TSchulklasse& klasse, int zeile) {
    ausdruck::Oeffnen(SchuelerbogenSchreiben(klasse, zeile));
}
void KlassenlisteDrucken(const TSchulklasse& klasse, bool leer) { ausdruck::Oeffnen(KlassenlisteSchreiben(klasse, leer)); }
void NotenspiegelDrucken(const TSchulklasse& klasse, int spalte, int skala) {
    ausdruck::Oeffnen(NotenspiegelSchreiben(klasse, spalte, skala));
}
