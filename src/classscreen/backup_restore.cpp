// "Zurück zu Backup": after a warning, a backup of this class and subject
// chosen in the requester replaces the class file in one step, once the
// current state is saved (so it is itself a backup). The same requester and
// checks restore a class file that does not load, from the catalogue.
#include "classscreen/class_commands.hpp"
#include "gradebook/backup_choice.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/lesson_files.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/save_failure.hpp"
#include "platform/sealed_files.hpp"
#include "gradebook/dates.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/requesters.hpp"
#include "tiles/info_box.hpp"
#include "tiles/user.hpp"

namespace {
::Text Box(const ::Text& titel, const FarbArg& farbe, const std::vector<::Text>& zeilen,
           const std::vector<::Text>& schalter = {kOkSchalter}) {
    const ::Text antwort = TInfoBox::bauen(titel, farbe, zeilen, schalter)->verwenden();
    User::flush();
    return antwort;
}

// The titles stored in the file; false when it is no readable gradebook.
bool TitelDerDatei(const std::string& bytes, std::array<::Text, 2>& titel) {
    // Reading a gradebook sets the grade scale of its class; the open class keeps its own.
    const int skala = Notenskala;
    auto gelesen = KlasseAusBytes(bytes);
    Notenskala = skala;
    if (!gelesen) return false;
    titel = gelesen->Titel;
    return true;
}

// The requester in the class's Backups folder; "" when cancelled.
::Text BackupErfragen(const ::Text& klasse, const ::Text& fach) {
    return RequestFile(u"Wählen Sie die Backup-Datei der Klasse " + klasse + u" im Fach " + fach,
                       u"sylk-Tabelle:slk", 0, Backupordner(Datenordner(), klasse) + u"/");
}

// The checks of a chosen backup, each refusal told in its box: a file of the
// class's Backups folder, a readable gradebook, of this class and subject.
bool BackupGeprueft(const std::array<::Text, 2>& klasse, const ::Text& gewaehlt, std::string& bytes) {
    const ::Text& K = klasse[0];
    // Relative to the working folder, which is the program folder, like the class file.
    if (!IstBackupDerKlasse(gewaehlt, KlassenordnerRelativ(K) + u"/Backups/")) {
        Box(u"Info", {255, 255, 0},
            {u"Sie dürfen nur eine Datei aus dem", u"Backup-Ordner der Klasse " + K + u" auswählen."},
            {u"   OK   "});
        return false;
    }
    std::array<::Text, 2> titel;
    if (ReadDataFile(gewaehlt, bytes, kKlassendateiHoechstgroesse) != DataReadResult::Ok || !TitelDerDatei(bytes, titel)) {
        Box(u"Fehler", {255, 0, 0},
            {u"Die gewählte Datei ist kein lesbares Notenbuch.", u"Die Klasse bleibt, wie sie ist."});
        return false;
    }
    // Opened later, a backup of another subject would be saved over that subject's gradebook.
    if (titel != klasse) {
        Box(u"Info", {255, 255, 0},
            {u"Dieses Backup gehört zu " + titel[0] + u" " + titel[1] + u",",
             u"nicht zu " + K + u" " + klasse[1] + u". Die Klasse bleibt, wie sie ist."});
        return false;
    }
    return true;
}

void NichtEingesetzt() {
    Box(u"Fehler", {255, 0, 0}, {u"Das Backup konnte nicht eingesetzt werden.", u"Die Klassendatei ist unverändert."});
}
}  // namespace

int ZurueckZuBackup(TSchulklasse& klasse) {
    if (Box(u"Warnung", {255, 0, 0},
            {u"Wollen Sie wirklich die aktuelle Notenliste", u"durch eine ältere Backup-Version ersetzen?!"},
            {u"Ja, das ist ok", u"NEIN"}) != u"Ja, das ist ok")
        return 0;
    const ::Text gewaehlt = BackupErfragen(klasse.Titel[0], klasse.Titel[1]);
    if (gewaehlt.empty()) return 0;
    return BackupEinsetzen(klasse, gewaehlt);
}

int BackupEinsetzen(TSchulklasse& klasse, const ::Text& gewaehlt) {
    std::string bytes;
    if (!BackupGeprueft(klasse.Titel, gewaehlt, bytes)) return 0;
    const Speicherergebnis e = klasse.speichern(u"");
    if (!e) {
        SpeicherfehlerZeigen(klasse);
        return 0;
    }
    SicherungswarnungZeigen(klasse, e);
    // Written beside the class file and renamed over it: a failure leaves the old file.
    if (!DateiSicherErsetzen(KlassendateiPfad(klasse), bytes)) {
        NichtEingesetzt();
        return 0;
    }
    UnterrichtAusBackup(KlassendateiPfad(klasse), gewaehlt);
    return 1;
}

int BeschaedigteKlasseErsetzen(const ::Text& klasse, const ::Text& fach) {
    const ::Text gewaehlt = BackupErfragen(klasse, fach);
    if (gewaehlt.empty()) return 0;
    return BeschaedigteKlasseErsetzenDurch(klasse, fach, gewaehlt);
}

int BeschaedigteKlasseErsetzenDurch(const ::Text& klasse, const ::Text& fach, const ::Text& gewaehlt) {
    std::string bytes;
    if (!BackupGeprueft({klasse, fach}, gewaehlt, bytes)) return 0;
    const ::Text datei = KlassendateiRelativ(klasse, fach);
    // The damaged file stays, under a name the backup requester does not offer:
    // what it still holds may be read by hand.
    const ::Text beiseite =
        KlassenordnerRelativ(klasse) + u"/Backups/" + klasse + u" " + fach + u" " + Zeitstempel() + u".slk.beschaedigt";
    if (!CopyDataFile(datei, beiseite) || !DateiSicherErsetzen(datei, bytes)) {
        NichtEingesetzt();
        return 0;
    }
    UnterrichtAusBackup(datei, gewaehlt);
    return 1;
}
