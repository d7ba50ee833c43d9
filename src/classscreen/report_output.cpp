// Where the reports go and how they are opened: the folder "Ausdrucke" beside
// the program (made when missing), a name with class, subject, report and
// date (" (2)" for the second of a day), then xdg-open without waiting, or a
// box naming the file when no program for PDF files is set up. While
// encryption is on a report is personal data in plain form: it goes to the
// private folder of the export instead and is deleted when the program ends.
#include <vector>

#include "classscreen/class_commands.hpp"
#include "classscreen/reports.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/report_rules.hpp"
#include "gradebook/school_names.hpp"
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
// Without a program for PDF files nothing would appear: the teacher learns
// where the report lies.
void OhneBetrachter(const ::Text& pfad) {
    const size_t schnitt = pfad.find_last_of(u'/');
    const ::Text ordner = schnitt == ::Text::npos ? ::Text(u".") : pfad.substr(0, schnitt);
    const ::Text datei = schnitt == ::Text::npos ? pfad : pfad.substr(schnitt + 1);
    TInfoBox::bauen(u"Info", {255, 255, 0},
                    {u"Der Ausdruck ist fertig. Auf diesem Rechner ist aber kein",
                     u"Programm zum Anzeigen von PDF-Dateien eingerichtet.", u"Er liegt im Ordner", ordner,
                     u"als Datei", datei, u"Öffnen Sie ihn dort mit einem PDF-Programm, um ihn zu drucken."},
                    {kOkSchalter})
        ->verwenden();
    User::flush();
}

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

std::vector<std::array<::Text, 2>> Kopfangaben(const TSchulklasse& klasse) {
    const Schulangaben schule = SchulangabenLesen();
    std::vector<std::array<::Text, 2>> angaben;
    if (!schule.schule.empty()) angaben.push_back({u"Schule", schule.schule});
    if (!schule.lehrkraft.empty()) angaben.push_back({u"Lehrkraft", schule.lehrkraft});
    angaben.push_back({u"Klasse", klasse.Titel[0]});
    angaben.push_back({u"Fach", klasse.Titel[1]});
    angaben.push_back({u"Schuljahr", SchuljahrHeute()});
    angaben.push_back({u"Datum", Heute()});
    return angaben;
}

double Unterschriftszeile(PdfDokument& d, double x, double y, double breite, const ::Text& beschriftung) {
    d.Flaeche(x, y, breite, 0.7, kSchwarz);
    d.Schrift(beschriftung, x, y + 11, 8, kGrau);
    return y + 11;
}

::Text Ablegen(PdfDokument& dokument, const ::Text& gewuenscht) {
    std::string bytes;
    if (gewuenscht.empty() || !dokument.Beenden(bytes)) return u"";
    if (!SealingOn() && !CreateFolder(kAusdruckordnerName, false)) return u"";
    // The paper printed this morning stays as it was: the next one of the
    // name gets " (2)", " (3)" ...
    ::Text pfad = gewuenscht;
    for (int n = 2; PathKind(pfad) != 0; ++n) {
        if (n > 999) return u"";
        pfad = AusdruckNummeriert(gewuenscht, n);
    }
    // Not forced to the disk: a report lost in a power cut is printed again.
    if (!ReplaceFileBytes(pfad, bytes, false)) return u"";
    // The viewer may still read it: the plain copy goes at the end of the run.
    if (SealingOn()) DeleteAtExit(pfad);
    return pfad;
}

void Oeffnen(const ::Text& pfad) {
    if (!pfad.empty()) {
        OpenURL(CanonicalPath(pfad));
        if (!SealingOn()) {
            if (!OpenerKnownFor(u"application/pdf")) OhneBetrachter(CanonicalPath(pfad));
            return;
        }
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

namespace {
// Offered first the next time in this run.
Bogenumfang zuletztGewaehlt = Bogenumfang::FuerEltern;
}  // namespace

bool SchuelerbogenDrucken(const TSchulklasse& klasse, int zeile, int x, int y) {
    TTextMenu& menue = *Bogenmenue;
    menue.einblenden(x, y, x, y, nullptr, kPositionBehalten, kPositionBehalten);
    menue.Markiert = zuletztGewaehlt == Bogenumfang::FuerEltern ? 0 : 1;
    const bool gewaehlt = menue.verwenden() == u"1";
    User::flush();
    if (!gewaehlt) return false;
    zuletztGewaehlt = menue.Auswahl_Kachelindex == 1 ? Bogenumfang::Vollstaendig : Bogenumfang::FuerEltern;
    ausdruck::Oeffnen(SchuelerbogenSchreiben(klasse, zeile, zuletztGewaehlt));
    return true;
}
void KlassenlisteDrucken(const TSchulklasse& klasse, bool leer) { ausdruck::Oeffnen(KlassenlisteSchreiben(klasse, leer)); }
void NotenspiegelDrucken(const TSchulklasse& klasse, int spalte, int skala) {
    ausdruck::Oeffnen(NotenspiegelSchreiben(klasse, spalte, skala));
}
