// Tiles: the one visual and interactive element. A tile flies in, moves and
// fades out, follows the scroll offsets if asked to, draws itself and reports
// press (1), hold (2) and activation (3) once per frame in `nutzen`.
#pragma once
#include <array>
#include <memory>
#include <vector>

#include "platform/graphics.hpp"
#include "platform/text.hpp"

using RGBFarbe = std::array<int, 3>;
// A colour argument that may be left empty ("keep the current one").
using FarbArg = std::vector<int>;

constexpr int kPositionBehalten = -999999;  // einblenden: keep the rest position

// Three entries of an array argument; missing ones are 0.
RGBFarbe FarbeAus(const FarbArg& colour);

class TKachel {
public:
    virtual ~TKachel() = default;

    std::vector<::Text> Text;
    int x = 0, y = 0;
    int Breite = 0, Tiefe = 0;
    int x2 = 0, y2 = 0;
    RGBFarbe RGB{0, 0, 0};
    RGBFarbe Text_RGB{0, 0, 0};
    int touched = 0;          // 0 none, 1 pressed, 2 held, 3 activated, -1 faded out
    int Animation = 0;        // 0 none, 1 fade-in, 2 move, 3 fade-out
    int Animationsbeginn = 0;
    float Animationsdauer = 0;
    int verschiebbar = 0;     // 0 fixed, 1 follows ScrollX, 2 ScrollY, 3 both
    int temp_x = 0, temp_y = 0;
    int temp_x2 = 0, temp_y2 = 0;

    void einblenden(int fromX, int fromY, float dauer, int newX, int newY);
    void bewegen(int toX, int toY, float dauer);
    void ausblenden(int toX, int toY, float dauer);
    int nutzen(float factor, int highlight);
    int Interaktion(int highlight);
    virtual void change(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts, const FarbArg& textColour,
                        int centred) = 0;
    virtual void draw(float factor, int highlight) = 0;

protected:
    void Starte(int animation, int zielX, int zielY, float dauer);
    void Bildschirmposition();
    bool Sichtbar(float w, float h) const;
};

// Tile showing one image; its label identifies it and is not drawn.
class TBildKachel : public TKachel {
public:
    TImage Bild;

    static std::shared_ptr<TBildKachel> bauen(const ::Text& label, const TImage& image, int x, int y, int animate,
                                              int fromX, int fromY, int verschiebbar, const FarbArg& colour,
                                              float dauer);
    void change(const std::vector<::Text>&, const std::vector<TImageFont>&, const FarbArg&, int) override {}
    void draw(float factor, int highlight) override;
};

// Tile with lines of text, spread evenly from top to bottom.
class TTextKachel : public TKachel {
public:
    int Zeilen = 0;
    std::vector<TImageFont> Font;
    int Zeilenzwischenabstand = 0;
    std::vector<int> Text_offsetX;
    std::vector<int> Text_offsetY;
    std::vector<float> Text_scale;

    static std::shared_ptr<TTextKachel> bauen(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts,
                                              int x, int y, int animate, int fromX, int fromY, int verschiebbar,
                                              int breite, int tiefe, const FarbArg& colour, const FarbArg& textColour,
                                              int centred, float dauer);
    void change(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts, const FarbArg& textColour,
                int centred) override;
    void draw(float factor, int highlight) override;

protected:
    void Bevel(float f);
    void Zeilenfont(size_t i);
    void TextzeileAuslegen(size_t i, const ::Text& line, int centred, std::vector<int>& hoehe, int& sum, int& gaps);
    // Spreads the lines with equal gaps above, between and below them.
    void Zeilenabstaende(const std::vector<int>& hoehe, int sum, int gaps);
    // The common steps of building a text or combined tile.
    template <class K>
    static std::shared_ptr<K> Aufbauen(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts, int x,
                                       int y, int animate, int fromX, int fromY, int verschiebbar, int breite,
                                       int tiefe, const FarbArg& colour, const FarbArg& textColour, int centred,
                                       float dauer) {
        auto k = std::make_shared<K>();
        k->x = x;
        k->y = y;
        k->Breite = breite;
        k->Tiefe = tiefe;
        k->change(lines, fonts, textColour, centred);  // the layout needs the size
        k->RGB = FarbeAus(colour);
        k->Animationsdauer = dauer;
        k->verschiebbar = verschiebbar;
        if (animate == 1) k->einblenden(fromX, fromY, dauer, kPositionBehalten, kPositionBehalten);
        return k;
    }
};

// Tile whose lines are text or images (a line ending in ".png" or ".jpg").
class TKombiKachel : public TTextKachel {
public:
    std::vector<TImage> Bild;

    static std::shared_ptr<TKombiKachel> bauen(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts,
                                               int x, int y, int animate, int fromX, int fromY, int verschiebbar,
                                               int breite, int tiefe, const FarbArg& colour,
                                               const FarbArg& textColour, int centred, float dauer);
    void change(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts, const FarbArg& textColour,
                int centred) override;
    void draw(float factor, int highlight) override;
};

// True when a line names an image: its last four characters, lower-cased, are ".png" or ".jpg".
bool IstBildzeile(const Text& line);
