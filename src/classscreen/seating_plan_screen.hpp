// The seating plan screen: the room seen from the teacher's desk, a tile per
// desk with the student's portrait (or initials on the row colour) and first
// name. Its modes: arranging (drag a student to another desk, add or remove
// empty desks, shuffle), the roll call (a tap cycles absent, late, present;
// a long press excuses) and oral grades (a tap opens the grade menu beside
// the student). Escape returns to the grid.
#pragma once
#include <map>
#include <memory>

#include "gradebook/lesson_files.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/graphics.hpp"
#include "tiles/menu.hpp"

// The lesson numbers 1 to 10 and the minutes of a late arrival (5, 10, 15, 20+, typed).
extern std::shared_ptr<TTextMenu> Stundenmenue, Minutenmenue;

class TSitzplanAnsicht {
public:
    enum Modus { kAnsicht, kAnordnen, kAnwesenheit, kMuendlich };
    // The buttons of the bar at the top, left to right.
    enum Knopf { kKnopfAnordnen, kKnopfZufaellig, kKnopfAnwesenheit, kKnopfMuendlich, kKnopfZurueck, kKnopfanzahl };

    TSchulklasse* Klasse = nullptr;
    Modus Modus_ = kAnsicht;
    int Notenspalte = 0;  // the column oral grades go into (0: not asked yet)
    std::shared_ptr<TTextMenu> Spaltenwahl;  // the menu that asked for it

    // A long press lasts at least this long.
    static constexpr int kLangerDruckMs = 600;

    static std::unique_ptr<TSitzplanAnsicht> bauen(TSchulklasse& klasse);
    ~TSitzplanAnsicht();
    // The size portraits are kept at on this screen: the largest a tile
    // shows, drawn smaller by the layouts with more desks.
    static int Portraitgroesse();

    // Draws the frame (portraits are loaded at the first one) and records
    // the input; verwalten then acts: 1 when the screen is left.
    void anzeigen();
    int verwalten();

    // Geometry: the place on screen of desk (spalte, reihe) and the desk
    // place under a point (false outside the room).
    struct Rechteck { int x, y, b, h; };
    Rechteck Platz(int spalte, int reihe) const;
    bool PlatzUnter(float x, float y, int& spalte, int& reihe) const;
    Rechteck Knopfplatz(int knopf) const;

    // The roll call's lesson: today and the lesson number, asked once a day.
    bool StundeWaehlen();
    // Asks for the column of oral grades; false when cancelled.
    bool SpalteWaehlen();

private:
    TUnterricht* U = nullptr;
    std::map<Text, TImage> Portraits;  // by "surname\nfirst names"
    bool PortraitsGeladen = false;
    static constexpr int kRand = 8, kOben = 100;
    int Spalten = 7, Reihen = 5, Rand = kRand, Teilung = 150, Oben = kOben;
    // The press being followed.
    bool Gedrueckt = false;
    int DruckBeginn = 0, DruckKnopf = -1, DruckSpalte = 0, DruckReihe = 0;
    bool LangGedrueckt = false;
    float ZugX = 0, ZugY = 0;
    // What verwalten acts on.
    enum Auftrag { kNichts, kKnopfAuftrag, kTippen, kLangerDruck, kZiehen, kZurueck };
    Auftrag Auftrag_ = kNichts;
    int AuftragKnopf = -1, ZielSpalte = 0, ZielReihe = 0;

    void Auslegen();
    void PortraitsLaden();
    void TischZeichnen(const Tisch& t, int x, int y, int groesse, float alpha, bool texte);
    void LeisteZeichnen();
    void Tippen(int spalte, int reihe);
    void LangDruecken(int spalte, int reihe);
    void Ziehen();
    void NoteGeben(int spalte, int reihe);
    void Verspaetung(const Schuelername& name);
    void PlanGeaendert();
    Text Heute() const;
};

// Starts decoding the class's portraits for the plan in the background; the
// class screen calls it when the class opens.
void SitzplanVorbereiten(const TSchulklasse& klasse);

// Runs the seating plan screen until Escape or "Zurück"; with
// `anwesenheit` the roll call starts at once.
int SitzplanZeigen(TSchulklasse& klasse, bool anwesenheit);

// The row menu's "Fehlzeiten": the student's counts per half-year and list
// of missed lessons and late arrivals; a tap on one excuses it, takes the
// excuse back or deletes it.
void FehlzeitenBearbeiten(TSchulklasse& klasse, int zeile);
// "1. Halbjahr: 4 Fehlstunden, 2 unentschuldigt, 1 Verspätung" for half-year h (0 or 1).
Text FehlzeitenZeile(const Fehlzeitenzahlen& z, int halbjahr);
// In the single-row display for parents: the shown student's counts per
// half-year under the row, when attendance was taken.
void EinzelzeileFehlzeitenZeigen(const TSchulklasse& klasse, int zeile);
