// The two files of the lesson beside a class file, "<K> <F>.sitzplan" and
// "<K> <F>.fehlzeiten": read once per opened class (a damaged or hostile
// file is refused with a box and never written over), written at every
// change the same way as the class file (beside, forced onto the disk,
// renamed; sealed while encryption is on), so that a crash during the lesson
// loses nothing, and backed up with every save under the stamp of the class
// file's backup, so that a restored backup brings the plan and the roll call
// of that same save.
#pragma once
#include <memory>

#include "gradebook/attendance.hpp"
#include "gradebook/seating_plan.hpp"

struct TUnterricht {
    TSitzplan Sitzplan;
    bool PlanVorhanden = false;  // a plan file was read (else the default plan is shown)
    bool PlanGesperrt = false;   // the file was refused: it stays as it is
    TFehlzeiten Fehlzeiten;
    bool FehlzeitenGesperrt = false;
    // Today's lesson, chosen once and remembered for the day.
    Text Stundendatum;
    int Stunde = 0;
    bool SchreibfehlerGemeldet = false;
};

inline const Text kSitzplanEndung = u".sitzplan";
inline const Text kFehlzeitenEndung = u".fehlzeiten";

// The file beside a class file (relative path ending in ".slk") with the
// other ending.
Text Nebendatei(const Text& klassendatei, const Text& endung);

// The lesson data of the open class, read at the first call. A refused file
// is told in a "Fehler" box and left untouched.
TUnterricht& UnterrichtLaden(TSchulklasse& klasse);
// The lines of that box for one refusal ("<file>: <reason>").
std::vector<Text> Ablehnungszeilen(const Text& fehler);
// The same without any box (for reports drawn without a window): a refused
// file counts as empty.
TUnterricht& UnterrichtLesen(TSchulklasse& klasse, std::vector<Text>* fehler);

// The attendance of the class for reports: what the open class holds, or
// else its file as it lies; empty when there is none or it is refused.
TFehlzeiten FehlzeitenFuerBerichte(const TSchulklasse& klasse);

// Writes the plan / the attendance file now; a failure is told once per
// opened class. False when not written (also when the file was refused).
bool SitzplanSpeichern(TSchulklasse& klasse);
bool FehlzeitenSpeichern(TSchulklasse& klasse);

// After a class file was saved to `klassendatei` (relative path): copies
// the two files into Backups beside the class file's newest backup (same
// stamp) and into the external backup folder.
void UnterrichtSichern(const TSchulklasse& klasse, const Text& klassendatei);
// After the backup `backup` (".slk" in Backups) replaced `klassendatei`:
// the plan and the attendance of that backup replace the current ones; a
// backup without them leaves the current files.
void UnterrichtAusBackup(const Text& klassendatei, const Text& backup);
// After the empty duplicate was saved: its plan is the old class's plan,
// with no attendance.
void UnterrichtDuplizieren(TSchulklasse& neu, const Text& alteKlassendatei);
// A student renamed or removed: both files follow at once. Call
// UnterrichtLaden before changing the class.
void UnterrichtUmbenennen(TSchulklasse& klasse, const Schuelername& alt, const Schuelername& neu);
void UnterrichtEntfernen(TSchulklasse& klasse, const Schuelername& name);
