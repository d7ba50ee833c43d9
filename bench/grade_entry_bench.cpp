// Grade entry benchmark: grades entered into a full-year gradebook (40
// students, 60 columns with two average groups) by the program's own code on
// the real SDL/OpenGL backend, after the program's own start-up: a scripted
// tap on a cell, the grade menu flying in over the full grid, a tap on a grade
// tile, the cell written and the row's averages recomputed. Also the row
// menu flying in beside a photo, and the series down a column: grades typed
// with Enter, the menu sliding to the next student. Prints one "name: value unit" line per
// figure, with its target where there is one.
//
//   rk_grade_entry_bench [entries]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "bench_util.hpp"
#include "program_start.hpp"
#include "temp_work_folder.hpp"
#include "year_gradebook.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/grade_cells.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/input_script.hpp"
#include "platform/pixmap.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

using namespace bench;

namespace {
MeasuringBackend* gBackend = nullptr;

// Two half-years of 27 grade columns, each closed by "schriftl.", "sonst.",
// "HauptF.", a grade in every grade cell, the averages computed.
std::shared_ptr<TSchulklasse> Jahrgang() {
    const std::vector<Text> noten{u"1+", u"2-", u"3", u"4+", u"2-3", u"5", u"1", u"3-", u"2", u"4", u"6", u"n.f."};
    auto k = TSchulklasse::bauen({u"8c", u"Mathematik"}, 0);
    for (const Text& typ : JahrgangsSpalten()) SpaltenkopfAnhaengen(*k, typ, u"12.10.24");
    for (int i = 1; i <= 40; ++i) {
        const Schueler s{TextFromUtf8("Schüler" + std::to_string(100 + i)), u"Jörg Maria", u"0911 4711",
                         u"Sitzt vorne links."};
        SchuelerAnhaengen(*k, i, s, [&](int j) { return noten[(i * 5 + j * 3) % noten.size()]; }, Text());
    }
    k->Durchschnittsnotenberechnung(-1);
    return k;
}

void Klassenbild(TSchulklasse& k) {
    KlassenbildAufbauen(k);
    FrameEnd();
}

ScriptedEvent Maus(ScriptedEvent::Kind art, float x, float y) { return ScriptedEvent{art, 0, x, y, Text()}; }

// Taps the tile at its place on screen and runs class-screen frames until
// anzeigen has recorded it.
bool Antippen(TSchulklasse& k, const TKachel& t) {
    const float x = t.temp_x + t.Breite / 2.0f, y = t.temp_y + t.Tiefe / 2.0f;
    ScriptInput(FramesEnded() + 1, Maus(ScriptedEvent::MouseDown, x, y));
    ScriptInput(FramesEnded() + 3, Maus(ScriptedEvent::MouseUp, x, y));
    for (int n = 0; n < 10; ++n) {
        Klassenbild(k);
        if (k.AuftragsZeile >= 0) return true;
    }
    return false;
}

// Frames of a menu's fly-in, from the first frame after the tap to the frame
// in which the panel stood complete.
struct Einflug {
    std::vector<double> intervall, praesentieren, zuerst;
    double letzte = 0;
    bool fertig = false;
    bool zaehlt = false;
    void Start() {
        letzte = WallMs();
        fertig = false;
        zaehlt = false;
    }
    void Frame(const TMenu& m) {
        const double w = WallMs();
        if (!fertig && m.Status >= 1) {
            if (m.Status == 1 && !zaehlt) zuerst.push_back(w - letzte);
            zaehlt = true;
            intervall.push_back(w - letzte);
            praesentieren.push_back(LastFrameFigures().presentMs);
            fertig = m.Status == 2;
        }
        letzte = w;
    }
    void Print(const std::string& was) const {
        double summe = 0;
        for (double v : intervall) summe += v;
        const double fps = summe > 0 ? 1000.0 * double(intervall.size()) / summe : 0;
        std::printf("%s fly-in frames measured: %zu\n", was.c_str(), intervall.size());
        Figure(was + " fly-in frames per second", fps, "Hz", ">= 49 Hz", fps >= 49);
        Figure(was + " fly-in frame interval median", Percentile(intervall, 0.5), "ms");
        Figure(was + " fly-in frame interval p95", Percentile(intervall, 0.95), "ms");
        Figure(was + " fly-in first frame interval median", Percentile(zuerst, 0.5), "ms");
        Figure(was + " fly-in present median", Percentile(praesentieren, 0.5), "ms");
        Figure(was + " fly-in present p95", Percentile(praesentieren, 0.95), "ms");
        Figure(was + " fly-in frame interval max", Maximum(intervall), "ms", "<= 25 ms", Maximum(intervall) <= 25);
    }
};
}  // namespace

int main(int argc, char** argv) {
    int eintraege = 30;
    if (argc > 1) eintraege = std::max(1, std::atoi(argv[1]));
    gBackend = StartLikeTheProgram("rk_grade_entry_bench");
    if (!gBackend) return 1;
    // Edits may leave files in the data folder: work in a fresh folder.
    namespace fs = std::filesystem;
    const TempWorkFolder arbeitsordner("rk-grade-entry-bench");
    if (!arbeitsordner.ok()) {
        std::fputs("rk_grade_entry_bench: no temporary folder\n", stderr);
        return 1;
    }

    auto klasse = Jahrgang();
    const int W = GraphicsWidth(), H = GraphicsHeight();
    klasse->OrganisiereOffsetGrenzen(20, 30);  // the middle of the grid
    for (int i = 0; i < 15; ++i) Klassenbild(*klasse);  // the tiles' fly-in
    std::printf("window: %dx%d px, gradebook 40 students x 60 columns, %d entries\n", W, H, eintraege);
    std::printf("load average at start: %s\n", LoadAverage().c_str());

    // ---- a) Grade entry: tap on a cell to the averages of its row ---------
    std::vector<double> eigen;
    std::vector<double> frames;
    Einflug notenEinflug;
    int falsch = 0;
    TTextMenu& menue = *Notenmenue[0];
    for (int n = 0; n < eintraege; ++n) {
        // A grade cell well inside the window, a different one each time.
        std::vector<std::pair<int, int>> kandidaten;
        for (int i = 1; i < klasse->Schueleranzahl; ++i)
            for (int j = 1; j < klasse->Notenanzahl; ++j) {
                const TKachel& z = klasse->Zelle(i, j);
                const Text& typ = klasse->Zelle(0, j).Text[0];
                if (IstDurchschnittstyp(typ) || typ == u"Zeugnis") continue;
                if (z.temp_x > 300 && z.temp_x + z.Breite < W - 100 && z.temp_y > 250 && z.temp_y + z.Tiefe < H - 100)
                    kandidaten.emplace_back(i, j);
            }
        int zeile = -1, spalte = -1;
        if (!kandidaten.empty()) std::tie(zeile, spalte) = kandidaten[size_t(n * 7) % kandidaten.size()];
        if (zeile < 0 || !Antippen(*klasse, klasse->Zelle(zeile, spalte))) {
            std::fputs("rk_grade_entry_bench: no cell to tap\n", stderr);
            return 1;
        }
        const int kachel = n % 17;
        bool geplant = false;
        int bilder = 0;
        notenEinflug.Start();
        SetFrameObserver([&] {
            ++bilder;
            notenEinflug.Frame(menue);
            // The fastest teacher: the tile is tapped as soon as the panel stands.
            if (!geplant && menue.Status == 2) {
                geplant = true;
                const TKachel& t = *menue.Kachel[size_t(kachel)];
                ScriptInput(FramesEnded() + 1, Maus(ScriptedEvent::MouseDown, t.x + 30.0f, t.y + 30.0f));
                ScriptInput(FramesEnded() + 3, Maus(ScriptedEvent::MouseUp, t.x + 30.0f, t.y + 30.0f));
            }
            if (n == 0 && bilder == 4) Festhalten("grade-menu-flying-in");
            if (n == 0 && bilder == 6) Festhalten("grade-menu-over-grid");
        });
        const double c0 = ThreadCpuMs(), p0 = gBackend->presentCpu, s0 = gBackend->sleepCpu;
        klasse->verwalten();
        const double c1 = ThreadCpuMs();
        SetFrameObserver(nullptr);
        eigen.push_back((c1 - c0) - (gBackend->presentCpu - p0) - (gBackend->sleepCpu - s0));
        frames.push_back(bilder);
        if (klasse->Zelle(zeile, spalte).Text[0] != menue.Kachel[size_t(kachel)]->Text[0]) ++falsch;
        Klassenbild(*klasse);
    }
    if (falsch) std::printf("grade entry: %d entries did not arrive (expected 0)\n", falsch);
    Figure("grade entry frames median", Percentile(frames, 0.5), "frames");
    Figure("grade entry own cpu median", Percentile(eigen, 0.5), "ms", "< 2 ms", Percentile(eigen, 0.5) < 2);
    Figure("grade entry own cpu p95", Percentile(eigen, 0.95), "ms", "< 2 ms", Percentile(eigen, 0.95) < 2);
    Figure("grade entry own cpu per frame median", Percentile(eigen, 0.5) / std::max(1.0, Percentile(frames, 0.5)),
           "ms");

    // The step after the choice alone: the cell written, its row recomputed.
    {
        std::vector<double> schreiben;
        for (int n = 0; n < 2000; ++n) {
            const double c0 = ThreadCpuMs();
            GewaehlteNoteEintragen(*klasse, 1 + n % 40, 1 + n % 27, n % 2 ? u"2-" : u"4+");
            schreiben.push_back(ThreadCpuMs() - c0);
        }
        Figure("grade written and row averages recomputed median", Percentile(schreiben, 0.5), "ms");
    }
    notenEinflug.Print("grade menu");

    // ---- b) The row menu beside a photo ------------------------------------
    {
        TPixmap foto = CreatePixmap(160, 200, 3, 4);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 160; ++x) WritePixel(foto, x, y, 0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8);
        fs::create_directories("Noten/8c/Bilder");
        Einflug zeilenEinflug;
        TKombiMenu& zm = *Schuelermenue;
        for (int n = 0; n < std::max(5, eintraege / 3); ++n) {
            int zeile = -1;
            for (int i = 1; i < klasse->Schueleranzahl; ++i)
                if (klasse->Zelle(i, 0).temp_y > 200 + 84 * (n % 5)) {
                    zeile = i;
                    break;
                }
            const TKachel& name = klasse->Zelle(zeile, 0);
            SavePixmapAsPNG(foto, u"Noten/8c/Bilder/" + name.Text[0] + u" " + name.Text[1] + u".png", 6);
            if (!Antippen(*klasse, name)) {
                std::fputs("rk_grade_entry_bench: name tile not tapped\n", stderr);
                return 1;
            }
            int bilder = 0;
            zeilenEinflug.Start();
            SetFrameObserver([&] {
                zeilenEinflug.Frame(zm);
                if (++bilder == 12) ScriptInput(FramesEnded() + 1, ScriptedEvent{ScriptedEvent::KeyDown, kKeyEscape});
                if (n == 0 && bilder == 10) Festhalten("row-menu-over-grid");
            });
            klasse->verwalten();
            SetFrameObserver(nullptr);
            ScriptInput(FramesEnded(), ScriptedEvent{ScriptedEvent::KeyUp, kKeyEscape});
            User::flush();
            Klassenbild(*klasse);
        }
        zeilenEinflug.Print("row menu");
    }

    // ---- c) The series down a column: typed grade and Enter to the next cell
    {
        // A grade column in the middle of the second half-year; its cells
        // emptied, so the series starts at student 1.
        int spalte = 31;
        while (spalte < klasse->Notenanzahl && (IstDurchschnittstyp(klasse->Zelle(0, spalte).Text[0]) ||
                                                klasse->Zelle(0, spalte).Text[0] == u"Zeugnis"))
            ++spalte;
        for (int i = 1; i < klasse->Schueleranzahl; ++i) klasse->Zelle(i, spalte).change({Text()}, {}, {}, 1);
        klasse->OrganisiereOffsetGrenzen(1, spalte);
        Klassenbild(*klasse);
        TTextMenu& m = *Notenmenue[0];
        struct Stand { double cpu, praesentieren, schlafen, wand; Text zelle; };
        std::vector<Stand> staende;
        std::vector<double> schrittCpu, schrittWand;
        int zeile = 1;
        bool getippt = false;
        double enterWand = 0;
        SetFrameObserver([&] {
            staende.push_back({ThreadCpuMs(), gBackend->presentCpu, gBackend->sleepCpu, WallMs(),
                               zeile < klasse->Schueleranzahl ? klasse->Zelle(zeile, spalte).Text[0] : Text()});
            const size_t n = staende.size();
            if (getippt && n >= 2 && !staende[n - 1].zelle.empty()) {
                // The cell is written right after the frame that read the Enter:
                // the step is the entry, the row's averages and the first frame
                // at the next cell.
                const Stand &a = staende[n - 2], &b = staende[n - 1];
                schrittCpu.push_back((b.cpu - a.cpu) - (b.praesentieren - a.praesentieren) - (b.schlafen - a.schlafen));
                getippt = false;
                ++zeile;
            }
            // The fastest typist: the next grade as soon as the menu stands at its cell.
            if (!getippt && m.Status == 2) {
                if (enterWand > 0) schrittWand.push_back(WallMs() - enterWand);
                if (zeile == 2) Festhalten("grade-series-beside-the-cell");
                if (zeile == klasse->Schueleranzahl - 1) Festhalten("grade-series-at-the-lower-edge");
                if (zeile >= klasse->Schueleranzahl) return;
                getippt = true;
                enterWand = WallMs();
                ScriptInput(FramesEnded(), ScriptedEvent{ScriptedEvent::Typed, zeile % 2 ? u'2' : u'4'});
                ScriptInput(FramesEnded(), ScriptedEvent{ScriptedEvent::Typed, kKeyEnter});
            }
        });
        Notenserie(*klasse, spalte);
        SetFrameObserver(nullptr);
        int falsch = 0;
        for (int i = 1; i < klasse->Schueleranzahl; ++i)
            falsch += klasse->Zelle(i, spalte).Text[0] != (i % 2 ? u"2" : u"4");
        std::printf("grade series: %zu steps, %d cells wrong (expected 0)\n", schrittCpu.size(), falsch);
        Figure("grade series step own cpu median", Percentile(schrittCpu, 0.5), "ms", "< 1 ms",
               Percentile(schrittCpu, 0.5) < 1);
        Figure("grade series step own cpu p95", Percentile(schrittCpu, 0.95), "ms");
        // Of that: one frame of the slide (the grid, the marking, the menu).
        std::vector<double> bild;
        for (size_t n = 1; n < staende.size(); ++n)
            if (staende[n].zelle == staende[n - 1].zelle)
                bild.push_back((staende[n].cpu - staende[n - 1].cpu) -
                               (staende[n].praesentieren - staende[n - 1].praesentieren) -
                               (staende[n].schlafen - staende[n - 1].schlafen));
        Figure("grade series step: a frame of the slide, own cpu median", Percentile(bild, 0.5), "ms");
        // Of that: the recovery file written after the entry (the whole class).
        std::vector<double> sichern;
        for (int n = 0; n < 200; ++n) {
            const double c0 = ThreadCpuMs();
            klasse->AenderungVermerken();
            sichern.push_back(ThreadCpuMs() - c0);
        }
        Figure("grade series step: recovery file written, cpu median", Percentile(sichern, 0.5), "ms");
        // The same without forcing it to disk: the rest of that is the kernel's flush.
        {
            const bool zwingen = KlassendateiAufPlatteZwingen;
            KlassendateiAufPlatteZwingen = false;
            std::vector<double> ohne;
            for (int n = 0; n < 200; ++n) {
                const double c0 = ThreadCpuMs();
                klasse->AenderungVermerken();
                ohne.push_back(ThreadCpuMs() - c0);
            }
            KlassendateiAufPlatteZwingen = zwingen;
            Figure("grade series step: recovery file written without the flush to disk, cpu median",
                   Percentile(ohne, 0.5), "ms");
        }
        std::vector<double> bauen;
        size_t laenge = 0;
        for (int n = 0; n < 200; ++n) {
            const double c0 = ThreadCpuMs();
            laenge += KlassendateiBytes(*klasse).size();
            bauen.push_back(ThreadCpuMs() - c0);
        }
        Figure("grade series step: of that, the class file's bytes built, cpu median", Percentile(bauen, 0.5), "ms");
        std::printf("class file: %zu bytes\n", laenge / 200);
        Figure("grade series step wall median (Enter to the menu standing at the next cell)",
               Percentile(schrittWand, 0.5), "ms", "< 150 ms", Percentile(schrittWand, 0.5) < 150);
        Figure("grade series step wall p95", Percentile(schrittWand, 0.95), "ms");
    }
    // ---- d) The series at the window's right edge: the menu left of the column
    {
        int spalte = klasse->Notenanzahl - 1;
        while (spalte > 1 && (IstDurchschnittstyp(klasse->Zelle(0, spalte).Text[0]) ||
                              klasse->Zelle(0, spalte).Text[0] == u"Zeugnis"))
            --spalte;
        klasse->Zelle(5, spalte).change({Text()}, {}, {}, 1);
        klasse->OrganisiereOffsetGrenzen(5, spalte);
        // The column scrolled to the window's right edge: the menu must go left of it.
        Offset::ScrollX = W - 4 - (klasse->Zelle(0, spalte).x + TSchulklasse::Kachelsize);
        Klassenbild(*klasse);
        TTextMenu& m = *Notenmenue[0];
        bool fertig = false;
        SetFrameObserver([&] {
            if (fertig || m.Status != 2) return;
            fertig = true;
            Festhalten("grade-series-at-the-right-edge");
            ScriptInput(FramesEnded(), ScriptedEvent{ScriptedEvent::KeyDown, kKeyEscape});
        });
        Notenserie(*klasse, spalte);
        SetFrameObserver(nullptr);
        ScriptInput(FramesEnded(), ScriptedEvent{ScriptedEvent::KeyUp, kKeyEscape});
        User::flush();
    }
    std::printf("load average at end: %s\n", LoadAverage().c_str());
    CloseGraphicsWindow();
    return 0;
}
