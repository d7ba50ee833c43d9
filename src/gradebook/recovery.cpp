// Keeping edits safe between saves: after every edit on the class screen the
// whole class, exactly as a save would write it, replaces the recovery file
// beside the class file ("7a Mathe.slk.ungespeichert"). No backup is made for
// it. A crash or power cut then loses at most the edit being written, and
// the next save removes the file again. A recovery file that cannot be
// written is reported once per opened class.
#include "gradebook/class_file.hpp"
#include "gradebook/save_failure.hpp"
#include "platform/files.hpp"
#include "platform/wipe_on_exit.hpp"
#include "tiles/user.hpp"

::Text Wiederherstellungspfad(const ::Text& klassendatei) { return klassendatei + kWiederherstellungsEndung; }

void WiederherstellungEntfernen(const ::Text& klassendatei) {
    const ::Text pfad = Wiederherstellungspfad(klassendatei);
    if (PathKind(pfad) != 1) return;
    // Made durable like the save before it, so that no power cut brings an
    // older state back as an offer.
    if (DeleteFileAt(pfad) && KlassendateiAufPlatteZwingen) FlushFolderOf(pfad);
}

bool WiederherstellungSchreiben(const TSchulklasse& klasse) {
    const ::Text datei = KlassendateiPfad(klasse);
    if (!SpeicherortZulaessig(klasse, datei) || !klasse.GesperrteZeilen.empty()) return false;
    const ::Text ordner = KlassenordnerRelativ(klasse.Titel[0]);
    // A class not yet saved still keeps its edits: its folder is made here.
    if (PathKind(ordner) != 2) CreateFolder(ordner, true);
    std::string bytes = KlassendateiBytes(klasse);
    const WipeOnExit weg(bytes);
    return DateiSicherErsetzen(Wiederherstellungspfad(datei), bytes);
}

void TSchulklasse::AenderungVermerken() {
    if (WiederherstellungSchreiben(*this) || WiederherstellungGewarnt) return;
    // Told once per opened class: a box at every keystroke would make the
    // class screen unusable, and the next save reports a folder problem anyway.
    WiederherstellungGewarnt = true;
    WiederherstellungswarnungBox(Wiederherstellungspfad(KlassendateiRelativ(Titel[0], Titel[1])))->verwenden();
    User::flush();
}
