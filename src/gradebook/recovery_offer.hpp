// Opening a class file together with the recovery file an earlier session
// left beside it: its changes are offered back ("Wiederherstellen") or put
// aside into the class's "Backups" folder ("Verwerfen"), never destroyed.
#pragma once
#include <array>
#include <memory>

#include "gradebook/schulklasse.hpp"
#include "tiles/info_box.hpp"

struct Klassenoeffnung {
    // The class to show; null when none is opened.
    std::shared_ptr<TSchulklasse> klasse;
    // True when no class is opened and the user has been told why already
    // (the offer was closed without an answer, or the discarded changes could
    // not be put aside); false with a null class means the class file did
    // not load and the caller reports that.
    bool gemeldet = false;
};

// Loads the class file at pfad ("<data folder>/7b/7b Mathe.slk") as the
// catalogue names it: its class is the folder, its subject taken from the
// file name by position, and saves, backups and the recovery file go to
// this file alone. When its first cells name another class or subject, one
// "Info" box (TitelabweichungHinweis) says so once the class is opened.
// When a recovery file beside it differs from the loaded class, an "Info"
// box offers it: "Wiederherstellen"
// opens the recovered state (the class file stays until the next save),
// "Verwerfen" moves the recovery file to Backups/<K F> <stamp> ungespeichert.slk
// and opens the class file. A recovery file that does not load is put aside
// in Backups under a name "Zurück zu Backup" does not offer, reported once,
// and the class file is opened. A recovery file equal to the class is removed.
Klassenoeffnung KlasseMitWiederherstellungLaden(const ::Text& pfad);

// Where a discarded recovery file goes: <folder>/Backups/<K F> <stamp>
// ungespeichert.slk for the recovery file <folder>/<K F>.slk.ungespeichert
// (endung ".slk", or ".slk.beschaedigt" for one that does not load).
::Text VerworfeneWiederherstellungPfad(const ::Text& wiederherstellungspfad, const ::Text& zeitstempel,
                                        const ::Text& endung);

// The offer box: "Info", the class, when the changes were last written (the
// platform's date and time texts of the recovery file), and the buttons
// "Wiederherstellen" and "Verwerfen" from left to right.
std::shared_ptr<TInfoBox> WiederherstellungsAngebot(const ::Text& klassenname, const ::Text& datum,
                                                    const ::Text& uhrzeit);

// The note that the file at datei (below the data folder) names the class
// and subject `zellen` in its cells and is kept as `titel`.
std::shared_ptr<TInfoBox> TitelabweichungHinweis(const ::Text& datei, const std::array<::Text, 2>& zellen,
                                                 const std::array<::Text, 2>& titel);
