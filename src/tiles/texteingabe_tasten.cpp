// The keyboard's layout: fonts and key sizes scaled from a 1170 pixel wide
// keyboard, the German key rows, the function keys, and the shift swap.
#include <algorithm>

#include "tiles/texteingabe.hpp"

namespace {
int Trunc(double v) { return static_cast<int>(v); }

const FarbArg kZeichenfarbe{48, 47, 55};
const FarbArg kFunktionsfarbe{29, 28, 33};
const FarbArg kBeschriftung{255, 255, 255};
constexpr float kTastendauer = 200;

std::shared_ptr<TTextKachel> Taste(const std::vector<::Text>& lines, const std::vector<TImageFont>& fonts, int x,
                                   int y, int w, int h, const FarbArg& colour) {
    return TTextKachel::bauen(lines, fonts, x, y, 0, 0, 0, 0, w, h, colour, kBeschriftung, 1, kTastendauer);
}

// One character key per character: shifted character small above, the typed one large.
void Zeichenreihe(std::vector<std::shared_ptr<TTextKachel>>& reihe, const ::Text& normal, const ::Text& geshiftet,
                  int x, int y, int k, int P, size_t schmalAb) {
    const std::vector<TImageFont> fonts{Texteingabe::Schrift_klein, Texteingabe::Schrift_gross};
    const int schmal = Trunc(0.975 * k);
    for (size_t i = 0; i < normal.size(); ++i) {
        const bool eng = i >= schmalAb;
        reihe.push_back(Taste({::Text(1, geshiftet[i]), ::Text(1, normal[i])}, fonts, x, y, eng ? schmal : k, k,
                              kZeichenfarbe));
        x = eng ? Trunc(x + 0.975 * k + 10) : x + P;
    }
}
}  // namespace

void Texteingabe::initialisieren() {
    const int W = GraphicsWidth(), H = GraphicsHeight();
    const int KW = std::min(1170, W);
    const int KX = Trunc(0.5 * (W - KW));
    const int P = KW / 13;
    const int k = P - 10;
    const int KY0 = H - (5 * P + 10);
    auto reiheY = [&](int r) { return KY0 + 10 + r * P; };

    Schrift_klein = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", KW * 16 / 1170, kSmoothFont);
    Schrift_gross = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", KW * 36 / 1170, kSmoothFont);
    Symbol_schrift = LoadFontFrom(u"incbin::media/fonts/MySymbolFont.ttf", KW * 48 / 1170, kSmoothFont);
    const std::vector<TImageFont> fFonts{Symbol_schrift, Schrift_klein};

    for (auto& r : Tastenreihe) r.clear();
    shift = 0;

    const int x0 = Trunc(0.5 * (KW - 110 - 13 * k) + KX);
    const int x1 = Trunc(0.5 * (KW - 50 - 13 * k) + KX);
    const int x2 = Trunc(0.5 * (KW - 10 - 13 * k) + KX);
    const int x3 = Trunc(0.5 * (KW - 110 - 13 * k) + KX);
    Zeichenreihe(Tastenreihe[0], u"1234567890ß", u"!\"€$%&/()=?", x0, reiheY(0), k, P, 99);
    Tastenreihe[0].push_back(Taste({u"D"}, fFonts, x0 + 11 * P, reiheY(0), 2 * k, k, kFunktionsfarbe));
    Zeichenreihe(Tastenreihe[1], u"qwertzuiopü", u"QWERTZUIOPÜ", x1, reiheY(1), k, P, 99);
    // Enter reaches down over row 2.
    Tastenreihe[1].push_back(
        Taste({u"B", u"Enter"}, fFonts, x1 + 11 * P + 20, reiheY(1), 2 * k - 50, 2 * k + 10, kFunktionsfarbe));
    Zeichenreihe(Tastenreihe[2], u"asdfghjklöä", u"ASDFGHJKLÖÄ", x2, reiheY(2), k, P, 99);
    // The last five keys of row 3 (",.-+@") are narrower so that 13 keys fit.
    Zeichenreihe(Tastenreihe[3], u"<yxcvbnm,.-+@", u">YXCVBNM;:_*'", x3, reiheY(3), k, P, 8);

    auto& r4 = Tastenreihe[4];
    const int y4 = reiheY(4);
    const int schmal = Trunc(0.8 * k);
    int x = Trunc(0.5 * (KW - 110 - 13 * k) + KX);
    auto kleineTaste = [&](const ::Text& symbol, const ::Text& caption) {
        r4.push_back(Taste({symbol, caption}, fFonts, x, y4, schmal, k, kFunktionsfarbe));
        x = Trunc(x + 0.8 * k + 10);
    };
    auto shiftTaste = [&] {
        r4.push_back(Taste({u"C", u"Shift"}, fFonts, x, y4, 2 * k, k, kFunktionsfarbe));
        x = x + 2 * k + 10;
    };
    kleineTaste(u"L", u"Escape");
    shiftTaste();
    r4.push_back(Taste({u""}, {Schrift_klein, Schrift_gross}, x, y4, Trunc(5.8 * k + 50), k, kZeichenfarbe));
    x = Trunc(x + 5.8 * k + 60);
    shiftTaste();
    kleineTaste(u"E", u"Entf.");
    kleineTaste(u"F", u"Clear");
    kleineTaste(u"G", u"Einfg.");

    // The text strip sits above the keys.
    Tastatur_x = KX;
    Tastatur_Breite = KW;
    Tastatur_y = KY0 - 2 * k;
    Tastatur_Hoehe = 5 * P + 10 + 2 * k;
    SetDrawFont(Schrift_gross);
    Feld_x = KX + k;
    Feld_Breite = KW - 2 * k;
    Zeilenhoehe = TextHeightOf(u"|");
    Feld_y = Trunc(Tastatur_y + k - 0.5 * Zeilenhoehe);
}

void Texteingabe::shift_wechseln() {
    shift = (shift + 1) % 2;
    // The large line always shows the character the key types.
    for (int r = 0; r < 4; ++r) {
        for (int i = 0; i < kZeichentasten[r] && i < static_cast<int>(Tastenreihe[r].size()); ++i) {
            auto& t = Tastenreihe[r][i];
            if (t->Text.size() == 2) t->change({t->Text[1], t->Text[0]}, {}, {}, 1);
        }
    }
}
