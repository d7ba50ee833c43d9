// The catalogue, the program's first screen: a tile per gradebook of the data
// folder in columns by class level, and the "Optionen" tile of the main menu.
#pragma once
#include <memory>
#include <vector>

#include "gradebook/schulklasse.hpp"
#include "platform/text.hpp"
#include "tiles/info_box.hpp"
#include "tiles/kachel.hpp"

extern std::vector<Text> Klassenordner;   // per gradebook: its class folder
extern std::vector<Text> Klassendateien;  // per gradebook: folder + "/" + file, below the data folder
extern std::vector<std::shared_ptr<TKachel>> Klassenkacheln;
extern std::shared_ptr<TKombiKachel> OptionenKachel;
extern int GewaehlteKachel;               // -1 none, 0..n-1 a gradebook, n "Optionen"
extern bool DatenordnerUnlesbar;          // the last listing of the data folder failed

namespace Katalog {
// Scans the data folder and rebuilds the tiles; false when the data folder
// can neither be listed nor created (the message has been shown). A folder
// that exists but cannot be listed gets the "Fehler" box of OrdnerFehlerBox
// and leaves only the "Optionen" tile.
bool Laden();
// The same for a given data folder.
bool LadenAus(const Text& datenordner);
std::shared_ptr<TInfoBox> OrdnerFehlerBox(const Text& ordner);
// The box of a gradebook that does not load, with "      Ok      " and
// "Backup wählen" (which replaces the damaged file by a chosen backup).
std::shared_ptr<TInfoBox> LadefehlerBox(const Text& klassendatei);
// Loads the gradebook at pfad (klassendatei below the data folder, in
// klassenordner), offering its unsaved changes back; a damaged one gets the
// LadefehlerBox, a sealed one that does not open under the key a "Fehler"
// box without that offer. Null when it is not opened.
std::shared_ptr<TSchulklasse> KlasseLaden(const Text& pfad, const Text& klassendatei, const Text& klassenordner);
// "Neue Klasse erstellen": writes the new class's file and first backup and
// returns the class to show. When the class and subject exist already, or
// unsaved changes of them were left, that class is opened (with the offer of
// those changes) instead. Null when it does not open (the box was shown).
std::shared_ptr<TSchulklasse> NeueKlasseAnlegen(const Text& klasse, const Text& fach);
void Anzeigen();
// Returns 3 when the program is to end.
int Verwalten();
// "Schuljahr" label: the school year that runs on the given date (from August on, the new one).
Text SchuljahrText(int jahr, int monat);
void SchuljahrZeichnen();
// The entries of a folder as the catalogue shows them: case-insensitively in
// name order, "Ä" with "A" (the folded key of the student order), the same on
// every start whatever order the file system lists them in.
std::vector<Text> Auflistung(const Text& ordner);
// The same into namen; false when the folder cannot be listed.
bool Auflistung(const Text& ordner, std::vector<Text>& namen);
// While the data folder holds no gradebook: how to create the first class.
void ErsterStartHinweisZeichnen();
}  // namespace Katalog

// The catalogue's main menu ("Optionen"); returns 3 when the program is to end.
int HauptmenueVerwalten();
// Tile 0 of the main menu: asks for the external backup folder and keeps it
// (in BackupOrdner and the settings file einstellungsdatei) only when its name
// can be stored, the teacher confirms a folder on no mounted drive, and a new
// probe file can be created there. Returns 0.
int BackupOrdnerFestlegen(const Text& einstellungsdatei);
