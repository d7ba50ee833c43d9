// The seating plan screen: drawing the room and its bar, following presses,
// drags and long presses, and the commands of the four modes.
#include "classscreen/seating_plan_screen.hpp"

#include <algorithm>

#include "classscreen/class_screen_commands.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/column_edit.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/grade_cells.hpp"
#include "gradebook/grade_scale.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/photo_paths.hpp"
#include "gradebook/portrait_cache.hpp"
#include "gradebook/portrait_files.hpp"
#include "gradebook/portrait_preparation.hpp"
#include "gradebook/program_state.hpp"
#include "platform/conversions.hpp"
#include "platform/datetime.hpp"
#include "platform/files.hpp"
#include "platform/pixmap.hpp"
#include "platform/randomness.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"
#include "tiles/user.hpp"

namespace {
const Text kKnopftexte[] = {u"Anordnen", u"Zufällig", u"Anwesenheit", u"Mündlich", u"Zurück"};
constexpr int kNamenshoehe = 24;
const RGBFarbe kGrund{12, 0, 42};
const RGBFarbe kFehlt{255, 40, 40}, kVerspaetet{255, 220, 0}, kEntschuldigt{80, 160, 255};

Text Schluessel(const Schuelername& n) { return n.nachname + u"\n" + n.vornamen; }

void Farbe(const RGBFarbe& c) { SetColor(c[0], c[1], c[2]); }

// The first letters of surname and first name.
Text Initialen(const Schuelername& n) {
    Text t;
    if (!n.vornamen.empty()) t += n.vornamen[0];
    if (!n.nachname.empty()) t += n.nachname[0];
    return t;
}

}  // namespace

std::shared_ptr<TTextMenu> Stundenmenue, Minutenmenue;

namespace {
void MenuesBauen() {
    if (Stundenmenue) return;
    std::vector<Text> stunden;
    for (int i = 1; i <= kHoechsteStunde; ++i) stunden.push_back(TextFromInt(i) + u". Std.");
    Stundenmenue = TTextMenu::bauen(5, {stunden}, {Schrift32}, 120, 80, 4, {16, 16, 16}, {56, 48, 64},
                                    {255, 255, 255}, 100);
    Minutenmenue = TTextMenu::bauen(5, {{u"5", u"10", u"15", u"20+", u""}, {u"Min.", u"Min.", u"Min.", u"Min.", u"?"}},
                                    {Schrift32, Schrift16}, 80, 80, 4, {16, 16, 16}, {56, 48, 64},
                                    {255, 255, 255}, 100);
    Minutenmenue->Tastensuche = 1;
    Minutenmenue->Suchschrift = Schrift16;
    Minutenmenue->Freitextkachel = 4;
}

void Meldung(const std::vector<Text>& zeilen) {
    TInfoBox::bauen(u"Info", {255, 255, 0}, zeilen, {kOkSchalter})->verwenden();
    User::flush();
}
}  // namespace

std::unique_ptr<TSitzplanAnsicht> TSitzplanAnsicht::bauen(TSchulklasse& klasse) {
    auto a = std::make_unique<TSitzplanAnsicht>();
    a->Klasse = &klasse;
    a->U = &UnterrichtLaden(klasse);
    // Students added or removed since the plan was kept take or leave a desk.
    if (a->U->Sitzplan.Abgleichen(SchuelerDerKlasse(klasse)) && a->U->PlanVorhanden) SitzplanSpeichern(klasse);
    MenuesBauen();
    a->Auslegen();
    // The lock takes the portraits away; the next frame reads them again.
    PortraitHalterSetzen(a.get(), [p = a.get()] {
        p->Portraits.clear();
        p->PortraitsGeladen = false;
    });
    return a;
}

TSitzplanAnsicht::~TSitzplanAnsicht() {
    PortraitHalterLoesen(this);
}

Text TSitzplanAnsicht::Heute() const { return DatumVerschieben(CurrentDateText(), 0); }

void TSitzplanAnsicht::Auslegen() {
    const int zusatz = Modus_ == kAnordnen ? 1 : 0;  // room to add a desk beyond the others
    Spalten = std::max(7, U->Sitzplan.Spalten()) + zusatz;
    Reihen = std::max(1, U->Sitzplan.Reihen()) + zusatz;
    Oben = kOben;
    const int breite = Bildschirmbreite - 2 * Rand, hoehe = Bildschirmhoehe - Oben - 60;
    Teilung = std::clamp(std::min(breite / Spalten, hoehe / Reihen), 40, 220);
}

TSitzplanAnsicht::Rechteck TSitzplanAnsicht::Platz(int spalte, int reihe) const {
    // Centred across; row 1 at the bottom, next to the teacher's desk.
    const int links = (Bildschirmbreite - Spalten * Teilung) / 2;
    const int unten = Bildschirmhoehe - 60;
    return {links + (spalte - 1) * Teilung + 4, unten - reihe * Teilung + 4, Teilung - 8, Teilung - 8};
}

bool TSitzplanAnsicht::PlatzUnter(float x, float y, int& spalte, int& reihe) const {
    const int links = (Bildschirmbreite - Spalten * Teilung) / 2;
    const int unten = Bildschirmhoehe - 60;
    if (x < links || y > unten || y < Oben) return false;
    spalte = static_cast<int>((x - links) / Teilung) + 1;
    reihe = static_cast<int>((unten - y) / Teilung) + 1;
    return spalte >= 1 && spalte <= Spalten && reihe >= 1 && reihe <= Reihen;
}

TSitzplanAnsicht::Rechteck TSitzplanAnsicht::Knopfplatz(int knopf) const {
    return {8 + knopf * 208, 8, 200, 72};
}

int TSitzplanAnsicht::Portraitgroesse() {
    // The tile of the plan with the fewest desks (seven across, one row):
    // one size for every layout of this screen, known before the plan is read.
    const int breite = Bildschirmbreite - 2 * kRand, hoehe = Bildschirmhoehe - kOben - 60;
    const int teilung = std::clamp(std::min(breite / 7, hoehe), 40, 220);
    return std::max(16, teilung - 8 - kNamenshoehe);
}

void TSitzplanAnsicht::PortraitsLaden() {
    PortraitsGeladen = true;
    const int groesse = Portraitgroesse();
    // What the class's preparation has not done yet is shared out between
    // this thread and the background one.
    VorbereitungAbschliessen();
    // Kept across openings: a small texture uploads and draws in a fraction
    // of the time of the 360-pixel portrait, and a second opening decodes nothing.
    for (int i = 1; i < Klasse->Schueleranzahl; ++i)
        if (TImage bild = PortraitBild(PortraitDerZeile(*Klasse, i), groesse))
            Portraits[Schluessel(NameInZeile(*Klasse, i))] = bild;
}

void SitzplanVorbereiten(const TSchulklasse& klasse) {
    std::vector<Text> pfade;
    for (int i = 1; i < klasse.Schueleranzahl; ++i) pfade.push_back(PortraitDerZeile(klasse, i));
    PortraitsVorbereiten(std::move(pfade), TSitzplanAnsicht::Portraitgroesse());
}

void TSitzplanAnsicht::TischZeichnen(const Tisch& t, int x, int y, int g, float alpha, bool texte) {
    SetAlpha(alpha);
    const int bild = g - kNamenshoehe;
    if (t.Frei()) {
        if (!texte) {
            SetColor(40, 34, 56);
            DrawRect(x, y, g, g);
        }
        SetAlpha(1);
        return;
    }
    // The frame tells the roll call's state.
    int minuten = 0;
    const Anwesenheit stand = Modus_ == kAnwesenheit && U->Stunde > 0
                                  ? U->Fehlzeiten.Stand(U->Stundendatum, U->Stunde, t.name, &minuten)
                                  : Anwesenheit::anwesend;
    const int zeile = ZeileMitNamen(*Klasse, t.name);
    const RGBFarbe zeilenfarbe = zeile > 0 ? Klasse->Zelle(zeile, 0).RGB : RGBFarbe{84, 72, 96};
    const int r = stand == Anwesenheit::anwesend ? 0 : 6;  // frame width
    const int bx = x + (g - bild) / 2 + r / 2, by = y + r, bg = bild - r;
    auto it = Portraits.find(Schluessel(t.name));
    // The grade of the chosen column small in the corner, the minutes of a late arrival likewise.
    Text ecke;
    RGBFarbe eckfarbe{0, 0, 0};
    if (Modus_ == kMuendlich && Notenspalte > 0 && zeile > 0 && Notenspalte < Klasse->Notenanzahl) {
        const auto& zelle = Klasse->Zelle(zeile, Notenspalte).Text;
        if (!zelle.empty() && !zelle[0].empty()) {
            ecke = zelle[0];
            eckfarbe = Notenfarbe(ecke);
        }
    } else if (stand == Anwesenheit::verspaetet) {
        ecke = TextFromInt(minuten) + u"'";
        eckfarbe = {255, 255, 255};
    }
    SetDrawFont(Schrift16);
    const int eb = ecke.empty() ? 0 : TextWidthOf(ecke) + 10, eh = ecke.empty() ? 0 : TextHeightOf(ecke) + 4;

    if (!texte) {
        // Faces first for all desks, texts after: few texture changes, few draw calls.
        if (stand == Anwesenheit::anwesend) Farbe(zeilenfarbe);
        else Farbe(stand == Anwesenheit::fehlt ? kFehlt : stand == Anwesenheit::verspaetet ? kVerspaetet : kEntschuldigt);
        DrawRect(x, y, g, g);
        if (it != Portraits.end()) {
            SetColor(255, 255, 255);
            SetDrawScale(double(bg) / std::max(1, ImageWidthOf(it->second)),
                         double(bg) / std::max(1, ImageHeightOf(it->second)));
            DrawImageAt(it->second, bx, by);
            SetDrawScale(1, 1);
        } else {
            Farbe(zeilenfarbe);
            DrawRect(bx, by, bg, bg);
        }
        if (!ecke.empty()) {
            SetColor(16, 16, 16);
            DrawRect(x + g - eb - 2, y + 2, eb, eh);
        }
        SetAlpha(1);
        return;
    }
    if (it == Portraits.end()) {
        SetDrawFont(Schrift32);
        SetColor(255, 255, 255);
        const Text ini = Initialen(t.name);
        DrawTextAt(ini, bx + (bg - TextWidthOf(ini)) / 2, by + (bg - TextHeightOf(ini)) / 2);
        SetDrawFont(Schrift16);
    }
    // The first name under the picture, cut to the tile.
    Text name = t.name.vornamen.empty() ? t.name.nachname : t.name.vornamen;
    while (name.size() > 1 && TextWidthOf(name) > g - 4) name.pop_back();
    SetColor(255, 255, 255);
    DrawTextAt(name, x + (g - TextWidthOf(name)) / 2, y + bild + (kNamenshoehe - TextHeightOf(name)) / 2);
    if (!ecke.empty()) {
        Farbe(eckfarbe);
        DrawTextAt(ecke, x + g - eb + 3, y + 4);
    }
    SetAlpha(1);
}

void TSitzplanAnsicht::LeisteZeichnen() {
    SetDrawFont(Schrift16);
    for (int k = 0; k < kKnopfanzahl; ++k) {
        const Rechteck r = Knopfplatz(k);
        const bool aktiv = (k == kKnopfAnordnen && Modus_ == kAnordnen) ||
                           (k == kKnopfAnwesenheit && Modus_ == kAnwesenheit) ||
                           (k == kKnopfMuendlich && Modus_ == kMuendlich);
        if (aktiv) SetColor(120, 100, 160);
        else SetColor(56, 48, 64);
        DrawRect(r.x, r.y, r.b, r.h);
        SetColor(255, 255, 255);
        DrawTextAt(kKnopftexte[k], r.x + (r.b - TextWidthOf(kKnopftexte[k])) / 2,
                   r.y + (r.h - TextHeightOf(kKnopftexte[k])) / 2);
    }
    // What the mode is doing, right of the buttons.
    Text zeile1 = Klasse->Titel[0] + u" " + Klasse->Titel[1] + u": Sitzplan", zeile2;
    if (Modus_ == kAnordnen) {
        zeile2 = u"Schüler auf einen anderen Platz ziehen; leeren Platz antippen: Tisch dazu oder weg";
    } else if (Modus_ == kAnwesenheit) {
        int f = 0, v = 0, e = 0;
        for (const Fehlzeit& z : U->Fehlzeiten.Eintraege)
            if (z.datum == U->Stundendatum && z.stunde == U->Stunde) {
                if (z.art == Anwesenheit::fehlt) ++f;
                else if (z.art == Anwesenheit::verspaetet) ++v;
                else ++e;
            }
        zeile1 = u"Anwesenheit " + U->Stundendatum + u", " + TextFromInt(U->Stunde) + u". Stunde";
        zeile2 = u"fehlt: " + TextFromInt(f) + u"   entschuldigt: " + TextFromInt(e) + u"   verspätet: " +
                 TextFromInt(v) + u"   (Tippen: fehlt/verspätet, lang drücken: entschuldigt)";
    } else if (Modus_ == kMuendlich && Notenspalte > 0) {
        const auto& kopf = Klasse->Zelle(0, Notenspalte).Text;
        zeile1 = u"Noten in " + kopf[0] + (kopf.size() > 2 ? u" " + kopf[2] : Text());
        zeile2 = u"Schüler antippen, dann die Note wählen";
    }
    const int x = Knopfplatz(kKnopfanzahl).x + 16;
    SetColor(255, 255, 255);
    DrawTextAt(zeile1, x, 18);
    SetColor(200, 200, 210);
    DrawTextAt(zeile2, x, 48);
    // The teacher's desk at the front.
    const Text pult = u"Lehrerpult";
    SetColor(56, 48, 64);
    DrawRect(Bildschirmbreite / 2 - 150, Bildschirmhoehe - 48, 300, 40);
    SetColor(255, 255, 255);
    DrawTextAt(pult, (Bildschirmbreite - TextWidthOf(pult)) / 2, Bildschirmhoehe - 48 + (40 - TextHeightOf(pult)) / 2);
}

void TSitzplanAnsicht::anzeigen() {
    if (!PortraitsGeladen) PortraitsLaden();
    // The room's colour as a clear of the window: a rectangle over all of it
    // would cost the software rasteriser a second pass over every pixel.
    int r0 = 0, g0 = 0, b0 = 0;
    GetClsColor(r0, g0, b0);
    SetClsColor(kGrund[0], kGrund[1], kGrund[2]);
    Cls();
    SetClsColor(r0, g0, b0);
    LeisteZeichnen();
    // Free places of the arranging mode, where a desk can be put.
    if (Modus_ == kAnordnen) {
        SetColor(24, 16, 50);
        for (int r = 1; r <= Reihen; ++r)
            for (int s = 1; s <= Spalten; ++s)
                if (!U->Sitzplan.TischBei(s, r)) {
                    const Rechteck p = Platz(s, r);
                    DrawRect(p.x, p.y, p.b, p.h);
                }
    }
    const Tisch* gezogen = nullptr;
    if (Gedrueckt && Modus_ == kAnordnen && DruckKnopf < 0) {
        const Tisch* t = U->Sitzplan.TischBei(DruckSpalte, DruckReihe);
        if (t && !t->Frei() && (std::abs(PointerPosX - ZugX) > 8 || std::abs(PointerPosY - ZugY) > 8)) gezogen = t;
    }
    for (bool texte : {false, true})
        for (const Tisch& t : U->Sitzplan.Tische) {
            if (t.spalte > Spalten || t.reihe > Reihen) continue;
            const Rechteck p = Platz(t.spalte, t.reihe);
            TischZeichnen(t, p.x, p.y, p.b, &t == gezogen ? 0.3f : 1.0f, texte);
        }
    if (gezogen) {
        const Rechteck p = Platz(gezogen->spalte, gezogen->reihe);
        for (bool texte : {false, true})
            TischZeichnen(*gezogen, int(PointerPosX - p.b / 2), int(PointerPosY - p.b / 2), p.b, 0.85f, texte);
    }

    // Input: a press is followed to its release.
    Auftrag_ = kNichts;
    if (BackRequested) {
        Auftrag_ = kZurueck;
        return;
    }
    if (TouchState == 1 && !Gedrueckt) {
        Gedrueckt = true;
        LangGedrueckt = false;
        DruckBeginn = FrameTime;
        ZugX = PointerPosX;
        ZugY = PointerPosY;
        DruckKnopf = -1;
        for (int k = 0; k < kKnopfanzahl; ++k) {
            const Rechteck r = Knopfplatz(k);
            if (PointerPosX >= r.x && PointerPosX < r.x + r.b && PointerPosY >= r.y && PointerPosY < r.y + r.h)
                DruckKnopf = k;
        }
        if (DruckKnopf < 0 && !PlatzUnter(PointerPosX, PointerPosY, DruckSpalte, DruckReihe)) DruckSpalte = 0;
    } else if (Gedrueckt && TouchState == 2) {
        if (Modus_ == kAnwesenheit && DruckKnopf < 0 && DruckSpalte > 0 && !LangGedrueckt &&
            FrameTime - DruckBeginn >= kLangerDruckMs) {
            LangGedrueckt = true;
            Auftrag_ = kLangerDruck;
        }
    } else if (Gedrueckt && (TouchState == 3 || TouchState == 0)) {
        Gedrueckt = false;
        if (DruckKnopf >= 0) {
            const Rechteck r = Knopfplatz(DruckKnopf);
            if (PointerPosX >= r.x && PointerPosX < r.x + r.b && PointerPosY >= r.y && PointerPosY < r.y + r.h) {
                Auftrag_ = kKnopfAuftrag;
                AuftragKnopf = DruckKnopf;
            }
        } else if (DruckSpalte > 0 && !LangGedrueckt) {
            int s = 0, r = 0;
            const bool drauf = PlatzUnter(PointerPosX, PointerPosY, s, r);
            if (drauf && s == DruckSpalte && r == DruckReihe) {
                Auftrag_ = kTippen;
            } else if (drauf && Modus_ == kAnordnen) {
                Auftrag_ = kZiehen;
                ZielSpalte = s;
                ZielReihe = r;
            }
        }
    }
}

void TSitzplanAnsicht::PlanGeaendert() {
    SitzplanSpeichern(*Klasse);
    Auslegen();
}

bool TSitzplanAnsicht::StundeWaehlen() {
    const Text heute = Heute();
    if (U->Stundendatum == heute && U->Stunde > 0) return true;
    Stundenmenue->einblenden((Bildschirmbreite - Stundenmenue->Breite) / 2, 100, int(PointerPosX), int(PointerPosY),
                             nullptr, kPositionBehalten, kPositionBehalten);
    if (Stundenmenue->verwenden() != u"1") return false;
    U->Stundendatum = heute;
    U->Stunde = Stundenmenue->Auswahl_Kachelindex + 1;
    return true;
}

bool TSitzplanAnsicht::SpalteWaehlen() {
    TSchulklasse& k = *Klasse;
    const Text heute = Heute();
    // Today's "Mündl." column first (made when chosen), then the other grade columns, newest first.
    std::vector<int> spalten;
    int heutige = 0;
    for (int j = k.Notenanzahl - 1; j >= 1; --j) {
        if (IstDurchschnittsspalte(k, j) || IstZeugnisspalte(k, j)) continue;
        const auto& t = k.Zelle(0, j).Text;
        if (!heutige && t.size() > 2 && t[0] == u"Mündl." && t[2] == heute) heutige = j;
        else if (spalten.size() < 14) spalten.push_back(j);
    }
    std::vector<Text> oben{u"Mündl."}, unten{heutige ? heute : Text(u"heute, neu")};
    for (int j : spalten) {
        const auto& t = k.Zelle(0, j).Text;
        oben.push_back(t.empty() ? Text() : t[0]);
        unten.push_back(t.size() > 2 ? t[2] : Text());
    }
    Spaltenwahl = TTextMenu::bauen(5, {oben, unten}, {Schrift16, Schrift16}, 110, 70, 4, {16, 16, 16},
                                   {56, 48, 64}, {255, 255, 255}, 100);
    TTextMenu* menue = Spaltenwahl.get();
    for (size_t i = 0; i < oben.size(); ++i) menue->individualisiere_RGBs(int(i), [&] {
        const auto c = Typfarbe(oben[i]);
        return FarbArg{c[0], c[1], c[2]};
    }(), {});
    menue->einblenden(Knopfplatz(kKnopfMuendlich).x, 88, int(PointerPosX), int(PointerPosY), nullptr,
                      kPositionBehalten, kPositionBehalten);
    if (menue->verwenden() != u"1") return false;
    const int wahl = menue->Auswahl_Kachelindex;
    if (wahl > 0) {
        Notenspalte = spalten[size_t(wahl - 1)];
        return true;
    }
    if (!heutige) {
        const Text typ = u"Mündl.";
        SpalteAnhaengen(k, {typ, Typsymbol(typ), heute}, Typfarbe(typ));
        heutige = k.Notenanzahl - 1;
        // A half-year whose average group closes the grid counts today's grades:
        // the new column goes in front of that group.
        const std::vector<Text> typen = Spaltentypen(k);
        if (heutige > 3 && IstGesamtdurchschnitt(typen[size_t(heutige - 1)]))
            if (const auto v = LinksBereich(typen, heutige)) {
                SpaltenNachLinks(k, *v);
                heutige = v->uebersprungen.erste;
            }
        k.Durchschnittsnotenberechnung(-1);
        k.OrganisiereOffsetGrenzen(-1, heutige);
        k.AenderungVermerken();
    }
    Notenspalte = heutige;
    return true;
}

void TSitzplanAnsicht::Verspaetung(const Schuelername& name) {
    Minutenmenue->einblenden(int(PointerPosX) - Minutenmenue->Breite / 2, int(PointerPosY) - Minutenmenue->Tiefe / 2,
                             int(PointerPosX), int(PointerPosY), nullptr, kPositionBehalten, kPositionBehalten);
    int minuten = 0;
    if (Minutenmenue->verwenden() == u"1") {
        const int i = Minutenmenue->Auswahl_Kachelindex;
        if (i < 4) {
            minuten = (i + 1) * 5;
        } else {
            Texteingabe::starten(1, Minutenmenue->Freitext, 1, -1, -1, 0);
            if (Texteingabe::verwenden(0) == 1) {
                const long long m = ZahlfeldLesen(Trim(Texteingabe::Eingabetext));
                if (m >= 1 && m <= kHoechsteVerspaetung) minuten = static_cast<int>(m);
                else Meldung({u"Bitte geben Sie die Verspätung", u"in Minuten an (1 bis 600)."});
            }
        }
    }
    User::flush();
    // Without minutes the student stays marked as absent.
    if (minuten > 0) U->Fehlzeiten.Setzen(U->Stundendatum, U->Stunde, name, Anwesenheit::verspaetet, minuten);
    else U->Fehlzeiten.Setzen(U->Stundendatum, U->Stunde, name, Anwesenheit::fehlt);
    FehlzeitenSpeichern(*Klasse);
}

void TSitzplanAnsicht::Tippen(int spalte, int reihe) {
    Tisch* t = U->Sitzplan.TischBei(spalte, reihe);
    switch (Modus_) {
        case kAnordnen:
            if (!t) {
                if (U->Sitzplan.TischHinzufuegen(spalte, reihe)) PlanGeaendert();
            } else if (t->Frei()) {
                if (U->Sitzplan.TischEntfernen(spalte, reihe)) PlanGeaendert();
            }
            break;
        case kAnwesenheit: {
            if (!t || t->Frei()) break;
            const Anwesenheit neu = NachTippen(U->Fehlzeiten.Stand(U->Stundendatum, U->Stunde, t->name));
            if (neu == Anwesenheit::verspaetet) {
                Verspaetung(t->name);
            } else {
                U->Fehlzeiten.Setzen(U->Stundendatum, U->Stunde, t->name, neu);
                FehlzeitenSpeichern(*Klasse);
            }
            break;
        }
        case kMuendlich: NoteGeben(spalte, reihe); break;
        default: break;
    }
}

void TSitzplanAnsicht::LangDruecken(int spalte, int reihe) {
    const Tisch* t = U->Sitzplan.TischBei(spalte, reihe);
    if (!t || t->Frei()) return;
    const Anwesenheit neu = NachLangemDruck(U->Fehlzeiten.Stand(U->Stundendatum, U->Stunde, t->name));
    U->Fehlzeiten.Setzen(U->Stundendatum, U->Stunde, t->name, neu);
    FehlzeitenSpeichern(*Klasse);
}

void TSitzplanAnsicht::NoteGeben(int spalte, int reihe) {
    const Tisch* t = U->Sitzplan.TischBei(spalte, reihe);
    if (!t || t->Frei() || Notenspalte < 1 || Notenspalte >= Klasse->Notenanzahl) return;
    const int zeile = ZeileMitNamen(*Klasse, t->name);
    if (zeile < 1) return;
    TTextMenu& menue = *Notenmenue[Notenskala == 1 ? 1 : 0];
    // Beside the student's tile: right of it, or left when there is no room.
    const Rechteck p = Platz(spalte, reihe);
    int x = p.x + p.b + 8;
    if (x + menue.Breite > Bildschirmbreite) x = p.x - 8 - menue.Breite;
    const int y = std::clamp(p.y + p.h / 2 - menue.Tiefe / 2, 0, std::max(0, Bildschirmhoehe - menue.Tiefe));
    // It flies in from its own edge nearest the tile: drawn over the plan's
    // last picture, a flight from outside the panel would leave its trail.
    const int vonX = std::clamp(p.x + p.b / 2, x, x + menue.Breite);
    const int vonY = std::clamp(p.y + p.h / 2, y, y + menue.Tiefe);
    menue.einblenden(x, y, vonX, vonY, nullptr, kPositionBehalten, kPositionBehalten);
    if (menue.verwenden() == u"1" && MenuewahlEintragen(*Klasse, zeile, Notenspalte, menue)) Klasse->AenderungVermerken();
    User::flush();
}

int TSitzplanAnsicht::verwalten() {
    const Auftrag auftrag = Auftrag_;
    Auftrag_ = kNichts;
    switch (auftrag) {
        case kZurueck: return 1;
        case kTippen: Tippen(DruckSpalte, DruckReihe); break;
        case kLangerDruck: LangDruecken(DruckSpalte, DruckReihe); break;
        case kZiehen: {
            const Tisch* t = U->Sitzplan.TischBei(DruckSpalte, DruckReihe);
            if (t && !t->Frei() && U->Sitzplan.Verschieben(Schuelername(t->name), ZielSpalte, ZielReihe)) PlanGeaendert();
            break;
        }
        case kKnopfAuftrag:
            switch (AuftragKnopf) {
                case kKnopfAnordnen: Modus_ = Modus_ == kAnordnen ? kAnsicht : kAnordnen; Auslegen(); break;
                case kKnopfZufaellig:
                    if (TInfoBox::bauen(u"Warnung", {255, 255, 0},
                                        {u"Sollen alle Schüler zufällig", u"neu gesetzt werden?"},
                                        {u"Ja, das ist OK", u"  Nein  "})
                            ->verwenden() == u"Ja, das ist OK") {
                        U->Sitzplan.Mischen([](int n) { return RandomInt(0, n - 1); });
                        PlanGeaendert();
                    }
                    User::flush();
                    break;
                case kKnopfAnwesenheit:
                    if (Modus_ == kAnwesenheit) Modus_ = kAnsicht;
                    else if (StundeWaehlen()) Modus_ = kAnwesenheit;
                    Auslegen();
                    User::flush();
                    break;
                case kKnopfMuendlich:
                    if (Modus_ == kMuendlich) Modus_ = kAnsicht;
                    else if (Notenspalte > 0 || SpalteWaehlen()) Modus_ = kMuendlich;
                    Auslegen();
                    User::flush();
                    break;
                case kKnopfZurueck: return 1;
                default: break;
            }
            break;
        default: break;
    }
    return 0;
}

int SitzplanZeigen(TSchulklasse& klasse, bool anwesenheit) {
    auto ansicht = TSitzplanAnsicht::bauen(klasse);
    User::flush();
    if (anwesenheit && ansicht->StundeWaehlen()) {
        ansicht->Modus_ = TSitzplanAnsicht::kAnwesenheit;
        User::flush();
    }
    for (;;) {
        Cls();
        User::update();
        ansicht->anzeigen();
        FrameEnd();
        if (ansicht->verwalten() == 1) break;
    }
    // Escape ends only this screen, not the program.
    User::flush();
    BackRequested = 0;
    klasse.OrganisiereOffsetGrenzen(-1, -1);
    return 0;
}
