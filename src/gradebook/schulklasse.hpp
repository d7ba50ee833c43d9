// The in-memory gradebook of one class in one subject. Its grid is made of the
// very tiles the class screen draws: row 0 is the header row (title tile and
// column headings), rows 1.. are the students in name order, and each cell's
// grade is the first text of its tile.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/text.hpp"
#include "tiles/kachel.hpp"

struct TUnterricht;  // seating plan and attendance (lesson_files.hpp)

// One row of the grid: a tile per column.
class TZensurzeile {
public:
    std::vector<std::shared_ptr<TKachel>> Kachel;
    std::vector<float> Note;  // kept for the record's layout; grade values come from the texts

    static std::shared_ptr<TZensurzeile> bauen(int n);
};

// What a save achieved: the class file written or not, and where a copy that
// should have been made could not be written ("" when it was, or when it was
// not due: an identical newest backup, an absent external drive).
struct Speicherergebnis {
    bool gespeichert = false;
    ::Text backupFehlt;   // the class's Backups folder (relative, like the class file)
    ::Text spiegelFehlt;  // the external backup folder
    explicit operator bool() const { return gespeichert; }
};

// A grade entry as it can be taken back: the cell's tile (found again after
// sorting or moving columns) and what it showed before.
struct TNoteneintrag {
    std::shared_ptr<TKachel> zelle;
    std::vector<::Text> text;
    RGBFarbe farbe{0, 0, 0};
};

class TSchulklasse {
public:
    static constexpr int Kachelsize = 76;
    static constexpr int Zwischenraum = 8;

    std::array<::Text, 2> Titel;   // class name, subject
    int32_t Schueleranzahl = 0;    // rows, the header row included
    int32_t Notenanzahl = 0;       // columns, the name column included
    std::vector<std::shared_ptr<TZensurzeile>> Zensurzeile;
    int32_t AuftragsZeile = 0;
    int32_t AuftragsSpalte = 0;
    int32_t ZeileEinzelnAnzeigen = 0;
    std::vector<::Text> Telefonnummer;
    std::vector<::Text> Notizen;
    std::vector<::Text> VergesseneHA;
    // The file below "Noten" the gradebook was opened from ("7b/7b Mathe.slk"):
    // saves, backups and the recovery file go there, whatever its first cells
    // say. Empty: the standard name of the titles.
    ::Text Klassendatei;

    // A new class with only its title tile; sets Notenskala from the class level.
    static std::shared_ptr<TSchulklasse> bauen(const std::array<::Text, 2>& titel, int einzeln);

    // Class file (see class_file.cpp).
    static ::Text Extract_SYLK(const ::Text& zeile);
    static std::shared_ptr<TSchulklasse> laden(const ::Text& pfad);
    // Writes the class file (and its backups); true when the class file was
    // written completely, with the backups that failed. Dateiname "" means
    // the standard name. The recovery file beside it is removed, unless
    // wiederherstellungBehalten (a new class's first save, which must not
    // take an earlier session's unsaved changes away before they are offered).
    Speicherergebnis speichern(const ::Text& dateiname, bool wiederherstellungBehalten = false);
    int LeeresDuplikatLaden();

    // Name order (see sorting.cpp): rows 1.. sorted; `frei` rows vacated at the end are dropped.
    int NachNamenSortieren(int frei);

    // Averages (see averages.cpp): one row, or all rows when zeile <= 0.
    int Durchschnittsnotenberechnung(int zeile);

    // Adding a student row or a grade column (see adding.cpp); refusals are
    // shown in an information box and leave the class unchanged.
    int NeueZensurzeileEinfuegen();
    int NeueNotenspalteEinfuegen();

    // Called after every edit that changes the gradebook on the class screen
    // (see recovery.cpp); a recovery file that cannot be written is reported
    // once per opened class.
    void AenderungVermerken();
    bool WiederherstellungGewarnt = false;
    // Seating plan and attendance, read when first needed (lesson_files.hpp).
    std::shared_ptr<TUnterricht> Unterricht;
    // The grade entries since the class was opened, the last one at the end;
    // "Rückgängig" takes them back one at a time (see grade_cells.cpp).
    std::vector<TNoteneintrag> Eintragsverlauf;
    // While the screen is locked: the rows' texts, sealed (locked_rows.hpp);
    // empty otherwise. The class is not written while it holds them.
    std::string GesperrteZeilen;

    // Class screen (src/classscreen).
    int anzeigen();
    int verwalten();
    int OrganisiereOffsetGrenzen(int zeile, int spalte);
    // The same centring and limits, leaving pending input alone (for a loop
    // that must keep keys typed ahead).
    void OffsetGrenzenSetzen(int zeile, int spalte);
    // Student photos (src/classscreen/photo_import.cpp).
    int ImportiereBilder();
    int PraepariereEinzelnesBild(const ::Text& pfad, int zeile);

    // Tile of row i, column j.
    TKachel& Zelle(int i, int j) const { return *Zensurzeile[i]->Kachel[j]; }
};

// Placeholders of the three per-student texts when they are empty.
inline const ::Text kPlatzhalterTelefon = u"Telefonnummer?";
inline const ::Text kPlatzhalterNotizen = u"Notizen?";
inline const ::Text kPlatzhalterVergesseneHA = u"? vergessene Hausaufg.";
