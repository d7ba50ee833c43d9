// The hint of the first start: with no gradebook yet, the catalogue would show
// only "Optionen", and a new user would not know what to do.
#include "gradebook/program_state.hpp"
#include "shell/catalogue.hpp"

namespace Katalog {
void ErsterStartHinweisZeichnen() {
    static const Text zeilen[] = {
        u"Noch gibt es hier keine Klasse.",
        u"Die erste Klasse legen Sie mit „Optionen“ und „Neue Klasse erstellen“ an.",
        u"Danach können Sie im Befehlsmenü der Klasse (die Kachel oben links)",
        u"eine Namensliste importieren.",
    };
    // In the school-year label's colour and font, below the "Optionen" tile.
    SetColor(80, 0, 160);
    SetDrawFont(Schrift32);
    SetDrawScale(1, 1);
    int y = OptionenKachel ? OptionenKachel->y + OptionenKachel->Tiefe + 48 : Bildschirmhoehe / 3;
    for (const Text& zeile : zeilen) {
        DrawTextAt(zeile, (Bildschirmbreite - TextWidthOf(zeile)) / 2, y);
        y += TextHeightOf(zeile) + 8;
    }
    SetColor(255, 255, 255);
}
}  // namespace Katalog
