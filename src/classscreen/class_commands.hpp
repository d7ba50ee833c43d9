// The commands of the class command menu, one group per file. Each returns
// the result code of verwalten (0 stay, 1 back to the catalogue, 2 duplicate
// made, 3 end the program). A command that saves and whose save fails shows
// the "Fehler" box and returns 0: nothing is left, exported, restored,
// duplicated or ended then.
#pragma once
#include "gradebook/schulklasse.hpp"

// Tile indices of Klassenmenue.
enum Klassenbefehl {
    kZurKlassenuebersicht = 0,
    kKladdorixSchliessen = 1,
    kNeueSchuelerzeile = 2,
    kNeueNotenspalte = 3,
    kBilderImportieren = 4,
    kEinzelanzeige = 5,
    kNamenslisteImportieren = 6,
    kExportieren = 7,
    kZurueckZuBackup = 8,
    kLeerDuplizieren = 9,
    kKlassenlisteDrucken = 10,
    kLeereListeDrucken = 11,
    kSitzplan = 12,
    kAnwesenheit = 13,
    kRueckgaengig = 14,
};

// "Rückgängig": takes back the last grade entry since the class was opened,
// with its averages, and writes the recovery file; an "Info" box when there
// is none. Returns 0.
int Rueckgaengig(TSchulklasse& klasse);

// Saves, then returns code (1 to the catalogue, 3 end); when the save fails,
// the error box offers to leave without saving: code when that was chosen and
// confirmed, 0 (stay) otherwise.
int SpeichernUndVerlassen(TSchulklasse& klasse, int code);

// Tile 5's image and label for the current display mode.
void EinzelanzeigeKachelBeschriften(const TSchulklasse& klasse);
// Switches the single-row display: on with the topmost student visible below
// the header band, or off.
void EinzelanzeigeUmschalten(TSchulklasse& klasse);

// The requester, then NamenslisteAusDatei.
int NamenslisteImportieren(TSchulklasse& klasse);
// Adds the students of a ".txt" or ".csv" name list (other files get the
// "Fehler" box); returns how many were added.
int NamenslisteAusDatei(TSchulklasse& klasse, const ::Text& pfad);

// Saves, copies to "<K> <F> (exportiert).slk" in the program folder and opens
// the copy in a spreadsheet program (waiting for it) or the desktop's default.
int Exportieren(TSchulklasse& klasse);
// The path of that copy, relative to the program folder (while encryption
// is on in PrivaterKopienordner).
::Text Exportdatei(const TSchulklasse& klasse);
// While encryption is on, plain copies (the export, the reports on paper) lie
// in this folder only the user can enter, outside the program folder, and are
// deleted when the program ends; "" when it cannot be made.
::Text PrivaterKopienordner();
// Saves and writes the copy; false (after the "Fehler" box) when the save failed.
bool ExportkopieAnlegen(TSchulklasse& klasse);

// Asks, lets the user choose a backup of this class, saves and replaces the
// class file by it; 1 when replaced.
int ZurueckZuBackup(TSchulklasse& klasse);
// The part after the requester: the chosen file checked, the class saved, the
// class file replaced.
int BackupEinsetzen(TSchulklasse& klasse, const ::Text& gewaehlt);

// For a class file that does not load ("Backup wählen" in its "Fehler" box):
// the requester and checks of ZurueckZuBackup for class and subject, then the
// damaged file is copied to Backups as "<K F> <stamp>.slk.beschaedigt" and
// replaced by the chosen backup; 1 when replaced.
int BeschaedigteKlasseErsetzen(const ::Text& klasse, const ::Text& fach);
int BeschaedigteKlasseErsetzenDurch(const ::Text& klasse, const ::Text& fach, const ::Text& gewaehlt);
inline const ::Text kBackupWaehlen = u"Backup wählen";

// Saves, then the empty duplicate for another class or subject; 2 unless a
// save failed.
int LeerDuplizieren(TSchulklasse& klasse);
