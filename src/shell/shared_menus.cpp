// The main menu's tiles, and the order in which all shared menus are built.
#include "shell/shared_menus.hpp"

#include "gradebook/class_menus.hpp"
#include "gradebook/program_state.hpp"

std::shared_ptr<TKombiMenu> Hauptmenue;

namespace {
constexpr int kAbstand = 4;
constexpr float kDauer = 100;
const FarbArg kWeiss{255, 255, 255};
const FarbArg kMenuGrund{16, 16, 16}, kMenuKachel{56, 48, 64};

Text Bild(const char16_t* datei) { return Text(u"incbin::media/images/") + datei; }
}  // namespace

void SetzeSchulformKachel() {
    if (!Hauptmenue || Hauptmenue->Kachel.size() < 5) return;
    const bool g9 = OberstufeAb == 11;
    Hauptmenue->Kachel[4]->change({Bild(g9 ? u"G9-Gymnasium.png" : u"kein-G9-Gymnasium.png"),
                                   Bild(g9 ? u"kein-G8-Gymnasium.png" : u"G8-Gymnasium.png")},
                                  {}, {}, 1);
}

void BaueGemeinsameMenues() {
    BaueNotenmenues();
    const bool g9 = OberstufeAb == 11;
    Hauptmenue = TKombiMenu::bauen(
        3,
        {{u"Externer Backup-Ordner?", u"Neue Klasse erstellen", u"Klasse komplett löschen", u"Info",
          Bild(g9 ? u"G9-Gymnasium.png" : u"kein-G9-Gymnasium.png"), u"Beenden", u"Verschlüsselung",
          u"Schule und Lehrkraft"},
         {Bild(u"Backup-Pfad.png"), Bild(u"Neue Klasse.png"), Bild(u"Klasse entfernen.png"), Bild(u"Info.png"),
          Bild(g9 ? u"kein-G8-Gymnasium.png" : u"G8-Gymnasium.png"), Bild(u"Beenden.png"),
          Bild(u"Verschluesselung.png"), Bild(u"NameAendern.png")}},
        {Schrift16}, 200, 90, kAbstand, kMenuGrund, kMenuKachel, kWeiss, kDauer);

    BaueKlassenmenues();
}
