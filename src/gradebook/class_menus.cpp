// Texts, images, fonts and colours of the menus of grade entry and of the
// class screen, tile by tile; the tile order is binding: choices are
// identified by tile index.
#include "gradebook/class_menus.hpp"

#include "gradebook/grade_scale.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/program_state.hpp"

std::shared_ptr<TTextMenu> Notenmenue[2];
std::shared_ptr<TKombiMenu> Klassenmenue;
std::shared_ptr<TKombiMenu> Spaltentypmenue;
std::shared_ptr<TKombiMenu> Typwechselmenue;
std::shared_ptr<TKombiMenu> Schuelermenue;
std::shared_ptr<TKombiMenu> Spaltenmenue;
std::shared_ptr<TTextMenu> Bogenmenue;

namespace {
constexpr int kAbstand = 4;
constexpr float kDauer = 100;
const FarbArg kWeiss{255, 255, 255};
const FarbArg kDunkel{24, 24, 24}, kKachelDunkel{48, 48, 48};
const FarbArg kMenuGrund{16, 16, 16}, kMenuKachel{56, 48, 64};

Text Bild(const char16_t* datei) { return Text(u"incbin::media/images/") + datei; }

FarbArg Arg(const std::array<int, 3>& c) { return {c[0], c[1], c[2]}; }

std::shared_ptr<TTextMenu> Notenmenu(const std::vector<Text>& noten) {
    std::vector<Text> zweite(noten.size(), Text());
    zweite.back().assign(1, u'?');  // the "?" tile (assign: GCC 12 warns falsely on = here)
    auto m = TTextMenu::bauen(3, {noten, zweite}, {Schrift32, Symbolschrift}, 60, 60, kAbstand, kDunkel, kKachelDunkel,
                              kWeiss, kDauer);
    for (int i = 0; i < static_cast<int>(noten.size()); ++i) m->individualisiere_RGBs(i, {}, Arg(Notenfarbe(noten[i])));
    // Grades can be typed: "2-" then Enter; a text that is no tile's goes to the "?" tile.
    m->Tastensuche = 1;
    m->Suchschrift = Schrift16;
    m->Freitextkachel = static_cast<int>(noten.size()) - 1;
    return m;
}

void TypfarbenSetzen(TKombiMenu& m) {
    for (int i = 0; i < static_cast<int>(m.Kachel.size()); ++i)
        m.individualisiere_RGBs(i, Arg(Typfarbe(m.Kachel[i]->Text[0])), {});
}
}  // namespace

void BaueNotenmenues() {
    Notenskala = 1;
    Notenmenue[1] = Notenmenu({u"15", u"14", u"13", u"12", u"11", u"10", u"9", u"8", u"7", u"6", u"5", u"4", u"3",
                               u"2", u"1", u"n.f.", u"0", u""});
    Notenskala = 0;
    Notenmenue[0] = Notenmenu({u"1+", u"1", u"1-", u"2+", u"2", u"2-", u"3+", u"3", u"3-", u"4+", u"4", u"4-", u"5+",
                               u"5", u"5-", u"n.f.", u"6", u""});
}

void BaueKlassenmenues() {
    Klassenmenue = TKombiMenu::bauen(
        2,
        {{Bild(u"Klassenuebersicht.png"), Bild(u"Beenden.png"), Bild(u"Neue Schuelerzeile.png"),
          Bild(u"Neue Notenzeile.png"), Bild(u"Bilder importieren.png"), Bild(u"Einzelanzeigemodus.png"),
          Bild(u"Namensliste importieren.png"), Bild(u"Exportieren.png"), Bild(u"zurueck zu Backup.png"),
          Bild(u"Leer duplizieren.png"), Bild(u"Klassenliste drucken.png"), Bild(u"Leere Liste drucken.png"),
          Bild(u"Sitzplan.png"), Bild(u"Anwesenheit.png"), Bild(u"Rueckgaengig.png")},
         {u"Zur Klassenübersicht", u"Kladdorix schließen", u"Neue Schülerzeile", u"Neue Notenspalte",
          u"Bilder importieren", u"Einzel-Anzeige-Modus", u"Namensliste importieren", u"Exportieren",
          u"Zurück zu Backup", u"Klasse leer duplizieren", u"Klassenliste drucken", u"Leere Liste drucken",
          u"Sitzplan", u"Anwesenheit", u"Rückgängig"}},
        {Schrift16, Schrift16}, 200, 90, kAbstand, kMenuGrund, kMenuKachel, kWeiss, kDauer);

    Spaltentypmenue = TKombiMenu::bauen(
        4,
        {{u"Arbeit", u"10h-Test", u"HÜ", u"Test", u"Mündl.", u"Abfrage", u"Gruppen.", u"HA.", u"Referat", u"Präsent.",
          u"Vortrag", u"Heft", u"", u"NebenF.", u"HauptF.", u"Zeugnis"},
         {Bild(u"Arbeit.png"), Bild(u"10h-Test.png"), Bild(u"HUe.png"), Bild(u"Test.png"), Bild(u"Muendl.png"),
          Bild(u"Abfrage.png"), Bild(u"Gruppen.png"), Bild(u"HA.png"), Bild(u"Referat.png"),
          Bild(u"Praesentation.png"), Bild(u"Vortrag.png"), Bild(u"Heft.png"), Bild(u"Fragezeichen.png"),
          Bild(u"Durchschnitt.png"), Bild(u"Durchschnitt.png"), Bild(u"Zeugnis.png")}},
        {Schrift16, Symbolschrift}, 90, 90, kAbstand, kDunkel, kKachelDunkel, kWeiss, kDauer);
    TypfarbenSetzen(*Spaltentypmenue);

    Typwechselmenue = TKombiMenu::bauen(
        7,
        {{u"Arbeit", u"10h-Test", u"HÜ", u"Test", u"Mündl.", u"Abfrage", u"Gruppen.", u"HA.", u"Heft", u"Referat",
          u"Präsent.", u"Vortrag", u"", u"Zeugnis"},
         {Bild(u"Arbeit.png"), Bild(u"10h-Test.png"), Bild(u"HUe.png"), Bild(u"Test.png"), Bild(u"Muendl.png"),
          Bild(u"Abfrage.png"), Bild(u"Gruppen.png"), Bild(u"HA.png"), Bild(u"Heft.png"), Bild(u"Referat.png"),
          Bild(u"Praesentation.png"), Bild(u"Vortrag.png"), Bild(u"Fragezeichen.png"), Bild(u"Zeugnis.png")}},
        {Schrift16}, 76, 95, kAbstand, kDunkel, kKachelDunkel, kWeiss, kDauer);
    TypfarbenSetzen(*Typwechselmenue);

    Schuelermenue = TKombiMenu::bauen(
        2,
        {{Bild(u"NameAendern.png"), Bild(u"ZeileLoeschen.png"), Bild(u"Telefon.png"), Bild(u"Infos.png"),
          Bild(u"VergesseneHA.png"), Bild(u"BildAendern.png"), Bild(u"BildRechtsDrehen.png"),
          Bild(u"BildLinksDrehen.png"), Bild(u"Schuelerbogen.png"), Bild(u"Fehlzeiten.png")},
         {u"Name ändern", u"Komplett löschen", u"Telefonnummer?", u"Notizen?", u"? vergessene Hausaufg.",
          u"Bild ändern", u"Bild rechts drehen", u"Bild links drehen", u"Schülerbogen", u"Fehlzeiten"}},
        {Schrift16, Schrift16}, 228, 85, kAbstand, kDunkel, kKachelDunkel, kWeiss, kDauer);

    Spaltenmenue = TKombiMenu::bauen(
        2,
        {{Bild(u"AndererTyp.png"), Bild(u"SpalteLoeschen.png"), Bild(u"NachLinksRuecken.png"),
          Bild(u"Datum aendern.png"), Bild(u"Notenspiegel.png"), Bild(u"NotenEintragen.png")},
         {u"Typ ändern", u"Komplett löschen", u"Nach Links rücken", u"Datum ändern", u"Notenspiegel",
          u"Noten eintragen"}},
        {Schrift16, Schrift16}, 152, 101, kAbstand, kDunkel, kKachelDunkel, kWeiss, kDauer);

    // Keys work too: the arrows move the mark, Enter takes the marked tile.
    Bogenmenue = TTextMenu::bauen(1, {{u"Für Eltern", u"Vollständig"},
                                      {u"ohne Notizen und Telefon", u"mit Notizen und Telefon"}},
                                  {Schrift32, Schrift16}, 260, 80, kAbstand, kDunkel, kKachelDunkel, kWeiss, kDauer);
    Bogenmenue->Tastensuche = 1;
    Bogenmenue->Suchschrift = Schrift16;
}
