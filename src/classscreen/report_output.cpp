// Where the reports go and how they are opened: the folder "Ausdrucke" beside
// the program (made when missing), a name with class, subject, report and
// date, the file replaced in one step, then xdg-open without waiting. While
// encryption is on a report is personal data in plain form: it goes to the
// private folder of the export instead and is deleted when the program ends.
#include <vector>

#include "classscreen/class_commands.hpp"
#include "classscreen/reports.hpp"
#include "gradebook/report_rules.hpp"
#include "platform/conversions.hpp"
#include "platform/datetime.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/sealed_files.hpp"
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
    const ::Text name = Ausdruckdateiname(klasse.Titel[0], klasse.Titel[1], was, d.jahr, d.monat, d.tag);
    if (!SealingOn()) return kAusdruckordnerName + u"/" + name;
    // A neutral name: the viewer may keep the names it opened in its history.
    static int nummer = 0;
    const ::Text ordner = PrivaterKopienordner();
    return ordner.empty() ? ::Text() : ordner + u"/Ausdruck-" + TextFromInt(++nummer) + u".pdf";
}

::Text Ablegen(PdfDokument& dokument, const ::Text& pfad) {
    std::string bytes;
    if (pfad.empty() || !dokument.Beenden(bytes)) return u"";
    if (!SealingOn() && !CreateFolder(kAusdruckordnerName, false)) return u"";
    // Not forced to the disk: a report lost in a power cut is printed again.
    if (!ReplaceFileBytes(pfad, bytes, false)) return u"";
    // The viewer may still read it: the plain copy goes at the end of the run.
    if (SealingOn()) DeleteAtExit(pfad);
    return pfad;
}

void Oeffnen(const ::Text& pfad) {
    if (!pfad.empty()) {
        OpenURL(CanonicalPath(pfad));
        if (!SealingOn()) return;
        TInfoBox::bauen(u"Info", {255, 255, 0},
                        {u"Der Ausdruck liegt unverschlüsselt in einem privaten Ordner,",
                         u"den nur Sie öffnen können:", CanonicalPath(pfad),
                         u"Er wird gelöscht, wenn das Programm endet.", u"Drucken Sie ihn vorher."},
                        {kOkSchalter})
            ->verwenden();
        User::flush();
        return;
    }
    const std::vector<::Text> warum =
        SealingOn() ? std::vector<::Text>{u"Konnte der private Ordner für Ausdrucke angelegt",
                                          u"werden, und ist die Festplatte nicht voll?"}
                    : std::vector<::Text>{u"Ist der Ordner \"Ausdrucke\" neben dem Programm",
                                          u"beschreibbar und die Festplatte nicht voll?"};
    std::vector<::Text> zeilen{u"Der Ausdruck konnte nicht geschrieben werden."};
    zeilen.insert(zeilen.end(), warum.begin(), warum.end());
    TInfoBox::bauen(u"Fehler", {255, 0, 0}, zeilen, {kOkSchalter})->verwenden();
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
