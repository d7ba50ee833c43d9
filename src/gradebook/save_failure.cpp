// The "could not be saved" box, and on leaving its way out: the choice to
// stay or to leave without saving, and the confirmation of what that costs.
#include "gradebook/save_failure.hpp"

#include <string>

#include "gradebook/class_file.hpp"
#include "platform/sealed_files.hpp"
#include "platform/wipe_on_exit.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/graphics.hpp"
#include "platform/paths.hpp"
#include "tiles/user.hpp"

namespace {
const ::Text kBleiben = u"  Geöffnet lassen  ";
const ::Text kJa = u"Ja, das ist ok";
const ::Text kNein = u"NEIN";

::Text Gehen(bool programmEnde) { return programmEnde ? u"Ohne Speichern beenden" : u"Ohne Speichern schließen"; }

std::vector<::Text> Zeilen(const TSchulklasse& klasse) {
    return {u"Die Klasse " + klasse.Titel[0] + u" " + klasse.Titel[1], u"konnte nicht gespeichert werden.",
            u"Bitte prüfen Sie, ob der Ordner beschreibbar ist",
            u"und genug Platz frei ist. Die Klasse bleibt geöffnet."};
}

// Where a path relative to the working folder (the program folder) lies, for a message.
::Text Absolut(const ::Text& pfad) {
    if (pfad.starts_with(u"/")) return pfad;
    const ::Text ordner = CanonicalPath(ExtractFolder(pfad).empty() ? ::Text(u".") : ExtractFolder(pfad));
    return ordner.empty() ? pfad : JoinPath(ordner, pfad.substr(pfad.find_last_of(u'/') + 1));
}

bool DateiGleich(const ::Text& pfad, const std::string& bytes) {
    std::string datei;
    const WipeOnExit weg(datei);
    return ReadDataFile(pfad, datei, kKlassendateiHoechstgroesse) == DataReadResult::Ok && datei == bytes;
}
}  // namespace

void SpeicherfehlerZeigen(const TSchulklasse& klasse) {
    TInfoBox::bauen(u"Fehler", {255, 0, 0}, Zeilen(klasse), {kOkSchalter})->verwenden();
    User::flush();
}

bool SpiegelfehlerGemeldet = false;

std::shared_ptr<TInfoBox> SicherungswarnungBox(const TSchulklasse& klasse, const ::Text& backupordner,
                                               const ::Text& spiegelordner) {
    std::vector<::Text> zeilen{u"Die Klasse " + klasse.Titel[0] + u" " + klasse.Titel[1] + u" ist gespeichert, aber"};
    if (!backupordner.empty()) {
        zeilen.push_back(u"es konnte kein Backup angelegt werden in:");
        zeilen.push_back(Absolut(backupordner));
    }
    if (!spiegelordner.empty()) {
        zeilen.push_back(backupordner.empty() ? u"im externen Backup-Ordner konnte keine Kopie"
                                              : u"und im externen Backup-Ordner keine Kopie");
        zeilen.push_back(u"angelegt werden:");
        zeilen.push_back(spiegelordner);
    }
    zeilen.push_back(u"Bitte prüfen Sie, ob der Ordner beschreibbar ist");
    zeilen.push_back(u"und genug Platz frei ist.");
    return TInfoBox::bauen(u"Warnung", {255, 0, 0}, zeilen, {kOkSchalter});
}

void SicherungswarnungZeigen(const TSchulklasse& klasse, const Speicherergebnis& ergebnis) {
    if (!ergebnis) return;
    // A broken stick would repeat the box at every save; once tells it.
    const ::Text spiegel = SpiegelfehlerGemeldet ? ::Text() : ergebnis.spiegelFehlt;
    if (ergebnis.backupFehlt.empty() && spiegel.empty()) return;
    if (!spiegel.empty()) SpiegelfehlerGemeldet = true;
    SicherungswarnungBox(klasse, ergebnis.backupFehlt, spiegel)->verwenden();
    User::flush();
}

std::shared_ptr<TInfoBox> WiederherstellungswarnungBox(const ::Text& wiederherstellungsdatei) {
    return TInfoBox::bauen(u"Warnung", {255, 0, 0},
                           {u"Ihre Änderungen konnten nicht zusätzlich gesichert",
                            u"werden in der Datei:", Absolut(wiederherstellungsdatei),
                            u"Sie stehen nur im Arbeitsspeicher. Bitte speichern",
                            u"Sie bald, indem Sie zur Klassenübersicht gehen."},
                           {kOkSchalter});
}

int VerlustOhneSpeichern(const TSchulklasse& klasse) {
    std::string bytes = KlassendateiBytes(klasse);
    const WipeOnExit weg(bytes);
    const ::Text datei = KlassendateiPfad(klasse);
    if (DateiGleich(datei, bytes)) return 0;
    if (DateiGleich(Wiederherstellungspfad(datei), bytes)) return 1;
    return 2;
}

std::shared_ptr<TInfoBox> SpeicherfehlerBox(const TSchulklasse& klasse, bool programmEnde) {
    return TInfoBox::bauen(u"Fehler", {255, 0, 0}, Zeilen(klasse), {kBleiben, Gehen(programmEnde)});
}

std::shared_ptr<TInfoBox> OhneSpeichernFrage(const TSchulklasse& klasse, int verlust) {
    std::vector<::Text> zeilen{u"Wollen Sie die Klasse " + klasse.Titel[0] + u" " + klasse.Titel[1],
                               u"wirklich ohne Speichern verlassen?"};
    switch (verlust) {
        case 0:
            zeilen.push_back(u"Seit dem letzten Speichern wurde nichts geändert,");
            zeilen.push_back(u"es geht nichts verloren.");
            break;
        case 1:
            zeilen.push_back(u"Die Änderungen seit dem letzten Speichern stehen nur");
            zeilen.push_back(u"in der Datei für ungespeicherte Änderungen und werden");
            zeilen.push_back(u"beim nächsten Öffnen der Klasse angeboten.");
            break;
        default:
            zeilen.push_back(u"Alle Änderungen seit dem letzten Speichern");
            zeilen.push_back(u"gehen dabei verloren!");
            break;
    }
    return TInfoBox::bauen(u"Warnung", {255, 0, 0}, zeilen, {kJa, kNein});
}

bool SpeicherfehlerBeimVerlassen(const TSchulklasse& klasse, bool programmEnde) {
    const ::Text antwort = SpeicherfehlerBox(klasse, programmEnde)->verwenden();
    User::flush();
    if (antwort != Gehen(programmEnde)) return false;
    // The question stands alone, not over the remains of the wider error box.
    Cls();
    const ::Text bestaetigung = OhneSpeichernFrage(klasse, VerlustOhneSpeichern(klasse))->verwenden();
    User::flush();
    return bestaetigung == kJa;
}
