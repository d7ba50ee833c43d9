// Tile menus: a modal grid of equal tiles on a coloured panel, with an optional
// extra picture. `einblenden` places the panel and starts the fly-in;
// `verwenden` runs the menu until a tile is chosen ("1"), the user taps
// outside or goes back ("").
#pragma once
#include <memory>
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

    void individualisiere_RGBs(int index, const FarbArg& tileColour, const FarbArg& textColour);
    void einblenden(int x, int y, int fromX, int fromY, const TImage& extraImage, int extraX, int extraY);
    ::Text verwenden();

protected:
    using Fabrik = std::shared_ptr<TKachel> (*)(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts,
                                                int breite, int tiefe, const FarbArg& colour,
                                                const FarbArg& textColour, float dauer);
    void Aufbauen(int columns, const std::vector<std::vector<::Text>>& lines, const std::vector<TImageFont>& fonts,
                  int tileWidth, int tileHeight, int gap, const FarbArg& panelColour, const FarbArg& tileColour,
                  const FarbArg& textColour, float duration, Fabrik fabrik);

private:
    ::Text Beenden(bool mitAuswahl);
    bool AusserhalbDesPanels() const;
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
