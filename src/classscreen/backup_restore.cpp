// "Zurück zu Backup": after a warning, a backup of this class and subject
// chosen in the requester replaces the class file in one step, once the
// current state is saved (so it is itself a backup).
#include "classscreen/class_commands.hpp"
#include "gradebook/backup_choice.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/save_failure.hpp"
#include "platform/sealed_files.hpp"
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

// Relative to the working folder, which is the program folder, like the class file.
::Text BackupordnerDerKlasse(const TSchulklasse& k) { return KlassenordnerRelativ(k.Titel[0]) + u"/Backups/"; }

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
}  // namespace

int ZurueckZuBackup(TSchulklasse& klasse) {
    if (Box(u"Warnung", {255, 0, 0},
            {u"Wollen Sie wirklich die aktuelle Notenliste", u"durch eine ältere Backup-Version ersetzen?!"},
            {u"Ja, das ist ok", u"NEIN"}) != u"Ja, das ist ok")
        return 0;
    const ::Text gewaehlt = RequestFile(u"Wählen Sie die Backup-Datei der Klasse " + klasse.Titel[0] + u" im Fach " +
                                            klasse.Titel[1],
                                        u"sylk-Tabelle:slk", 0,
                                        Backupordner(Datenordner(), klasse.Titel[0]) + u"/");
    if (gewaehlt.empty()) return 0;
    return BackupEinsetzen(klasse, gewaehlt);
}

int BackupEinsetzen(TSchulklasse& klasse, const ::Text& gewaehlt) {
    const ::Text& K = klasse.Titel[0];
    if (!IstBackupDerKlasse(gewaehlt, BackupordnerDerKlasse(klasse))) {
        Box(u"Info", {255, 255, 0},
            {u"Sie dürfen nur eine Datei aus dem", u"Backup-Ordner der Klasse " + K + u" auswählen."},
            {u"   OK   "});
        return 0;
    }
    std::string bytes;
    std::array<::Text, 2> titel;
    if (ReadDataFile(gewaehlt, bytes, kKlassendateiHoechstgroesse) != DataReadResult::Ok || !TitelDerDatei(bytes, titel)) {
        Box(u"Fehler", {255, 0, 0},
            {u"Die gewählte Datei ist kein lesbares Notenbuch.", u"Die Klasse bleibt, wie sie ist."});
        return 0;
    }
    // Opened later, a backup of another subject would be saved over that subject's gradebook.
    if (titel != klasse.Titel) {
        Box(u"Info", {255, 255, 0},
            {u"Dieses Backup gehört zu " + titel[0] + u" " + titel[1] + u",",
             u"nicht zu " + K + u" " + klasse.Titel[1] + u". Die Klasse bleibt, wie sie ist."});
        return 0;
    }
    if (!klasse.speichern(u"")) {
        SpeicherfehlerZeigen(klasse);
        return 0;
    }
    // Written beside the class file and renamed over it: a failure leaves the old file.
    if (!DateiSicherErsetzen(KlassendateiPfad(klasse), bytes)) {
        Box(u"Fehler", {255, 0, 0},
            {u"Das Backup konnte nicht eingesetzt werden.", u"Die Klassendatei ist unverändert."});
        return 0;
    }
    return 1;
}
