// The single-row display switch ("Einzel-Anzeige-Modus" / "Alle Schüler
// anzeigen") and tile 5 of the class command menu, which always offers the
// opposite of the current mode.
#include "classscreen/class_commands.hpp"
#include "gradebook/class_menus.hpp"
#include "tiles/offset.hpp"

namespace {
// Height of the corner tile: rows whose top is scrolled above it lie beneath the header band.
constexpr int kKopfkachelHoehe = 114;

bool EinzelanzeigeAn(const TSchulklasse& k) {
    return k.ZeileEinzelnAnzeigen > 0 && k.ZeileEinzelnAnzeigen < k.Schueleranzahl;
}
}  // namespace

void EinzelanzeigeKachelBeschriften(const TSchulklasse& klasse) {
    if (!Klassenmenue || Klassenmenue->Kachel.size() <= static_cast<size_t>(kEinzelanzeige)) return;
    TKachel& kachel = *Klassenmenue->Kachel[kEinzelanzeige];
    const ::Text beschriftung = kachel.Text.size() > 1 ? kachel.Text[1] : ::Text();
    if (EinzelanzeigeAn(klasse)) {
        if (beschriftung != u"Alle Schüler anzeigen")
            kachel.change({u"incbin::media/images/KeinEinzelanzeigemodus.png", u"Alle Schüler anzeigen"}, {}, {}, 1);
    } else if (beschriftung != u"Einzel-Anzeige-Modus") {
        kachel.change({u"incbin::media/images/Einzelanzeigemodus.png", u"Einzel-Anzeige-Modus"}, {}, {}, 1);
    }
}

void EinzelanzeigeUmschalten(TSchulklasse& klasse) {
    if (EinzelanzeigeAn(klasse)) {
        klasse.ZeileEinzelnAnzeigen = 0;
        return;
    }
    int zeile = 1;
    for (int i = 1; i < klasse.Schueleranzahl; ++i) {
        if (klasse.Zelle(i, 0).y + Offset::ScrollY >= kKopfkachelHoehe) {
            zeile = i;
            break;
        }
    }
    klasse.ZeileEinzelnAnzeigen = zeile;
}
