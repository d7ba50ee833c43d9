// The dated backup written with every save, and the mirror of the class file
// and its backup below the external backup folder.
#include "gradebook/class_file.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/names.hpp"
#include "platform/files.hpp"
#include "platform/sealed_files.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/program_state.hpp"

::Text KlassenordnerRelativ(const ::Text& klasse) { return u"Noten/" + klasse; }

::Text KlassendateiRelativ(const ::Text& klasse, const ::Text& fach) {
    return KlassenordnerRelativ(klasse) + u"/" + klasse + u" " + fach + u".slk";
}

::Text KlassendateiPfad(const TSchulklasse& klasse) {
    if (!klasse.Klassendatei.empty()) return u"Noten/" + klasse.Klassendatei;
    return KlassendateiRelativ(klasse.Titel[0], klasse.Titel[1]);
}

bool SpeicherortZulaessig(const TSchulklasse& klasse, const ::Text& datei) {
    return IstEinfacherName(klasse.Titel[0]) && IstEinfacherName(Klassendateiname(klasse.Titel[0], klasse.Titel[1])) &&
           BleibtImDatenordner(datei);
}

::Text BackupPfad(const ::Text& klasse, const ::Text& fach, const ::Text& zeitstempel) {
    return KlassenordnerRelativ(klasse) + u"/Backups/" + klasse + u" " + fach + u" " + zeitstempel + u".slk";
}

void BackupsSchreiben(const ::Text& klasse, const ::Text& fach, const ::Text& name, std::string_view bytes) {
    // The backup holds the bytes of the complete new file; written the same
    // safe way, a restore never finds half a backup. Two saves in one second
    // share the name, the later replacing the earlier.
    const ::Text backup = BackupPfad(klasse, fach, Zeitstempel());
    if (!BleibtImDatenordner(backup) || !BleibtImDatenordner(u"Noten/" + name)) return;
    DateiSicherErsetzen(backup, bytes);

    if (!BackupOrdnerErreichbar(BackupOrdner)) return;
    // The mirror repeats the relative layout below the external folder.
    const ::Text wurzel = OhneEndtrenner(BackupOrdner) + u"/";
    const ::Text spiegel = wurzel + u"Noten";
    if (PathKind(spiegel) != 2) CreateFolder(spiegel, false);
    const ::Text klassenordner = wurzel + KlassenordnerRelativ(klasse);
    if (PathKind(klassenordner) != 2) CreateFolder(klassenordner, false);
    if (PathKind(klassenordner) != 2) return;
    const ::Text backupordner = klassenordner + u"/Backups";
    if (PathKind(backupordner) != 2) CreateFolder(backupordner, false);
    // A stick pulled during the copy leaves its old copy, not a broken one.
    DateiSicherErsetzen(wurzel + u"Noten/" + name, bytes);
    DateiSicherErsetzen(wurzel + backup, bytes);
    // Sealed copies are of use only with their key file beside them.
    if (SealingOn()) CopyKeyFileInto(OhneEndtrenner(BackupOrdner));
}
