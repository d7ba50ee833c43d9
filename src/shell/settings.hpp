// The settings file: read once at start into BackupOrdner, StartOrdner and
// OberstufeAb, written when the backup folder or the school type changes.
#pragma once
#include <memory>

#include "platform/text.hpp"

class TInfoBox;

inline const Text kG8Zeile = u"G8-Gymnasium";

// Reads Einstellungsdatei(). Returns false when start-up must end: the file
// exists but cannot be read, and the "Fehler" box has been shown and closed.
// A missing file leaves the defaults and returns true.
[[nodiscard]] bool EinstellungenLesen();
// The same for a given file. Sets BackupOrdner to "" and OberstufeAb to 11
// first, then line 1 -> BackupOrdner, line 2 -> StartOrdner (kept when the
// file has fewer lines), line 3 equal to "G8-Gymnasium" -> OberstufeAb 10.
[[nodiscard]] bool EinstellungenLesenAus(const Text& datei);

// The box shown when the settings file exists but cannot be read.
std::shared_ptr<TInfoBox> EinstellungsfehlerBox();

// Whether a line of the settings file reads back as this text: Latin-1
// characters only, and no line break or NUL.
bool InEinstellungenSpeicherbar(const Text& zeile);

// Creates or truncates Einstellungsdatei() and writes BackupOrdner,
// StartOrdner and, only when OberstufeAb is 10, "G8-Gymnasium", each with
// CR LF. False when the file cannot be created or a write fails; the caller
// tells the user in its own words. No line is written that would read back
// as another path: a BackupOrdner the file cannot hold writes nothing (false);
// a StartOrdner it cannot hold (one from the environment) is left out, so
// that the same default comes back, or, before the G8 line, written as its
// nearest enclosing folder that it can hold.
[[nodiscard]] bool EinstellungenSchreiben();
[[nodiscard]] bool EinstellungenSchreibenNach(const Text& datei);
