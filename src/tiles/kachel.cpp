// The tile base: animations, screen position by scroll mode, visibility and
// the hit test with its strict edges.
#include "tiles/kachel.hpp"

#include <cmath>
#include <cstdlib>

#include "platform/conversions.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

namespace {
int Trunc(float v) { return static_cast<int>(v); }  // toward zero
}  // namespace

RGBFarbe FarbeAus(const FarbArg& c) {
    RGBFarbe f{0, 0, 0};
    for (size_t i = 0; i < 3 && i < c.size(); ++i) f[i] = c[i];
    return f;
}

bool IstBildzeile(const ::Text& line) {
    const ::Text end = LowerCase(Right(line, 4));
    return end == u".png" || end == u".jpg";
}

void TKachel::einblenden(int fromX, int fromY, float dauer, int newX, int newY) {
    if (newX > kPositionBehalten) x = newX;
    if (newY > kPositionBehalten) y = newY;
    Starte(1, fromX, fromY, dauer);
}

void TKachel::bewegen(int toX, int toY, float dauer) { Starte(2, toX, toY, dauer); }

void TKachel::ausblenden(int toX, int toY, float dauer) { Starte(3, toX, toY, dauer); }

// A new animation replaces a running one and starts on this frame's clock.
void TKachel::Starte(int animation, int zielX, int zielY, float dauer) {
    x2 = zielX;
    y2 = zielY;
    Animation = animation;
    Animationsdauer = dauer;
    Animationsbeginn = FrameTime;
}

void TKachel::Bildschirmposition() {
    const int sx = (verschiebbar == 1 || verschiebbar == 3) ? Offset::ScrollX : 0;
    const int sy = (verschiebbar == 2 || verschiebbar == 3) ? Offset::ScrollY : 0;
    if (verschiebbar < 0 || verschiebbar > 3) return;
    temp_x = x + sx;
    temp_y = y + sy;
    temp_x2 = x2 + sx;
    temp_y2 = y2 + sy;
}

bool TKachel::Sichtbar(float w, float h) const {
    return temp_x < GraphicsWidth() && temp_y < GraphicsHeight() && temp_x + w > 0 && temp_y + h > 0;
}

int TKachel::nutzen(float, int highlight) {
    Bildschirmposition();
    if (Animation == 0) return Interaktion(highlight);
    // A duration of 0 ends the animation at once.
    const float p = Animationsdauer > 0 ? static_cast<float>(FrameTime - Animationsbeginn) / Animationsdauer : 1.0f;
    if (Animation == 1) {
        if (p >= 1) {
            Animation = 0;
            Interaktion(highlight);
            return 0;
        }
        temp_x = Trunc(temp_x2 + p * (temp_x - temp_x2));
        temp_y = Trunc(temp_y2 + p * (temp_y - temp_y2));
        if (Sichtbar(p * Breite, p * Tiefe)) draw(p, 0);
        return 0;
    }
    if (Animation == 2) {
        if (p >= 1) {
            Animation = 0;
            x = x2;
            y = y2;
            Bildschirmposition();
            Interaktion(highlight);
            return 0;
        }
        const float q = 1.0f - p;
        temp_x = Trunc(temp_x2 + q * (temp_x - temp_x2));
        temp_y = Trunc(temp_y2 + q * (temp_y - temp_y2));
        if (Sichtbar(static_cast<float>(Breite), static_cast<float>(Tiefe))) draw(1.0f, 0);
        return 0;
    }
    if (Animation == 3) {
        if (p >= 1) {
            Animation = 0;
            touched = -1;
            return 0;
        }
        const float q = 1.0f - p;
        temp_x = Trunc(temp_x2 + q * (temp_x - temp_x2));
        temp_y = Trunc(temp_y2 + q * (temp_y - temp_y2));
        if (Sichtbar(q * Breite, q * Tiefe)) draw(q, 0);
        return 0;
    }
    return 0;
}

int TKachel::Interaktion(int highlight) {
    if (!Sichtbar(static_cast<float>(Breite), static_cast<float>(Tiefe))) return 0;
    const bool ruhig = std::abs(Offset::ScrollSpeedX) < 8 && std::abs(Offset::ScrollSpeedY) < 8;
    const bool drauf = ruhig && temp_x < PointerPosX && PointerPosX < temp_x + Breite && temp_y < PointerPosY &&
                       PointerPosY < temp_y + Tiefe;
    int neu = 0;
    if (drauf) {
        if (TouchState == 1 && touched == 0) neu = 1;
        else if (TouchState == 2 && touched > 0) neu = 2;
        else if (TouchState == 3 && touched > 0) neu = 3;
    }
    touched = neu;
    draw(1.0f, touched != 0 ? highlight : 0);
    return touched;
}
