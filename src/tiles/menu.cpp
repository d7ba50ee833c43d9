// Tile menus: grid layout, placement kept inside the window, the modal loop.
#include "tiles/menu.hpp"

#include <algorithm>

#include "platform/end_signals.hpp"
#include "platform/input.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/user.hpp"

namespace {
int Trunc(float v) { return static_cast<int>(v); }
constexpr size_t kMaxZeilen = 10;
}  // namespace

void TMenu::Aufbauen(int columns, const std::vector<std::vector<::Text>>& lines, const std::vector<TImageFont>& fonts,
                     int tileWidth, int tileHeight, int gap, const FarbArg& panelColour, const FarbArg& tileColour,
                     const FarbArg& textColour, float duration, Fabrik fabrik) {
    Zwischenraum = gap;
    BackRGB = FarbeAus(panelColour);
    Animationsdauer = duration;
    Kachelanzahl = 0;
    for (const auto& l : lines) Kachelanzahl = std::max(Kachelanzahl, static_cast<int>(l.size()));
    Spalten = columns;
    Reihen = columns > 0 ? (Kachelanzahl + columns - 1) / columns : 0;
    Breite = gap + Spalten * (tileWidth + gap);
    Tiefe = gap + Reihen * (tileHeight + gap);
    Kachel.clear();
    for (int i = 0; i < Kachelanzahl; ++i) {
        std::vector<::Text> zeilen;
        for (size_t j = 0; j < lines.size() && j < kMaxZeilen; ++j)
            zeilen.push_back(static_cast<size_t>(i) < lines[j].size() ? lines[j][i] : ::Text());
        Kachel.push_back(fabrik(zeilen, fonts, tileWidth, tileHeight, tileColour, textColour,
                                static_cast<float>(Trunc(duration))));
    }
    Auswahl_Kachelindex = 0;
    Status = 0;
}

void TMenu::individualisiere_RGBs(int index, const FarbArg& tileColour, const FarbArg& textColour) {
    if (index < 0 || index >= static_cast<int>(Kachel.size())) return;
    if (!tileColour.empty()) Kachel[index]->RGB = FarbeAus(tileColour);
    if (!textColour.empty()) Kachel[index]->Text_RGB = FarbeAus(textColour);
}

void TMenu::einblenden(int px, int py, int fromX, int fromY, const TImage& extraImage, int extraX, int extraY) {
    const int W = GraphicsWidth(), H = GraphicsHeight();
    // Kept inside the window; a panel larger than the window starts left of or above it.
    x = std::max(px, 0);
    if (x + Breite > W) x = W - Breite;
    y = std::max(py, 0);
    if (y + Tiefe > H) y = H - Tiefe;
    x2 = fromX;
    y2 = fromY;
    const int gap = Zwischenraum;
    for (int i = 0; i < static_cast<int>(Kachel.size()); ++i) {
        const int spalte = Spalten > 0 ? i % Spalten : 0;
        const int reihe = Spalten > 0 ? i / Spalten : 0;
        int kx = x + gap;
        for (int j = i - spalte; j < i; ++j) kx += Kachel[j]->Breite + gap;
        const int ky = y + gap + reihe * (Kachel[i]->Tiefe + gap);
        Kachel[i]->einblenden(fromX, fromY, static_cast<float>(Trunc(Animationsdauer)), kx, ky);
    }
    if (extraImage) {
        Zusatzbild = extraImage;
        Zusatzbild_x = extraX;
        Zusatzbild_y = extraY;
    }
    Status = 1;
    Animationsbeginn = FrameTime;
}

bool TMenu::AusserhalbDesPanels() const {
    return PointerPosX < x || PointerPosX > x + Breite || PointerPosY < y || PointerPosY > y + Tiefe;
}

::Text TMenu::Beenden(bool mitAuswahl) {
    Status = 0;
    Zusatzbild = nullptr;
    Zusatzbild_x = Zusatzbild_y = kPositionBehalten;
    SetColor(255, 255, 255);
    SetDrawScale(1, 1);
    SetAlpha(1);
    if (mitAuswahl) User::flush();
    // Closing consumes an Escape or close request: the screen beneath stays.
    BackRequested = 0;
    ClearKeys();
    ClearMouse();
    return mitAuswahl ? ::Text(u"1") : ::Text();
}

::Text TMenu::verwenden() {
    if (Status <= 0) return ::Text();
    ClearKeys();
    ClearMouse();
    Auswahl.clear();
    Auswahl_Kachelindex = -1;
    for (;;) {
        User::update();
        // Ending the program: closed without a choice.
        if (EndSignalled()) return Beenden(false);
        SetDrawScale(1, 1);
        SetColor(BackRGB[0], BackRGB[1], BackRGB[2]);
        if (Status == 1) {
            const float t = Animationsdauer > 0
                                ? std::min(1.0f, static_cast<float>(FrameTime - Animationsbeginn) / Animationsdauer)
                                : 1.0f;
            SetAlpha(t);
            if (Zusatzbild) {
                SetColor(255, 255, 255);
                SetDrawScale(t, t);
                DrawImageAt(Zusatzbild, x2 + t * (Zusatzbild_x - x2), y2 + t * (Zusatzbild_y - y2), 0);
                SetDrawScale(1, 1);
                SetColor(BackRGB[0], BackRGB[1], BackRGB[2]);
            }
            DrawRect(x2 + t * (x - x2), y2 + t * (y - y2), t * Breite, t * Tiefe);
            if (t >= 1.0f) Status = 2;
        } else {
            SetAlpha(1);
            DrawRect(x, y, Breite, Tiefe);
            if (Zusatzbild) {
                SetColor(255, 255, 255);
                DrawImageAt(Zusatzbild, Zusatzbild_x, Zusatzbild_y, 0);
            }
        }
        for (int i = 0; i < static_cast<int>(Kachel.size()); ++i) {
            if (Kachel[i]->nutzen(1.0f, 1) == 3) {
                Auswahl_Kachelindex = i;
                const auto& t = Kachel[i]->Text;
                Auswahl = t.empty() ? ::Text() : (!t[0].empty() || t.size() < 2 ? t[0] : t[1]);
            }
        }
        FrameEnd();
        if (Auswahl_Kachelindex >= 0) return Beenden(true);
        if (TouchState == 1 && AusserhalbDesPanels()) {
            // The tap outside closes the menu only once it has ended, and is consumed here.
            while (TouchState != 0 && !EndSignalled()) {
                User::update();
                WaitTimer(Taktgeber);
            }
            return Beenden(false);
        }
        if (BackRequested) return Beenden(false);
    }
}

std::shared_ptr<TTextMenu> TTextMenu::bauen(int columns, const std::vector<std::vector<::Text>>& lines,
                                            const std::vector<TImageFont>& fonts, int tileWidth, int tileHeight,
                                            int gap, const FarbArg& panelColour, const FarbArg& tileColour,
                                            const FarbArg& textColour, float duration) {
    auto m = std::make_shared<TTextMenu>();
    m->Aufbauen(columns, lines, fonts, tileWidth, tileHeight, gap, panelColour, tileColour, textColour, duration,
                [](const std::vector<::Text>& z, const std::vector<TImageFont>& f, int w, int h, const FarbArg& c,
                   const FarbArg& tc, float d) -> std::shared_ptr<TKachel> {
                    return TTextKachel::bauen(z, f, 0, 0, 0, 0, 0, 0, w, h, c, tc, 1, d);
                });
    return m;
}

std::shared_ptr<TKombiMenu> TKombiMenu::bauen(int columns, const std::vector<std::vector<::Text>>& lines,
                                              const std::vector<TImageFont>& fonts, int tileWidth, int tileHeight,
                                              int gap, const FarbArg& panelColour, const FarbArg& tileColour,
                                              const FarbArg& textColour, float duration) {
    auto m = std::make_shared<TKombiMenu>();
    m->Aufbauen(columns, lines, fonts, tileWidth, tileHeight, gap, panelColour, tileColour, textColour, duration,
                [](const std::vector<::Text>& z, const std::vector<TImageFont>& f, int w, int h, const FarbArg& c,
                   const FarbArg& tc, float d) -> std::shared_ptr<TKachel> {
                    return TKombiKachel::bauen(z, f, 0, 0, 0, 0, 0, 0, w, h, c, tc, 1, d);
                });
    return m;
}
