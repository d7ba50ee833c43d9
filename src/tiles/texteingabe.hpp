// The on-screen keyboard with its one-line text field: all text the user types
// goes through `starten` (prepare) and the modal `verwenden` (1 confirmed,
// 0 cancelled). Class-wide state only; public so tests can inspect it.
#pragma once
#include <array>
#include <memory>
#include <vector>

#include "tiles/info_box.hpp"
#include "tiles/kachel.hpp"

class Texteingabe {
public:
    // Places in the key rows. Rows 0-2 hold 11 character keys, row 3 13; the
    // function keys follow them in rows 0 and 1 and fill row 4.
    static constexpr int kRuecktaste = 11;  // row 0
    static constexpr int kEnter = 11;       // row 1
    enum Reihe4 { kEscape, kShiftLinks, kLeertaste, kShiftRechts, kEntf, kClear, kEinfg };
    static constexpr std::array<int, 4> kZeichentasten{11, 11, 11, 13};

    static void initialisieren();
    static void starten(int active, const ::Text& text, int centred, int selectionFrom, int cursorAt, int overwrite);
    static int verwenden(int checkSpecial);
    static int Eventuelle_Textauswahl_wegschneiden();
    static void shift_wechseln();
    static bool Sonderzeichenkontrolle();
    // Characters the class file can store (Latin-1 without "~" and DEL, plus €).
    static bool Zulaessig(char16_t c);

    static ::Text Eingabetext;
    static int EingabeAktiv;
    // 1: every character is shown as "•" (passwords). starten sets it to 0;
    // verdeckt_starten prepares an empty, masked entry.
    static int verdeckt;
    static void verdeckt_starten(int active);
    // Characters a masked entry holds without moving its buffer.
    static constexpr size_t kVerdecktPlatz = 256;
    // The whole entry state, so that an entry that interrupts another (the
    // lock) gives it back unchanged.
    struct Zustand {
        ::Text text;
        int aktiv, verdeckt, textX, auswahlbeginn, cursor, links, laenge, zentriert, ueberschreiben, shift,
            eingeblendet, einblendbeginn;
    };
    static Zustand sichern();
    static void wiederherstellen(const Zustand& z);

    // Keyboard area including the text strip above the keys.
    static int Tastatur_x, Tastatur_y, Tastatur_Breite, Tastatur_Hoehe;
    static RGBFarbe Hintergrund;
    static std::array<std::vector<std::shared_ptr<TTextKachel>>, 5> Tastenreihe;
    static TImageFont Schrift_klein, Schrift_gross, Symbol_schrift;

    static int Feld_x, Feld_y, Feld_Breite, Zeilenhoehe;
    static int Text_x;
    static int Verschiebung;   // how far a text wider than the field is scrolled to the left
    // The longest text an entry takes; a longer one is refused with a box.
    static constexpr int kHoechstlaenge = 200;
    static int Auswahlbeginn;  // where the pointer went down; == Cursor without selection
    static int Cursor;
    static int Auswahl_links, Auswahl_Laenge;
    static int zentriert;
    static int ueberschreiben;
    static int shift;
    static int eingeblendet;   // 1 once the slide-in has finished
    static int Einblendbeginn;
    static float Einblenddauer;
    // The last special-character note shown, for inspection.
    static std::shared_ptr<TInfoBox> Sonderzeichenhinweis;

private:
    static void TextXNeu();
    static void Mitlaufen();
    static ::Text Sichtbar(const ::Text& text);
    static int Praefixbreite(int n);
    static void Ruecktaste();
    static void Entf();
    static void Einfuegen(char16_t c);
    static void CursorSetzen(int position);
    static void ZeigerImText();
    static void FeldZeichnen();
    static void Zuruecksetzen();
};
