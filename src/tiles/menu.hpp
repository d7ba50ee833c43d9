// Tile menus: a modal grid of equal tiles on a coloured panel, with an optional
// extra picture. `einblenden` places the panel and starts the fly-in;
// `verwenden` runs the menu until a tile is chosen ("1"), the user taps
// outside or goes back (""). A menu may also listen to the keyboard: typed
// characters search the tiles' texts, the arrow keys move a highlight and
// Enter chooses the highlighted tile as a tap would.
#pragma once
#include <memory>
#include <utility>
#include <vector>

#include "tiles/kachel.hpp"

class TMenu {
public:
    virtual ~TMenu() = default;

    int Spalten = 0;
    int Reihen = 0;
    int Kachelanzahl = 0;
    int x = 0, y = 0;
    int x2 = 0, y2 = 0;
    int Breite = 0, Tiefe = 0;
    int Zwischenraum = 0;
    TImage Zusatzbild;
    int Zusatzbild_x = 0, Zusatzbild_y = 0;
    RGBFarbe BackRGB{0, 0, 0};
    std::vector<std::shared_ptr<TKachel>> Kachel;
    int Auswahl_Kachelindex = 0;
    ::Text Auswahl;
    int Status = 0;  // 0 not shown, 1 fading in, 2 shown
    int Animationsbeginn = 0;
    float Animationsdauer = 0;

    // Keyboard use, off unless a builder turns it on.
    int Tastensuche = 0;          // 1: typed search, arrow keys and Enter
    TImageFont Suchschrift;       // the search text's font, drawn small at the panel's bottom edge
    int Freitextkachel = -1;      // chosen by Enter when the search text matches no tile
    ::Text Endezeichen;           // typed characters that end the menu without a choice
    ::Text Suchtext;
    int Markiert = -1;            // the tile the keyboard highlights, -1 none
    ::Text Freitext;              // after a choice by Enter without a match: the search text
    char16_t Endzeichen = 0;      // the character of Endezeichen that ended the menu

    // Why a frame of the menu ended it (Bildschritt).
    enum Ergebnis { kOffen, kGewaehlt, kDaneben, kZurueck, kZeichen };

    void individualisiere_RGBs(int index, const FarbArg& tileColour, const FarbArg& textColour);
    void einblenden(int x, int y, int fromX, int fromY, const TImage& extraImage, int extraX, int extraY);
    // Moves the shown (or just closed) menu to a new place, kept inside the
    // window: panel and tiles slide there at full size within Animationsdauer;
    // the search text starts afresh.
    void versetzen(int x, int y);
    // vorausgetippt: keys typed since the tap that opened the menu are kept
    // and applied once it stands (the caller dropped any older ones).
    ::Text verwenden(bool vorausgetippt = false);
    // One frame of the placed menu after User::update: draws the panel and the
    // tiles, reads the keys. kGewaehlt with Auswahl set; kDaneben on a touch
    // begun outside the panel (not waited for); kZurueck on Escape or close;
    // kZeichen on a character of Endezeichen; kOffen otherwise.
    int Bildschritt();
    // Ends the menu as verwenden does: "1" with a choice, empty without.
    ::Text Beenden(bool mitAuswahl);
    // Applies one typed character or key code (8 Backspace, 13 Enter) to the
    // search; returns a result as Bildschritt does.
    int Tastendruck(char16_t c);
    // Moves the keyboard highlight by columns and rows; stops at the edges.
    void Pfeil(int dx, int dy);

protected:
    using Fabrik = std::shared_ptr<TKachel> (*)(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts,
                                                int breite, int tiefe, const FarbArg& colour,
                                                const FarbArg& textColour, float dauer);
    void Aufbauen(int columns, const std::vector<std::vector<::Text>>& lines, const std::vector<TImageFont>& fonts,
                  int tileWidth, int tileHeight, int gap, const FarbArg& panelColour, const FarbArg& tileColour,
                  const FarbArg& textColour, float duration, Fabrik fabrik);

private:
    bool AusserhalbDesPanels() const;
    void Einpassen(int px, int py);
    std::pair<int, int> Ruheplatz(int i) const;
    void Waehlen(int index);
    void Suchen();
    void PanelZeichnen();
    void SuchtextZeichnen();
    bool Versetzt = false;        // the fade-in is a slide at full size
    int Panel_x = 0, Panel_y = 0; // where the panel was drawn last
};

// Menu of text tiles.
class TTextMenu : public TMenu {
public:
    static std::shared_ptr<TTextMenu> bauen(int columns, const std::vector<std::vector<::Text>>& lines,
                                            const std::vector<TImageFont>& fonts, int tileWidth, int tileHeight,
                                            int gap, const FarbArg& panelColour, const FarbArg& tileColour,
                                            const FarbArg& textColour, float duration);
};

// Menu of combined tiles, whose lines may name images.
class TKombiMenu : public TMenu {
public:
    static std::shared_ptr<TKombiMenu> bauen(int columns, const std::vector<std::vector<::Text>>& lines,
                                             const std::vector<TImageFont>& fonts, int tileWidth, int tileHeight,
                                             int gap, const FarbArg& panelColour, const FarbArg& tileColour,
                                             const FarbArg& textColour, float duration);
};
