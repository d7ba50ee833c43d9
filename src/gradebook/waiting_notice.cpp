// The waiting notice: three nested rectangles and three centred lines in the
// 32-pixel font. The panel is one line taller than the two lines of the
// request need, for the count below them.
#include "gradebook/waiting_notice.hpp"

#include "gradebook/program_state.hpp"
#include "platform/conversions.hpp"
#include "platform/graphics.hpp"

void WartehinweisZeigen(int fertig, int gesamt, const Text& was) {
    SetDrawFont(Schrift32);
    SetDrawScale(1, 1);
    SetAlpha(1);
    const Text zeile1 = u"Bitte warten Sie einen Moment:";
    const Text& zeile2 = was;
    const Text zaehler = TextFromInt(fertig) + u" von " + TextFromInt(gesamt);
    const double t = TextWidthOf(zeile2);
    const double h = TextHeightOf(u"|");
    const double W = Bildschirmbreite, H = Bildschirmhoehe;
    SetColor(12, 0, 42);
    DrawRect(0.5 * (W - t) - 4 - h, 0.5 * H - 4 - 2 * h, t + 8 + 2 * h, 5 * h + 8);
    SetColor(255, 255, 255);
    DrawRect(0.5 * (W - t) - 1 - h, 0.5 * H - 1 - 2 * h, t + 2 + 2 * h, 5 * h + 2);
    SetColor(12, 0, 42);
    DrawRect(0.5 * (W - t) - h, 0.5 * H - 2 * h, t + 2 * h, 5 * h);
    SetColor(255, 255, 255);
    DrawTextAt(zeile1, 0.5 * (W - TextWidthOf(zeile1)), 0.5 * H - h);
    DrawTextAt(zeile2, 0.5 * (W - t), 0.5 * H);
    DrawTextAt(zaehler, 0.5 * (W - TextWidthOf(zaehler)), 0.5 * H + h);
    Flip(0);
}
