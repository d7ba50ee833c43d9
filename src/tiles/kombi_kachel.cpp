// Combined tile: like a text tile, but a line naming a ".png" or ".jpg" shows
// that image; lines that do not fit are shrunk together.
#include <algorithm>

#include "tiles/kachel.hpp"

namespace {
int Trunc(float v) { return static_cast<int>(v); }
}  // namespace

std::shared_ptr<TKombiKachel> TKombiKachel::bauen(const std::vector<::Text>& lines,
                                                  const std::vector<TImageFont>& fonts, int x, int y, int animate,
                                                  int fromX, int fromY, int verschiebbar, int breite, int tiefe,
                                                  const FarbArg& colour, const FarbArg& textColour, int centred,
                                                  float dauer) {
    return Aufbauen<TKombiKachel>(lines, fonts, x, y, animate, fromX, fromY, verschiebbar, breite, tiefe, colour,
                                  textColour, centred, dauer);
}

void TKombiKachel::change(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts,
                          const FarbArg& textColour, int centred) {
    Text = lines;
    if (!fonts.empty()) Font = fonts;
    if (!textColour.empty()) Text_RGB = FarbeAus(textColour);
    const size_t n = lines.size();
    Zeilen = static_cast<int>(n);
    Text_scale.assign(n, 0.0f);
    Text_offsetX.assign(n, 0);
    Text_offsetY.assign(n, 0);
    Bild.assign(n, nullptr);
    std::vector<int> hoehe(n, 0);
    int gaps = 1, sum = 0;
    for (size_t i = 0; i < n; ++i) {
        ++gaps;
        if (IstBildzeile(lines[i])) Bild[i] = LoadImageFrom(lines[i], -1);
        if (Bild[i]) {
            const int iw = ImageWidthOf(Bild[i]), ih = ImageHeightOf(Bild[i]);
            if (iw > Breite - 8) {
                Text_scale[i] = static_cast<float>(Breite - 8) / static_cast<float>(iw);
                Text_offsetX[i] = 4;
                hoehe[i] = Trunc(Text_scale[i] * ih);
            } else {
                Text_scale[i] = 1.0f;
                if (centred != 0) Text_offsetX[i] = Trunc(0.5f * (Breite - iw));
                hoehe[i] = ih;
            }
            sum += hoehe[i];
            continue;
        }
        // Without a font of its own the line keeps the font selected before.
        if (i < Font.size() && Font[i]) SetDrawFont(Font[i]);
        TextzeileAuslegen(i, lines[i], centred, hoehe, sum, gaps);
    }
    if (sum > Tiefe) {
        // The lines do not fit: shrink them all together, without gaps.
        Zeilenzwischenabstand = 0;
        const float v = static_cast<float>(Tiefe) / static_cast<float>(sum);
        int yy = 0;
        for (size_t j = 0; j < n; ++j) {
            Text_scale[j] = Text_scale[j] * v;
            Text_offsetX[j] = Trunc(Text_offsetX[j] / v);
            Text_offsetY[j] = yy;
            yy = Trunc(yy + hoehe[j] * v);
        }
        return;
    }
    Zeilenabstaende(hoehe, sum, gaps);
}

void TKombiKachel::draw(float f, int highlight) {
    SetAlpha(f);
    Bevel(f);
    auto zeile = [&](size_t i, bool hervorheben) {
        const bool bild = i < Bild.size() && Bild[i];
        if (!hervorheben) {
            if (bild) SetColor(255, 255, 255);
            else SetColor(Text_RGB[0], Text_RGB[1], Text_RGB[2]);
        }
        SetDrawScale(f * Text_scale[i], f * Text_scale[i]);
        const float px = temp_x + f * Text_offsetX[i], py = temp_y + f * Text_offsetY[i];
        if (bild) {
            DrawImageAt(Bild[i], px, py, 0);
        } else {
            Zeilenfont(i);
            DrawTextAt(Text[i], px, py);
        }
        SetDrawScale(1, 1);
    };
    for (size_t i = 0; i < Text.size() && i < Text_scale.size(); ++i) zeile(i, false);
    if (highlight != 0) {
        SetBlend(4);
        SetColor(RGB[0], RGB[1], RGB[2]);
        DrawRect(temp_x + 1, temp_y + 1, f * Breite - 2, f * Tiefe - 2);
        // In the highlight pass images are tinted with the text colour too.
        SetColor(Text_RGB[0], Text_RGB[1], Text_RGB[2]);
        for (size_t i = 0; i < Text.size() && i < Text_scale.size(); ++i) zeile(i, true);
        SetBlend(3);
    }
    SetAlpha(1);
}
