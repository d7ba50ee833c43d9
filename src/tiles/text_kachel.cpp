// Text tile: line layout (over-wide lines shrunk, empty lines as extra gaps),
// the bevelled face and the additive highlight.
#include <algorithm>

#include "tiles/kachel.hpp"

namespace {
int Trunc(float v) { return static_cast<int>(v); }
}  // namespace

std::shared_ptr<TTextKachel> TTextKachel::bauen(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts,
                                                int x, int y, int animate, int fromX, int fromY, int verschiebbar,
                                                int breite, int tiefe, const FarbArg& colour,
                                                const FarbArg& textColour, int centred, float dauer) {
    return Aufbauen<TTextKachel>(lines, fonts, x, y, animate, fromX, fromY, verschiebbar, breite, tiefe, colour,
                                 textColour, centred, dauer);
}

void TTextKachel::Zeilenfont(size_t i) {
    SetDrawFont(Font.empty() ? nullptr : Font[std::min(i, Font.size() - 1)]);
}

void TTextKachel::change(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts,
                         const FarbArg& textColour, int centred) {
    Text = lines;
    if (!fonts.empty()) Font = fonts;
    if (!textColour.empty()) Text_RGB = FarbeAus(textColour);
    Zeilen = static_cast<int>(lines.size());
    Text_scale.assign(lines.size(), 0.0f);
    Text_offsetX.assign(lines.size(), 0);
    Text_offsetY.assign(lines.size(), 0);
    std::vector<int> hoehe(lines.size(), 0);
    int gaps = 1, sum = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        ++gaps;
        Zeilenfont(i);
        TextzeileAuslegen(i, lines[i], centred, hoehe, sum, gaps);
    }
    Zeilenabstaende(hoehe, sum, gaps);
}

// Lays out a text line in the font selected now: an over-wide line is shrunk
// to leave 4 pixels each side; an empty line is one more gap and no height.
void TTextKachel::TextzeileAuslegen(size_t i, const ::Text& line, int centred, std::vector<int>& hoehe, int& sum,
                                    int& gaps) {
    const int w = TextWidthOf(line);
    if (w > Breite - 8) {
        Text_scale[i] = static_cast<float>(Breite - 8) / static_cast<float>(w);
        Text_offsetX[i] = 4;
        hoehe[i] = Trunc(Text_scale[i] * TextHeightOf(line));
        sum += hoehe[i];
        return;
    }
    Text_scale[i] = 1.0f;
    if (centred != 0) Text_offsetX[i] = Trunc(0.5f * (Breite - w));
    if (line.empty()) {
        ++gaps;
    } else {
        hoehe[i] = TextHeightOf(line);
        sum += hoehe[i];
    }
}

void TTextKachel::Zeilenabstaende(const std::vector<int>& hoehe, int sum, int gaps) {
    Zeilenzwischenabstand = Trunc(static_cast<float>(Tiefe - sum) / static_cast<float>(gaps));
    int yy = Zeilenzwischenabstand;
    for (size_t i = 0; i < hoehe.size(); ++i) {
        Text_offsetY[i] = yy;
        yy += hoehe[i] + Zeilenzwischenabstand;
    }
}

// A light edge at the top and left, a dark one at the bottom and right. Three
// overlapping rectangles; opaque, the same pixels come from a face and four
// strips, each pixel filled once.
void TTextKachel::Bevel(float f) {
    const int R = RGB[0], G = RGB[1], B = RGB[2];
    const int hR = Trunc(1.5f * R), hG = Trunc(1.5f * G), hB = Trunc(1.5f * B);
    const int dR = Trunc(0.5f * R), dG = Trunc(0.5f * G), dB = Trunc(0.5f * B);
    if (f == 1.0f && GetBlend() == 3 && Breite >= 2 && Tiefe >= 2) {
        const float xx = static_cast<float>(temp_x), yy = static_cast<float>(temp_y);
        SetColor(hR, hG, hB);
        DrawRect(xx, yy, Breite - 1, 1);
        DrawRect(xx, yy + 1, 1, Tiefe - 2);
        SetColor(dR, dG, dB);
        DrawRect(xx + Breite - 1, yy + 1, 1, Tiefe - 1);
        DrawRect(xx + 1, yy + Tiefe - 1, Breite - 2, 1);
        SetColor(R, G, B);
        DrawRect(xx + 1, yy + 1, Breite - 2, Tiefe - 2);
        return;
    }
    SetColor(hR, hG, hB);
    DrawRect(temp_x, temp_y, f * Breite - 1, f * Tiefe - 1);
    SetColor(dR, dG, dB);
    DrawRect(temp_x + 1, temp_y + 1, f * Breite - 1, f * Tiefe - 1);
    SetColor(R, G, B);
    DrawRect(temp_x + 1, temp_y + 1, f * Breite - 2, f * Tiefe - 2);
}

void TTextKachel::draw(float f, int highlight) {
    SetAlpha(f);
    Bevel(f);
    auto zeilen = [&] {
        for (size_t i = 0; i < Text.size() && i < Text_scale.size(); ++i) {
            Zeilenfont(i);
            SetDrawScale(f * Text_scale[i], f * Text_scale[i]);
            DrawTextAt(Text[i], temp_x + f * Text_offsetX[i], temp_y + f * Text_offsetY[i]);
            SetDrawScale(1, 1);
        }
    };
    SetColor(Text_RGB[0], Text_RGB[1], Text_RGB[2]);
    zeilen();
    if (highlight != 0) {
        SetBlend(4);
        SetColor(RGB[0], RGB[1], RGB[2]);
        DrawRect(temp_x + 1, temp_y + 1, f * Breite - 2, f * Tiefe - 2);
        SetColor(Text_RGB[0], Text_RGB[1], Text_RGB[2]);
        zeilen();
        SetBlend(3);
    }
    SetAlpha(1);
}
