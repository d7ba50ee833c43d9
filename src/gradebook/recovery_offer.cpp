// The offer of unsaved changes when a class is opened: the recovery file is
// compared with the loaded class, offered in an "Info" box, and on
// "Verwerfen" moved (not deleted) into the class's "Backups" folder.
#include "gradebook/recovery_offer.hpp"

#include <optional>
#include <string>

#include "gradebook/class_file.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/data_folders.hpp"
#include "platform/conversions.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/paths.hpp"
#include "platform/sealed_files.hpp"
#include "platform/wipe_on_exit.hpp"

namespace {

const ::Text kWiederherstellen = u"Wiederherstellen";
const ::Text kVerwerfen = u"Verwerfen";
const ::Text kBeschaedigtEndung = u".slk.beschaedigt";

// Moves the recovery file into Backups under a name no other file has;
// returns the new path, "" when it could not be moved.
::Text Beiseitelegen(const ::Text& rpfad, const ::Text& zeitstempel, const ::Text& endung) {
    CreateFolder(ExtractFolder(rpfad) + u"/" + kBackupordnerName, false);
    const ::Text basis = VerworfeneWiederherstellungPfad(rpfad, zeitstempel, endung);
    ::Text ziel = basis;
    // A rename replaces what is there: never an older discarded state.
    for (int n = 2; PathKind(ziel) != 0; ++n) {
        if (n > 99) return ::Text();
        ziel = Left(basis, static_cast<int>(basis.size() - endung.size())) + u" " + TextFromInt(n) + endung;
    }
    // Sealed, it is sealed again for its new place.
    if (!MoveDataFile(rpfad, ziel)) return ::Text();
    FlushFolderOf(ziel);
    FlushFolderOf(rpfad);
    return ziel;
}

::Text KlassenName(const TSchulklasse* klasse, const ::Text& pfad) {
    if (klasse) return klasse->Titel[0] + u" " + klasse->Titel[1];
    return StripExtension(Mid(pfad, static_cast<int>(ExtractFolder(pfad).size()) + 2));
}

void Melden(const ::Text& titel, const FarbArg& farbe, const std::vector<::Text>& zeilen) {
    TInfoBox::bauen(titel, farbe, zeilen, {kOkSchalter})->verwenden();
}

}  // namespace

::Text VerworfeneWiederherstellungPfad(const ::Text& rpfad, const ::Text& zeitstempel, const ::Text& endung) {
    const ::Text ordner = ExtractFolder(rpfad);
    const ::Text name = ordner.empty() ? rpfad : Mid(rpfad, static_cast<int>(ordner.size()) + 2);
    // "7a Mathe.slk.ungespeichert" -> "7a Mathe"
    const ::Text basis = StripExtension(StripExtension(name));
    return JoinPath(ordner, kBackupordnerName) + u"/" + basis + u" " + zeitstempel + u" ungespeichert" + endung;
}

std::shared_ptr<TInfoBox> WiederherstellungsAngebot(const ::Text& klassenname, const ::Text& datum,
                                                    const ::Text& uhrzeit) {
    const ::Text wann = u"(zuletzt am " + DatumVerschieben(datum, 0) + u" um " + Left(uhrzeit, 5) + u" Uhr).";
    return TInfoBox::bauen(u"Info", {255, 255, 0},
                           {u"Änderungen an der Klasse " + klassenname,
                            u"aus einer früheren Sitzung wurden nicht gespeichert", wann,
                            u"Wiederherstellen: mit diesen Änderungen weiterarbeiten.",
                            u"Verwerfen: sie kommen in den Ordner Backups der Klasse."},
                           {kWiederherstellen, kVerwerfen});
}

std::shared_ptr<TInfoBox> TitelabweichungHinweis(const ::Text& datei, const std::array<::Text, 2>& zellen,
                                                 const std::array<::Text, 2>& titel) {
    return TInfoBox::bauen(u"Info", {255, 255, 0},
                           {u"Die Datei " + datei, u"nennt als Klasse und Fach " + zellen[0] + u" " + zellen[1] + u".",
                            u"Das Notenbuch wird als " + titel[0] + u" " + titel[1] + u" geführt",
                            u"und nur in diese Datei gespeichert."},
                           {kOkSchalter});
}

namespace {

// The gradebook in the bytes, named as the catalogue names its file and
// saved only there; `abweichung` receives what its first cells say when
// they say otherwise.
using Titel = std::array<::Text, 2>;
std::shared_ptr<TSchulklasse> AlsKatalogklasse(const std::string& bytes, const Titel& titel, const ::Text& datei,
                                               std::optional<Titel>& abweichung) {
    auto klasse = KlasseAusBytes(bytes, &titel);
    if (!klasse) return nullptr;
    klasse->Klassendatei = datei;
    const Titel zellen = TitelDerBytes(bytes);
    if (zellen != titel) abweichung = zellen;
    return klasse;
}

Klassenoeffnung Oeffnen(const ::Text& pfad, const Titel& titel, const ::Text& datei,
                        std::optional<Titel>& abweichung) {
    Klassenoeffnung ergebnis;
    // A sealed class file that does not open under the key is never saved
    // over: nothing opens, and the caller tells why.
    std::string klassenbytes;
    const WipeOnExit weg(klassenbytes);
    const DataReadResult gelesen = ReadDataFile(pfad, klassenbytes, kKlassendateiHoechstgroesse);
    if (gelesen == DataReadResult::Refused) return ergebnis;
    if (gelesen == DataReadResult::Ok) ergebnis.klasse = AlsKatalogklasse(klassenbytes, titel, datei, abweichung);
    // Edits are kept beside the opened file, where the next save goes too.
    const ::Text rpfad = Wiederherstellungspfad(pfad);
    if (PathKind(rpfad) != 1) return ergebnis;

    ::Text datum, uhrzeit;
    if (!FileModifiedTime(rpfad, datum, uhrzeit)) return ergebnis;
    const ::Text zeitstempel = ZeitstempelAus(datum, uhrzeit);
    const ::Text name = KlassenName(ergebnis.klasse.get(), pfad);

    std::string bytes;
    const WipeOnExit wegGerettet(bytes);
    std::shared_ptr<TSchulklasse> gerettet;
    std::optional<Titel> gerettetAbweichung;
    if (ReadDataFile(rpfad, bytes, kKlassendateiHoechstgroesse) == DataReadResult::Ok)
        gerettet = AlsKatalogklasse(bytes, titel, datei, gerettetAbweichung);
    if (!gerettet) {
        const ::Text ziel = Beiseitelegen(rpfad, zeitstempel, kBeschaedigtEndung);
        std::vector<::Text> zeilen{u"Die ungespeicherten Änderungen der Klasse " + name,
                                   u"aus einer früheren Sitzung sind beschädigt und", u"können nicht geladen werden."};
        if (!ziel.empty()) {
            zeilen.push_back(u"Die Datei wurde aufbewahrt als");
            zeilen.push_back(ziel);
        } else {
            zeilen.push_back(u"Die Datei bleibt unverändert liegen:");
            zeilen.push_back(rpfad);
        }
        zeilen.push_back(u"Die Klasse wird aus ihrer Klassendatei geöffnet.");
        Melden(u"Fehler", {255, 0, 0}, zeilen);
        return ergebnis;
    }
    std::string gerettetBytes = KlassendateiBytes(*gerettet);
    std::string klassenBytes = ergebnis.klasse ? KlassendateiBytes(*ergebnis.klasse) : std::string();
    const WipeOnExit weg1(gerettetBytes), weg2(klassenBytes);
    if (ergebnis.klasse && gerettetBytes == klassenBytes) {
        // Nothing beyond the class file: the offer would only confuse.
        DeleteFileAt(rpfad);
        FlushFolderOf(rpfad);
        return ergebnis;
    }

    const ::Text antwort = WiederherstellungsAngebot(name, datum, uhrzeit)->verwenden();
    if (antwort == kWiederherstellen) {
        // The recovery file stays until the next save: a second crash before
        // any edit still finds it.
        ergebnis.klasse = gerettet;
        if (!abweichung) abweichung = gerettetAbweichung;
        return ergebnis;
    }
    if (antwort == kVerwerfen) {
        if (!Beiseitelegen(rpfad, zeitstempel, u".slk").empty()) return ergebnis;
        Melden(u"Fehler", {255, 0, 0},
               {u"Die ungespeicherten Änderungen konnten nicht", u"in den Ordner Backups verschoben werden.",
                u"Die Klasse wird nicht geöffnet."});
    }
    // Closed without an answer, or not put aside: nothing is opened and the
    // recovery file stays for the next time.
    ergebnis.klasse.reset();
    ergebnis.gemeldet = true;
    return ergebnis;
}
}  // namespace

Klassenoeffnung KlasseMitWiederherstellungLaden(const ::Text& pfad) {
    const ::Text datei = KlassendateiUnterNoten(pfad);
    const Titel titel = KatalogTitel(pfad);
    std::optional<Titel> abweichung;
    Klassenoeffnung ergebnis = Oeffnen(pfad, titel, datei, abweichung);
    // Told once, for the class that is opened.
    if (ergebnis.klasse && abweichung) TitelabweichungHinweis(datei, *abweichung, titel)->verwenden();
    return ergebnis;
}
