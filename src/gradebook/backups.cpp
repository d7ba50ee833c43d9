// The dated backup written with every save, and the mirror of the class file
// and its backup below the external backup folder.
#include "gradebook/class_file.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/names.hpp"
#include "platform/files.hpp"
#include "platform/sealed_files.hpp"
#include "platform/wipe_on_exit.hpp"
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

namespace {

// "26-12-08-14-05-09": two digits each, joined by "-"; in text order the newest is last.
bool IstZeitstempel(const ::Text& t) {
    if (t.size() != 17) return false;
    for (size_t i = 0; i < t.size(); ++i)
        if (i % 3 == 2 ? t[i] != u'-' : (t[i] < u'0' || t[i] > u'9')) return false;
    return true;
}

}  // namespace

::Text NeuestesBackup(const ::Text& klasse, const ::Text& fach) {
    const ::Text ordner = KlassenordnerRelativ(klasse) + u"/Backups";
    const ::Text anfang = klasse + u" " + fach + u" ";
    ::Text neuester;
    for (const ::Text& name : ListFolder(ordner, true)) {
        // Only this subject's backups: "7a Mathe Lk <stamp>.slk" is no backup of "7a Mathe".
        if (name.size() != anfang.size() + 21 || !name.starts_with(anfang) || !name.ends_with(u".slk")) continue;
        const ::Text stempel = name.substr(anfang.size(), 17);
        if (IstZeitstempel(stempel) && stempel > neuester) neuester = stempel;
    }
    return neuester.empty() ? ::Text() : BackupPfad(klasse, fach, neuester);
}

Speicherergebnis BackupsSchreiben(const ::Text& klasse, const ::Text& fach, const ::Text& name,
                                  std::string_view bytes) {
    Speicherergebnis ergebnis;
    ergebnis.gespeichert = true;
    if (!BleibtImDatenordner(BackupPfad(klasse, fach, Zeitstempel())) || !BleibtImDatenordner(u"Noten/" + name)) {
        ergebnis.backupFehlt = KlassenordnerRelativ(klasse) + u"/Backups";
        return ergebnis;
    }
    // A save without a change since the newest backup adds no copy of it:
    // the requester of "Zurück zu Backup" keeps only states worth choosing.
    ::Text backup = NeuestesBackup(klasse, fach);
    std::string alt;
    const WipeOnExit weg(alt);
    if (backup.empty() || ReadDataFile(backup, alt, kKlassendateiHoechstgroesse) != DataReadResult::Ok || alt != bytes) {
        // The backup holds the bytes of the complete new file; written the
        // same safe way, a restore never finds half a backup. Two saves in
        // one second share the name, the later replacing the earlier.
        backup = BackupPfad(klasse, fach, Zeitstempel());
        if (!DateiSicherErsetzen(backup, bytes)) ergebnis.backupFehlt = KlassenordnerRelativ(klasse) + u"/Backups";
    }

    // An absent drive is no failure: the copies follow once it is back.
    if (!BackupOrdnerErreichbar(BackupOrdner)) return ergebnis;
    // The mirror repeats the relative layout below the external folder.
    const ::Text wurzel = OhneEndtrenner(BackupOrdner) + u"/";
    const ::Text spiegel = wurzel + u"Noten";
    if (PathKind(spiegel) != 2) CreateFolder(spiegel, false);
    const ::Text klassenordner = wurzel + KlassenordnerRelativ(klasse);
    if (PathKind(klassenordner) != 2) CreateFolder(klassenordner, false);
    const ::Text backupordner = klassenordner + u"/Backups";
    if (PathKind(backupordner) != 2) CreateFolder(backupordner, false);
    // Sealed copies are of use only with the stick's key file beside them: it
    // is written (and checked) first, and without it no sealed copy goes there.
    bool gespiegelt = !SealingOn() || CopyKeyFileInto(OhneEndtrenner(BackupOrdner));
    // A stick pulled during the copy leaves its old copy, not a broken one.
    gespiegelt = gespiegelt && PathKind(klassenordner) == 2 && DateiSicherErsetzen(wurzel + u"Noten/" + name, bytes);
    // And the backup that holds these bytes, also when it is not new or
    // could not be written in the class's own Backups folder.
    if (gespiegelt) gespiegelt = DateiSicherErsetzen(wurzel + backup, bytes);
    // Checked again after the copies: a stick that lost it meanwhile is told.
    if (gespiegelt && SealingOn()) gespiegelt = CopyKeyFileInto(OhneEndtrenner(BackupOrdner));
    if (!gespiegelt) ergebnis.spiegelFehlt = OhneEndtrenner(BackupOrdner);
    return ergebnis;
}
