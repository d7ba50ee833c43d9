// The one message for a gradebook that could not be saved, shown by every
// command that saves and by the class screen when it is left with Escape;
// on leaving, it is also the way out when saving is impossible (a read-only
// folder, a full disk): staying is the default, leaving without saving needs
// a second yes and says what is lost.
#pragma once
#include <memory>

#include "gradebook/schulklasse.hpp"
#include "tiles/info_box.hpp"

// A red "Fehler" box naming class and subject; the caller keeps the gradebook open.
void SpeicherfehlerZeigen(const TSchulklasse& klasse);

// After a save that wrote the class file: one "Warnung" box when its dated
// backup could not be written, or its copy in the external backup folder
// (that one once per run, SpiegelfehlerGemeldet), naming where; nothing
// when every copy was made.
void SicherungswarnungZeigen(const TSchulklasse& klasse, const Speicherergebnis& ergebnis);
// Whether the failed mirror has been reported in this run.
extern bool SpiegelfehlerGemeldet;
// The box of SicherungswarnungZeigen for the folders that failed ("" for
// none); paths relative to the working folder are shown absolute.
std::shared_ptr<TInfoBox> SicherungswarnungBox(const TSchulklasse& klasse, const ::Text& backupordner,
                                               const ::Text& spiegelordner);

// The box shown once per opened class when an edit could not be written to
// the recovery file (relative to the working folder, shown absolute): the
// edits are only in memory until the next save.
std::shared_ptr<TInfoBox> WiederherstellungswarnungBox(const ::Text& wiederherstellungsdatei);

// The same box after a failed save on leaving, with the buttons
// "  Geöffnet lassen  " and "Ohne Speichern beenden" (programmEnde) or
// "Ohne Speichern schließen". True only when the user chose to leave without
// saving and confirmed it; any other answer, Escape and Enter included,
// keeps the class open.
bool SpeicherfehlerBeimVerlassen(const TSchulklasse& klasse, bool programmEnde);

// What leaving without saving costs, for the confirmation: 0 nothing (the
// class equals its class file), 1 the changes are only in the recovery file
// and are offered at the next opening, 2 the changes are lost.
int VerlustOhneSpeichern(const TSchulklasse& klasse);

// The two boxes of leaving: the error with its two buttons, and the
// confirmation ("Ja, das ist ok", "NEIN") for a loss as VerlustOhneSpeichern gives it.
std::shared_ptr<TInfoBox> SpeicherfehlerBox(const TSchulklasse& klasse, bool programmEnde);
std::shared_ptr<TInfoBox> OhneSpeichernFrage(const TSchulklasse& klasse, int verlust);
