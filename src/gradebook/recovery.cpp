// Keeping edits safe between saves: after every edit on the class screen the
// whole class, exactly as a save would write it, replaces the recovery file
// beside the class file ("7a Mathe.slk.ungespeichert"). No backup is made for
// it. A crash or power cut then loses at most the edit being written, and
// the next save removes the file again.
#include "gradebook/class_file.hpp"
#include "platform/files.hpp"

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
    if (!SpeicherortZulaessig(klasse, datei)) return false;
    const ::Text ordner = KlassenordnerRelativ(klasse.Titel[0]);
    // A class not yet saved still keeps its edits: its folder is made here.
    if (PathKind(ordner) != 2) CreateFolder(ordner, true);
    return DateiSicherErsetzen(Wiederherstellungspfad(datei), KlassendateiBytes(klasse));
}

void TSchulklasse::AenderungVermerken() {
    // A failed write is not shown here: it would interrupt every keystroke,
    // and the save on leaving reports the same folder problem anyway.
    WiederherstellungSchreiben(*this);
}
