// The seating plan: the default arrangement, a drag on the screen swapping
// two students, shuffling, students added and removed later, its file, and
// the roll call and oral grades tapped on the plan.
#include <functional>
#include <set>

#include "class_edit_fixture.hpp"
#include "classscreen/seating_plan_screen.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/portrait_cache.hpp"
#include "gradebook/portrait_files.hpp"
#include "gradebook/portrait_preparation.hpp"
#include "platform/files.hpp"
#include "platform/pixmap.hpp"
#include "platform/conversions.hpp"
#include "platform/datetime.hpp"

namespace fs = std::filesystem;

namespace {
Schuelername N(const char16_t* nach, const char16_t* vor) { return {nach, vor}; }

class SeatingPlan : public ClassEditTest {
protected:
    // A class of n students "S01".."Snn", first names "Vnn", saved once.
    std::shared_ptr<TSchulklasse> Klasse(int n, const std::vector<Text>& typen = {u"Arbeit"}) {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        for (const Text& t : typen) Spalte(*k, t, u"01.10.26");
        for (int i = 1; i <= n; ++i) {
            const Text nr = Text(i < 10 ? u"0" : u"") + TextFromInt(i);
            Schueler(*k, u"S" + nr, u"V" + nr);
        }
        k->NachNamenSortieren(0);
        Ruhen(*k);
        return k;
    }
    // One frame of the plan screen; true when it was left.
    bool Bild(TSitzplanAnsicht& a) {
        User::update();
        a.anzeigen();
        FrameEnd();
        return a.verwalten() == 1;
    }
    void Laufen(TSitzplanAnsicht& a, int frames) {
        for (int i = 0; i < frames; ++i) Bild(a);
    }
    // Press at one desk, move, release at another (or the same: a tap), held `ms` long.
    void Geste(TSitzplanAnsicht& a, int s1, int r1, int s2, int r2, int halteFrames = 1) {
        const auto p = a.Platz(s1, r1), q = a.Platz(s2, r2);
        const float x1 = p.x + p.b / 2.0f, y1 = p.y + p.h / 2.0f, x2 = q.x + q.b / 2.0f, y2 = q.y + q.h / 2.0f;
        Laufen(a, 1);  // a touch just ended is taken up a frame later
        Press(Frame(0), x1, y1);
        Move(Frame(1), (x1 + x2) / 2, (y1 + y2) / 2);
        Move(Frame(1 + halteFrames), x2, y2);
        Release(Frame(2 + halteFrames), x2, y2);
        Laufen(a, halteFrames + 5);
    }
    void Knopf(TSitzplanAnsicht& a, int k) {
        const auto r = a.Knopfplatz(k);
        Press(Frame(0), r.x + 20.0f, r.y + 20.0f);
        Release(Frame(2), r.x + 20.0f, r.y + 20.0f);
        Laufen(a, 3);
    }
    static Text Heute() { return DatumVerschieben(CurrentDateText(), 0); }
};
}  // namespace

TEST_F(SeatingPlan, DefaultPlanSeatsTheClassInNameOrderInRowsOfSixWithAnAisle) {
    std::vector<Schuelername> s;
    for (int i = 0; i < 8; ++i) s.push_back({Text(1, char16_t(u'A' + i)), u"x"});
    const TSitzplan p = TSitzplan::Standard(s);
    const int erwartet[8][2] = {{1, 1}, {2, 1}, {3, 1}, {5, 1}, {6, 1}, {7, 1}, {1, 2}, {2, 2}};
    ASSERT_EQ(p.Tische.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(p.Tische[i].name, s[i]);
        EXPECT_EQ(p.Tische[i].spalte, erwartet[i][0]) << i;
        EXPECT_EQ(p.Tische[i].reihe, erwartet[i][1]) << i;
    }
    EXPECT_EQ(p.Spalten(), 7);
    EXPECT_EQ(p.Reihen(), 2);
}

TEST_F(SeatingPlan, FileLinesDoubleSemicolonsAndReadBack) {
    TSitzplan p;
    p.Tische = {{N(u"Ölz;er", u"Anna"), 2, 1}, {{}, 4, 1}, {N(u"Berg", u""), 1, 3}};
    const std::string b = p.Bytes();
    EXPECT_EQ(b, "\xD6lz;;er;Anna;2;1\r\n;;4;1\r\nBerg;;1;3\r\n");
    const Planlesung l = SitzplanAusBytes(b, {N(u"Ölz;er", u"Anna"), N(u"Berg", u"")});
    ASSERT_TRUE(l.plan) << Utf8FromText(l.fehler);
    EXPECT_EQ(l.plan->Bytes(), b);
}

TEST_F(SeatingPlan, ShufflingKeepsEveryStudentOnceAndEveryDesk) {
    std::vector<Schuelername> s;
    for (int i = 0; i < 29; ++i) s.push_back({u"N" + TextFromInt(i), u"v"});
    TSitzplan p = TSitzplan::Standard(s);
    p.TischHinzufuegen(9, 9);
    std::set<std::pair<int, int>> plaetze;
    for (const Tisch& t : p.Tische) plaetze.insert({t.spalte, t.reihe});
    for (unsigned saat : {1u, 7u, 12345u}) {
        TSitzplan q = p;
        unsigned z = saat;
        q.Mischen([&](int n) {
            z = z * 1103515245u + 12345u;
            return int((z >> 16) % unsigned(n));
        });
        std::multiset<Text> namen;
        std::set<std::pair<int, int>> nachher;
        for (const Tisch& t : q.Tische) {
            nachher.insert({t.spalte, t.reihe});
            if (!t.Frei()) namen.insert(t.name.nachname);
        }
        EXPECT_EQ(nachher, plaetze);
        ASSERT_EQ(namen.size(), s.size());
        for (const Schuelername& n : s) EXPECT_EQ(namen.count(n.nachname), 1u) << Utf8FromText(n.nachname);
        EXPECT_NE(q, p) << saat;
    }
}

TEST_F(SeatingPlan, StudentsAddedOrRemovedLaterTakeOrLeaveADesk) {
    std::vector<Schuelername> s{N(u"A", u"a"), N(u"B", u"b"), N(u"C", u"c")};
    TSitzplan p = TSitzplan::Standard(s);  // (1,1) (2,1) (3,1)
    p.TischHinzufuegen(2, 2);
    p.Verschieben(N(u"C", u"c"), 6, 1);    // (3,1) stays as an empty desk
    struct Fall { std::vector<Schuelername> klasse; std::vector<std::tuple<Text, int, int>> erwartet; };
    // The front empty desk first, then the next row's, then a new desk in the last row.
    const Fall faelle[] = {
        {{N(u"A", u"a"), N(u"B", u"b"), N(u"C", u"c"), N(u"D", u"d")}, {{u"D", 3, 1}}},
        {{N(u"A", u"a"), N(u"B", u"b"), N(u"C", u"c"), N(u"D", u"d"), N(u"E", u"e")}, {{u"D", 3, 1}, {u"E", 2, 2}}},
        {{N(u"A", u"a"), N(u"C", u"c"), N(u"D", u"d"), N(u"E", u"e"), N(u"F", u"f")},
         {{u"D", 2, 1}, {u"E", 3, 1}, {u"F", 2, 2}}},
    };
    for (const Fall& f : faelle) {
        TSitzplan q = p;
        EXPECT_TRUE(q.Abgleichen(f.klasse));
        for (const auto& [name, spalte, reihe] : f.erwartet) {
            const Tisch* t = q.TischBei(spalte, reihe);
            ASSERT_TRUE(t) << Utf8FromText(name);
            EXPECT_EQ(t->name.nachname, name);
        }
        int sitzend = 0;
        for (const Tisch& t : q.Tische) sitzend += !t.Frei();
        EXPECT_EQ(sitzend, int(f.klasse.size()));
        EXPECT_FALSE(q.Abgleichen(f.klasse));  // in line now
    }
    // No free desk left: a new one beside the last row's.
    TSitzplan voll = TSitzplan::Standard(s);
    voll.Abgleichen({N(u"A", u"a"), N(u"B", u"b"), N(u"C", u"c"), N(u"D", u"d")});
    EXPECT_EQ(voll.TischVon(N(u"D", u"d"))->spalte, 4);
}

TEST_F(SeatingPlan, DragOnTheScreenSwapsTwoStudentsAndKeepsThePlanFile) {
    auto k = Klasse(8);
    auto a = TSitzplanAnsicht::bauen(*k);
    EXPECT_FALSE(fs::exists("Noten/7a/7a Mathe.sitzplan"));  // the default plan is not written until changed
    Laufen(*a, 2);
    // Not arranging: a drag changes nothing.
    Geste(*a, 1, 1, 2, 1, 4);
    EXPECT_EQ(UnterrichtLaden(*k).Sitzplan.TischBei(1, 1)->name, N(u"S01", u"V01"));
    Knopf(*a, TSitzplanAnsicht::kKnopfAnordnen);
    ASSERT_EQ(a->Modus_, TSitzplanAnsicht::kAnordnen);
    Geste(*a, 1, 1, 6, 1, 4);  // S01 onto S05's desk
    const TSitzplan& p = UnterrichtLaden(*k).Sitzplan;
    EXPECT_EQ(p.TischBei(6, 1)->name, N(u"S01", u"V01"));
    EXPECT_EQ(p.TischBei(1, 1)->name, N(u"S05", u"V05"));
    Geste(*a, 2, 2, 4, 3, 4);  // S08 to a place without a desk: its old desk stays empty
    EXPECT_EQ(p.TischBei(4, 3)->name, N(u"S08", u"V08"));
    EXPECT_TRUE(p.TischBei(2, 2)->Frei());
    Geste(*a, 2, 2, 2, 2);  // tapping the empty desk removes it
    EXPECT_EQ(p.TischBei(2, 2), nullptr);
    Geste(*a, 7, 3, 7, 3);  // tapping a free place puts a desk there
    ASSERT_TRUE(p.TischBei(7, 3));
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.sitzplan"),
              "S05;V05;1;1\r\nS02;V02;2;1\r\nS03;V03;3;1\r\nS04;V04;5;1\r\nS01;V01;6;1\r\nS06;V06;7;1\r\n"
              "S07;V07;1;2\r\nS08;V08;4;3\r\n;;7;3\r\n");
    // Escape leaves the screen.
    KeyTap(Frame(0), 27);
    bool verlassen = false;
    for (int i = 0; i < 4 && !verlassen; ++i) verlassen = Bild(*a);
    EXPECT_TRUE(verlassen);
}

TEST_F(SeatingPlan, RollCallTapCyclesAndALongPressExcuses) {
    const Anwesenheit A = Anwesenheit::anwesend, F = Anwesenheit::fehlt, E = Anwesenheit::entschuldigt,
                      V = Anwesenheit::verspaetet;
    const Anwesenheit tippen[][2] = {{A, F}, {F, V}, {V, A}, {E, V}};
    for (const auto& t : tippen) EXPECT_EQ(NachTippen(t[0]), t[1]);
    const Anwesenheit lang[][2] = {{A, E}, {F, E}, {E, F}, {V, E}};
    for (const auto& t : lang) EXPECT_EQ(NachLangemDruck(t[0]), t[1]);

    auto k = Klasse(4);
    auto a = TSitzplanAnsicht::bauen(*k);
    Laufen(*a, 2);
    Neu().Kachel(Stundenmenue, 2);  // the third lesson
    skript->Starten();
    Knopf(*a, TSitzplanAnsicht::kKnopfAnwesenheit);
    EXPECT_TRUE(skript->Fertig());
    ASSERT_EQ(a->Modus_, TSitzplanAnsicht::kAnwesenheit);
    Geste(*a, 1, 1, 1, 1);      // S01 absent
    Geste(*a, 2, 1, 2, 1, 35);  // S02 held 0.7 s: excused
    Geste(*a, 3, 1, 3, 1);      // S03 absent, then late by ten minutes
    Neu().Kachel(Minutenmenue, 1);
    skript->Starten();
    Geste(*a, 3, 1, 3, 1);
    EXPECT_TRUE(skript->Fertig());
    Geste(*a, 5, 1, 5, 1);      // S04 absent and back: present again
    Geste(*a, 5, 1, 5, 1);
    Neu().Daneben(Minutenmenue);  // closing the minutes menu keeps the absence
    skript->Starten();
    Geste(*a, 5, 1, 5, 1);
    EXPECT_TRUE(skript->Fertig());
    const std::string d = Utf8FromText(Heute());
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.fehlzeiten"),
              d + ";3;S01;V01;F;\r\n" + d + ";3;S02;V02;E;\r\n" + d + ";3;S03;V03;V;10\r\n" + d + ";3;S04;V04;F;\r\n");
    // The lesson is remembered for the day: no second question.
    Knopf(*a, TSitzplanAnsicht::kKnopfAnwesenheit);
    EXPECT_EQ(a->Modus_, TSitzplanAnsicht::kAnsicht);
    Knopf(*a, TSitzplanAnsicht::kKnopfAnwesenheit);
    EXPECT_EQ(a->Modus_, TSitzplanAnsicht::kAnwesenheit);
}

TEST_F(SeatingPlan, OralGradeTappedOnThePlanGoesIntoTodaysColumnWithAverages) {
    auto k = Klasse(3, {u"Arbeit", u"schriftl.", u"sonst.", u"HauptF."});
    k->Zelle(1, 1).change({u"3"}, {}, {}, 1);
    auto a = TSitzplanAnsicht::bauen(*k);
    Laufen(*a, 2);
    // Asked once: today's "Mündl." column, made new at the end.
    Neu().Wenn([&] { return a->Spaltenwahl && a->Spaltenwahl->Status == 2; },
               [&] {
                   const TKachel& t = *a->Spaltenwahl->Kachel[0];
                   Press(Frame(2), t.x + 10.0f, t.y + 10.0f);
                   Release(Frame(4), t.x + 10.0f, t.y + 10.0f);
               });
    skript->Starten();
    Knopf(*a, TSitzplanAnsicht::kKnopfMuendlich);
    EXPECT_TRUE(skript->Fertig());
    ASSERT_EQ(a->Modus_, TSitzplanAnsicht::kMuendlich);
    ASSERT_EQ(k->Notenanzahl, 6);
    // In front of the average group that closes the grid.
    EXPECT_EQ(Spaltentypen(*k), (std::vector<Text>{u"7a", u"Arbeit", u"Mündl.", u"schriftl.", u"sonst.", u"HauptF."}));
    EXPECT_EQ(k->Zelle(0, 2).Text[2], Heute());
    Neu().Kachel(Notenmenue[0], 3);  // "2+" for S01
    skript->Starten();
    Geste(*a, 1, 1, 1, 1);
    EXPECT_TRUE(skript->Fertig());
    EXPECT_EQ(k->Zelle(1, 2).Text[0], u"2+");
    // The menu opened beside the tile, not over it.
    EXPECT_GE(Notenmenue[0]->x, a->Platz(1, 1).x + a->Platz(1, 1).b);
    EXPECT_EQ(Reihe(*k, 1), (std::vector<Text>{u"S01", u"3", u"2+", u"3.00", u"1.75", u"2.37"}));
    // Kept in the recovery file at once.
    EXPECT_NE(Lesen("Noten/7a/7a Mathe.slk.ungespeichert").find("\"2+\""), std::string::npos);
}

TEST_F(SeatingPlan, PortraitsAreDecodedOnceAcrossOpeningsAndAgainWhenTheirFileChanged) {
    auto k = Klasse(3);
    fs::create_directories("Noten/7a/Bilder");
    auto foto = [&](int zeile, uint32_t farbe) {
        TPixmap p = CreatePixmap(360, 360, 3, 4);
        for (int y = 0; y < 360; ++y)
            for (int x = 0; x < 360; ++x) WritePixel(p, x, y, 0xFF000000u | farbe);
        ASSERT_TRUE(SavePixmapAsPNG(p, PortraitDerZeile(*k, zeile), 0));
    };
    for (int i = 1; i <= 3; ++i) foto(i, 0x204060u * uint32_t(i));
    struct Schritt {
        const char* was;
        std::function<void()> vorher;
        long long gelesen;  // files decoded by this opening
        std::vector<bool> bild;  // whether rows 1 to 3 have a picture afterwards
    };
    const std::vector<Schritt> schritte{
        {"first opening", [] {}, 3, {true, true, true}},
        {"opened again", [] {}, 0, {true, true, true}},
        {"S02's photo replaced", [&] { foto(2, 0xC0C0C0u); }, 1, {true, true, true}},
        {"S03's photo removed", [&] { ASSERT_TRUE(DeleteFileAt(PortraitDerZeile(*k, 3))); }, 0, {true, true, false}},
        {"a photo for S03 again", [&] { foto(3, 0x00FF00u); }, 1, {true, true, true}},
    };
    for (const Schritt& s : schritte) {
        s.vorher();
        const long long vorher = PortraitZahlen().gelesen;
        auto a = TSitzplanAnsicht::bauen(*k);
        Laufen(*a, 1);
        EXPECT_EQ(PortraitZahlen().gelesen - vorher, s.gelesen) << s.was;
        const int groesse = std::min(220, a->Platz(1, 1).b + 8) - 8 - 24;
        for (int i = 1; i <= 3; ++i) {
            const TImage b = PortraitBild(PortraitDerZeile(*k, i), groesse);
            EXPECT_EQ(b != nullptr, s.bild[size_t(i - 1)]) << s.was << ", row " << i;
            if (b) {
                EXPECT_EQ(ImageWidthOf(b), groesse) << s.was;
            }
        }
    }
    // The lock lets them go, also those the open plan holds; its next frame reads them again.
    auto a = TSitzplanAnsicht::bauen(*k);
    Laufen(*a, 1);
    PortraitsVergessen();
    EXPECT_EQ(PortraitZahlen().behalten, 0);
    const long long vorher = PortraitZahlen().gelesen;
    Laufen(*a, 1);
    EXPECT_EQ(PortraitZahlen().gelesen - vorher, 3);
}

TEST_F(SeatingPlan, PortraitsDecodedAheadAreTakenByThePlanUnlessTheirFileChangedSince) {
    auto k = Klasse(3);
    fs::create_directories("Noten/7a/Bilder");
    auto foto = [&](int zeile, uint32_t farbe) {
        TPixmap p = CreatePixmap(360, 360, 3, 4);
        for (int y = 0; y < 360; ++y)
            for (int x = 0; x < 360; ++x) WritePixel(p, x, y, 0xFF000000u | (farbe + uint32_t(x / 45 * 8 + y / 90)));
        ASSERT_TRUE(SavePixmapAsPNG(p, PortraitDerZeile(*k, zeile), 0));
    };
    const int groesse = TSitzplanAnsicht::Portraitgroesse();
    struct Schritt {
        const char* was;
        bool abwarten;               // the background done before the change
        std::function<void()> dann;  // after the preparation started
        long long gelesen;           // files the plan then decodes itself
        size_t vorbereitet;          // pictures prepared from the files as they are now
    };
    const std::vector<Schritt> schritte{
        {"prepared, then opened", true, [] {}, 0, 3},
        {"opened while the preparation may still run", false, [] {}, 0, 3},
        {"S02's photo replaced after its preparation", true, [&] { foto(2, 0x808000u); }, 1, 2},
        {"S03's photo removed after its preparation", true,
         [&] { ASSERT_TRUE(DeleteFileAt(PortraitDerZeile(*k, 3))); }, 0, 2},
        {"the class left: nothing prepared", true, [] { VorbereitungBeenden(); }, 3, 0},
    };
    uint32_t farbe = 0x100000u;
    for (const Schritt& s : schritte) {
        // Fresh files: nothing of them is kept from the step before.
        for (int i = 1; i <= 3; ++i) foto(i, farbe += 0x101010u);
        SitzplanVorbereiten(*k);
        if (s.abwarten) VorbereitungAbschliessen();
        s.dann();
        const long long vorher = PortraitZahlen().gelesen;
        auto a = TSitzplanAnsicht::bauen(*k);
        Laufen(*a, 1);
        EXPECT_EQ(PortraitZahlen().gelesen - vorher, s.gelesen) << s.was;
        // What was decoded ahead is what the file gives now, pixel for pixel.
        size_t vorbereitet = 0;
        for (int i = 1; i <= 3; ++i) {
            FileStamp stempel, jetzt;
            TPixmap bild;
            if (!VorbereitetesPortrait(PortraitDerZeile(*k, i), groesse, stempel, bild) ||
                !FileStampOf(PortraitDerZeile(*k, i), jetzt) || !(stempel == jetzt))
                continue;
            ++vorbereitet;
            const TPixmap neu = PortraitPixmap(PortraitDerZeile(*k, i), groesse);
            ASSERT_TRUE(neu && bild) << s.was;
            EXPECT_EQ(bild->width, groesse) << s.was;
            EXPECT_EQ(bild->pixels, neu->pixels) << s.was << ", row " << i;
        }
        EXPECT_EQ(vorbereitet, s.vorbereitet) << s.was;
    }
}
