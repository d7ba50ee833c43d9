// Tile menus: grid layout, placement kept inside the window, the modal loop.
#include "tiles/menu.hpp"

#include <algorithm>

#include "platform/end_signals.hpp"
#include "platform/input.hpp"
#include "platform/conversions.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/texteingabe.hpp"
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
    Einpassen(px, py);
    x2 = fromX;
    y2 = fromY;
    for (int i = 0; i < static_cast<int>(Kachel.size()); ++i) {
        const auto [kx, ky] = Ruheplatz(i);
        Kachel[i]->einblenden(fromX, fromY, static_cast<float>(Trunc(Animationsdauer)), kx, ky);
    }
    if (extraImage) {
        Zusatzbild = extraImage;
        Zusatzbild_x = extraX;
        Zusatzbild_y = extraY;
    }
    Status = 1;
    Versetzt = false;
    Animationsbeginn = FrameTime;
    Suchtext.clear();
    Markiert = -1;
}

void TMenu::versetzen(int px, int py) {
    x2 = Panel_x;
    y2 = Panel_y;
    Einpassen(px, py);
    for (int i = 0; i < static_cast<int>(Kachel.size()); ++i) {
        // From where the tile is drawn now, also when an earlier slide has not ended.
        TKachel& k = *Kachel[i];
        k.x = k.temp_x;
        k.y = k.temp_y;
        const auto [kx, ky] = Ruheplatz(i);
        k.bewegen(kx, ky, static_cast<float>(Trunc(Animationsdauer)));
    }
    Status = 1;
    Versetzt = true;
    Animationsbeginn = FrameTime;
    Suchtext.clear();
    Markiert = -1;
}

void TMenu::Einpassen(int px, int py) {
    const int W = GraphicsWidth(), H = GraphicsHeight();
    // Kept inside the window; a panel larger than the window starts left of or above it.
    x = std::max(px, 0);
    if (x + Breite > W) x = W - Breite;
    y = std::max(py, 0);
    if (y + Tiefe > H) y = H - Tiefe;
}

std::pair<int, int> TMenu::Ruheplatz(int i) const {
    const int gap = Zwischenraum;
    const int spalte = Spalten > 0 ? i % Spalten : 0;
    const int reihe = Spalten > 0 ? i / Spalten : 0;
    int kx = x + gap;
    for (int j = i - spalte; j < i; ++j) kx += Kachel[j]->Breite + gap;
    return {kx, y + gap + reihe * (Kachel[i]->Tiefe + gap)};
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

::Text TMenu::verwenden(bool vorausgetippt) {
    if (Status <= 0) return ::Text();
    if (!vorausgetippt) ClearKeys();
    ClearMouse();
    for (;;) {
        User::update();
        // Ending the program: closed without a choice.
        if (EndSignalled()) return Beenden(false);
        const int ergebnis = Bildschritt();
        FrameEnd();
        if (ergebnis == kGewaehlt) return Beenden(true);
        if (ergebnis == kDaneben) {
            // The tap outside closes the menu only once it has ended, and is consumed here.
            while (TouchState != 0 && !EndSignalled()) {
                User::update();
                WaitTimer(Taktgeber);
            }
            return Beenden(false);
        }
        if (ergebnis != kOffen) return Beenden(false);
    }
}

void TMenu::PanelZeichnen() {
    SetDrawScale(1, 1);
    SetColor(BackRGB[0], BackRGB[1], BackRGB[2]);
    if (Status == 1) {
        const float t = Animationsdauer > 0
                            ? std::min(1.0f, static_cast<float>(FrameTime - Animationsbeginn) / Animationsdauer)
                            : 1.0f;
        if (Versetzt) {
            // Sliding to a new place: the whole panel, opaque.
            SetAlpha(1);
            Panel_x = Trunc(x2 + t * (x - x2));
            Panel_y = Trunc(y2 + t * (y - y2));
            DrawRect(static_cast<float>(Panel_x), static_cast<float>(Panel_y), Breite, Tiefe);
        } else {
            SetAlpha(t);
            if (Zusatzbild) {
                SetColor(255, 255, 255);
                SetDrawScale(t, t);
                DrawImageAt(Zusatzbild, x2 + t * (Zusatzbild_x - x2), y2 + t * (Zusatzbild_y - y2), 0);
                SetDrawScale(1, 1);
                SetColor(BackRGB[0], BackRGB[1], BackRGB[2]);
            }
            DrawRect(x2 + t * (x - x2), y2 + t * (y - y2), t * Breite, t * Tiefe);
            Panel_x = Trunc(x2 + t * (x - x2));
            Panel_y = Trunc(y2 + t * (y - y2));
        }
        if (t >= 1.0f) Status = 2;
    } else {
        SetAlpha(1);
        DrawRect(x, y, Breite, Tiefe);
        Panel_x = x;
        Panel_y = y;
        if (Zusatzbild) {
            SetColor(255, 255, 255);
            DrawImageAt(Zusatzbild, Zusatzbild_x, Zusatzbild_y, 0);
        }
    }
}

int TMenu::Bildschritt() {
    Auswahl.clear();
    Auswahl_Kachelindex = -1;
    Freitext.clear();
    int ergebnis = kOffen;
    // Keys wait in their queue, in order, until the menu stands: none ever
    // acts on a tile that is still flying in or sliding.
    if (Tastensuche && Status == 2) {
        Pfeil(KeyPressed(kKeyRight) - KeyPressed(kKeyLeft), KeyPressed(kKeyDown) - KeyPressed(kKeyUp));
        // One character at a time: what follows a choice is left for the next menu.
        for (int c = NextTypedChar(); c != 0; c = NextTypedChar()) {
            ergebnis = Tastendruck(static_cast<char16_t>(c));
            if (ergebnis != kOffen) break;
        }
    }
    PanelZeichnen();
    for (int i = 0; i < static_cast<int>(Kachel.size()); ++i) {
        if (Kachel[i]->nutzen(1.0f, 1) == 3) {
            Waehlen(i);
            Freitext.clear();
            ergebnis = kGewaehlt;
        }
    }
    if (Markiert >= 0 && Markiert < static_cast<int>(Kachel.size())) {
        // Drawn again, highlighted as a pressed tile is (the face is opaque).
        TKachel& k = *Kachel[static_cast<size_t>(Markiert)];
        if (k.Animation == 0 && k.touched == 0) k.draw(1.0f, 1);
    }
    SuchtextZeichnen();
    if (ergebnis != kOffen) return ergebnis;
    if (TouchState == 1 && AusserhalbDesPanels()) return kDaneben;
    if (BackRequested) return kZurueck;
    return kOffen;
}

void TMenu::Waehlen(int i) {
    Auswahl_Kachelindex = i;
    const auto& t = Kachel[static_cast<size_t>(i)]->Text;
    Auswahl = t.empty() ? ::Text() : (!t[0].empty() || t.size() < 2 ? t[0] : t[1]);
}

namespace {
// The text a tile is searched by: its first line that is neither empty nor an image.
::Text Suchname(const TKachel& k) {
    for (const ::Text& zeile : k.Text)
        if (!zeile.empty() && !IstBildzeile(zeile)) return LowerCase(zeile);
    return ::Text();
}
constexpr size_t kSuchtextLaenge = 24;
}  // namespace

void TMenu::Suchen() {
    Markiert = -1;
    if (Suchtext.empty()) return;
    const ::Text s = LowerCase(Suchtext);
    int anfang = -1;
    for (int i = 0; i < static_cast<int>(Kachel.size()); ++i) {
        const ::Text name = Suchname(*Kachel[static_cast<size_t>(i)]);
        if (name == s) {
            Markiert = i;
            return;
        }
        if (anfang < 0 && name.size() > s.size() && name.compare(0, s.size(), s) == 0) anfang = i;
    }
    Markiert = anfang;
}

int TMenu::Tastendruck(char16_t c) {
    if (Endezeichen.find(c) != ::Text::npos) {
        Endzeichen = c;
        return kZeichen;
    }
    if (c == kKeyBackspace) {
        if (!Suchtext.empty()) {
            Suchtext.pop_back();
            Suchen();
        }
        return kOffen;
    }
    if (c == kKeyEnter) {
        if (Markiert >= 0) {
            Waehlen(Markiert);
            return kGewaehlt;
        }
        if (!Suchtext.empty() && Freitextkachel >= 0 && Freitextkachel < static_cast<int>(Kachel.size())) {
            Waehlen(Freitextkachel);
            Freitext = Suchtext;
            return kGewaehlt;
        }
        return kOffen;
    }
    if (c <= 32 || !Texteingabe::Zulaessig(c) || Suchtext.size() >= kSuchtextLaenge) return kOffen;
    Suchtext.push_back(c);
    Suchen();
    return kOffen;
}

void TMenu::Pfeil(int dx, int dy) {
    if ((dx == 0 && dy == 0) || Kachel.empty() || Spalten <= 0) return;
    Suchtext.clear();
    if (Markiert < 0) {
        Markiert = 0;
        return;
    }
    const int spalte = std::clamp(Markiert % Spalten + dx, 0, Spalten - 1);
    const int reihe = std::clamp(Markiert / Spalten + dy, 0, Reihen - 1);
    const int neu = reihe * Spalten + spalte;
    if (neu < static_cast<int>(Kachel.size())) Markiert = neu;
}

void TMenu::SuchtextZeichnen() {
    if (Suchtext.empty() || !Suchschrift) return;
    SetDrawFont(Suchschrift);
    SetDrawScale(1, 1);
    SetAlpha(1);
    const int w = TextWidthOf(Suchtext) + 12, h = TextHeightOf(Suchtext) + 4;
    const int lx = Panel_x + (Breite - w) / 2;
    const int ly = std::min(Panel_y + Tiefe - h / 2, GraphicsHeight() - h);
    SetColor(128, 128, 128);
    DrawRect(lx - 1, ly - 1, w + 2, h + 2);
    SetColor(BackRGB[0], BackRGB[1], BackRGB[2]);
    DrawRect(lx, ly, w, h);
    // White while it names a tile, yellow when Enter would take it as free text.
    if (Markiert >= 0) SetColor(255, 255, 255);
    else SetColor(255, 255, 0);
    DrawTextAt(Suchtext, lx + 6, ly + 2);
    SetColor(255, 255, 255);
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
