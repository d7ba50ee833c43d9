// Class screen benchmark: a full-year gradebook (40 students, 60 grade columns
// with two average groups) opened, scrolled and overlaid with real tiles by the
// program's own code, on the real SDL/OpenGL backend after the program's own
// start-up (Hochfahren). Prints one "name: value unit" line per figure, with
// its target where there is one.
//
// Working folder: Hochfahren moves into the executable's folder, so afterwards
// the benchmark moves on into a fresh temporary folder, saves the gradebook
// there as "Noten/8c/8c Mathematik.slk" (relative, as the program saves) and
// removes the folder at the end. Nothing is written beside the binary.
//
//   rk_class_screen_bench [scrolling frames] [openings]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.hpp"
#include "program_start.hpp"
#include "temp_work_folder.hpp"
#include "year_gradebook.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/input_script.hpp"
#include "platform/text.hpp"
#include "platform/timing.hpp"
#include "gradebook/program_state.hpp"
#include "shell/class_screen_loop.hpp"
#include "shell/shared_menus.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/offset.hpp"
#include "tiles/texteingabe.hpp"
#include "tiles/user.hpp"

using namespace bench;

namespace {

MeasuringBackend* gBackend = nullptr;

// ---- The gradebook --------------------------------------------------------

constexpr int kStudents = 40;

// 60 grade columns: two half-years of 27 grade columns, each closed by its
// average group (written, other, overall), grades in every grade cell.
std::shared_ptr<TSchulklasse> Jahrgang() {
    const std::vector<Text> noten{u"1+", u"2-", u"3", u"4+", u"2-3", u"5", u"1", u"3-", u"2", u"4", u"6", u"n.f."};
    const std::vector<Text> nachnamen{u"Müller", u"Schmidt", u"Schneider", u"Fischer", u"Weber", u"Meyer",
                                      u"Wagner", u"Becker",  u"Schulz",    u"Hoffmann", u"Schäfer", u"Koch",
                                      u"Bauer",  u"Richter", u"Klein",     u"Wolf",    u"Schröder", u"Neumann",
                                      u"Schwarz", u"Zimmermann"};
    const std::vector<Text> vornamen{u"Jörg", u"Anna", u"Lukas", u"Sophie", u"Jürgen", u"Marie", u"Björn", u"Lena"};
    auto k = TSchulklasse::bauen({u"8c", u"Mathematik"}, 0);
    const std::vector<Text> spalten = JahrgangsSpalten();
    for (size_t n = 0; n < spalten.size(); ++n)
        SpaltenkopfAnhaengen(*k, spalten[n],
                             TextFromUtf8(std::to_string(10 + n % 18) + "." + std::to_string(9 + n / 18) + ".24"));
    for (int i = 1; i <= kStudents; ++i) {
        const Schueler s{nachnamen[(i * 7) % nachnamen.size()], vornamen[i % vornamen.size()] + u" Maria",
                         TextFromUtf8("0911 " + std::to_string(400000 + i * 7919)),
                         u"Sitzt vorne links, braucht Zeit bei Textaufgaben.",
                         i % 3 ? kPlatzhalterVergesseneHA : Text(u"12.10. 19.11.")};
        SchuelerAnhaengen(*k, i, s, [&](int j) { return noten[(i * 5 + j * 3) % noten.size()]; }, Text());
    }
    k->NachNamenSortieren(0);
    k->Durchschnittsnotenberechnung(-1);
    return k;
}

// ---- Frames ---------------------------------------------------------------

ScriptedEvent Ereignis(ScriptedEvent::Kind kind, int a, float x = 0, float y = 0) {
    return ScriptedEvent{kind, a, x, y, Text()};
}

// Back and forth between lo and hi in steps; turns at the ends.
struct ZickZack {
    int pos = 0, step = 1, lo = 0, hi = 0;
    int Next() {
        pos += step;
        if (pos > hi) { pos = hi - (pos - hi); step = -step; }
        if (pos < lo) { pos = lo + (lo - pos); step = -step; }
        return std::clamp(pos, lo, hi);
    }
};

// Per-frame figures of a modal loop, taken at the end of each Flip. The first
// call only sets the baseline, so the set-up before the loop is not counted.
struct ModalFrames {
    std::vector<double> present, own, interval, drawCalls;
    int skipped = 0;
    bool started = false;
    double cpu = 0, presentCpu = 0, sleepCpu = 0, wall = 0;
    double processCpu0 = 0, processCpu = 0, wall0 = 0;

    void Observe() {
        const double c = ThreadCpuMs(), pc = gBackend->presentCpu, sc = gBackend->sleepCpu, w = WallMs();
        if (started) {
            const FrameFigures& f = LastFrameFigures();
            if (f.skipped) ++skipped;
            else present.push_back(f.presentMs);
            // Thread CPU since the last frame, minus the backend's drawing and
            // the pacing sleeps: what the loop itself spent on the frame.
            own.push_back((c - cpu) - (pc - presentCpu) - (sc - sleepCpu));
            interval.push_back(w - wall);
            drawCalls.push_back(f.drawCalls);
        }
        if (!started) {
            processCpu0 = ProcessCpuMs();
            wall0 = w;
        }
        processCpu = ProcessCpuMs();
        started = true;
        cpu = c;
        presentCpu = pc;
        sleepCpu = sc;
        wall = w;
    }

    void Print(const std::string& what) const {
        std::printf("%s frames: %zu (%zu presented, %d skipped)\n", what.c_str(), interval.size(), present.size(),
                    skipped);
        Figure(what + " draw calls per frame max", Maximum(drawCalls), "calls", "<= 16", Maximum(drawCalls) <= 16);
        Figure(what + " present median", Percentile(present, 0.5), "ms");
        Figure(what + " present p95", Percentile(present, 0.95), "ms");
        const double ownMed = Percentile(own, 0.5);
        Figure(what + " own cpu per frame median", ownMed, "ms", "<= 1 ms", ownMed <= 1);
        Figure(what + " own cpu per frame p95", Percentile(own, 0.95), "ms");
        Figure(what + " frame interval median", Percentile(interval, 0.5), "ms");
        Figure(what + " frame interval p95", Percentile(interval, 0.95), "ms");
        // All threads while the dialog stands open at 50 Hz.
        Figure(what + " process cpu", wall > wall0 ? 100.0 * (processCpu - processCpu0) / (wall - wall0) : 0,
               "% of one core");
    }
};

// A few paced class-screen frames at the given offsets: the still grid the
// teacher looks at before opening a menu or pressing a cell.
void StillesKlassenbild(TSchulklasse& klasse, int sx, int sy, int frames) {
    for (int i = 0; i < frames; ++i) {
        Offset::ScrollX = sx;
        Offset::ScrollY = sy;
        KlassenbildAufbauen(klasse);
        FrameEnd();
    }
}

}  // namespace

int main(int argc, char** argv) {
    int measured = 330;
    int openings = 10;
    if (argc > 1) measured = std::max(1, std::atoi(argv[1]));
    if (argc > 2) openings = std::max(1, std::atoi(argv[2]));
    constexpr int kWarmUp = 30;

    gBackend = StartLikeTheProgram("rk_class_screen_bench");
    if (!gBackend) return 1;

    namespace fs = std::filesystem;
    const TempWorkFolder arbeitsordner("rk-class-screen-bench");
    if (!arbeitsordner.ok()) {
        std::fputs("rk_class_screen_bench: no temporary folder\n", stderr);
        return 1;
    }
    const fs::path ordner = arbeitsordner.path();

    if (!Jahrgang()->speichern(u"")) {
        std::fputs("rk_class_screen_bench: saving the gradebook failed\n", stderr);
        return 1;
    }
    const Text datei = TextFromUtf8((ordner / "Noten/8c/8c Mathematik.slk").string());
    const int W = GraphicsWidth(), H = GraphicsHeight();

    std::printf("window: %dx%d px\n", W, H);
    std::printf("gradebook: %d students x 60 grade columns, %ju bytes\n", kStudents,
                static_cast<uintmax_t>(fs::file_size(ordner / "Noten/8c/8c Mathematik.slk")));
    std::printf("load average at start: %s\n", LoadAverage().c_str());

    // ---- a) Opening: laden and the first class-screen frame ---------------
    // From the click on the catalogue tile, without its 200 ms fade. That fade
    // runs no User::update, so FrameTime is that old when the tiles are built.
    std::shared_ptr<TSchulklasse> klasse;
    std::vector<double> oeffnen, laden, aufbau, flip, praesentieren, schlaf, oeffnenCalls;
    double ersteOeffnung = 0;
    for (int n = 0; n < openings; ++n) {
        klasse.reset();
        Cls();  // the catalogue's last frame, paced as usual
        FrameEnd();
        User::flush();
        FrameTime = MillisecondClock() - 220;
        const double schlaf0 = gBackend->sleepWall;
        const double t0 = WallMs();
        klasse = TSchulklasse::laden(datei);
        const double t1 = WallMs();
        if (!klasse) {
            std::fputs("rk_class_screen_bench: laden failed\n", stderr);
            return 1;
        }
        KlassenbildAufbauen(*klasse);
        const double t2 = WallMs();
        Flip(-1);
        const double t3 = WallMs();
        if (n == 0) {
            ersteOeffnung = t3 - t0;
            std::printf("first opening: laden %.2f ms, recording %.2f ms, Flip(-1) %.2f ms (present %.2f ms)\n",
                        t1 - t0, t2 - t1, t3 - t2, LastFrameFigures().presentMs);
            Festhalten("class-screen-first-frame");
        }
        oeffnen.push_back(t3 - t0);
        laden.push_back(t1 - t0);
        aufbau.push_back(t2 - t1);
        flip.push_back(t3 - t2);
        praesentieren.push_back(LastFrameFigures().presentMs);
        schlaf.push_back(gBackend->sleepWall - schlaf0);
        oeffnenCalls.push_back(LastFrameFigures().drawCalls);
        WaitTimer(Taktgeber);
    }
    std::printf("openings measured: %d\n", openings);
    Figure("open class to first frame median", Percentile(oeffnen, 0.5), "ms");
    Figure("open class to first frame max", Maximum(oeffnen), "ms");
    Figure("open class to first frame, first opening", ersteOeffnung, "ms");
    Figure("  laden median", Percentile(laden, 0.5), "ms");
    Figure("  first frame recording median", Percentile(aufbau, 0.5), "ms");
    Figure("  first frame Flip(-1) median", Percentile(flip, 0.5), "ms");
    Figure("  of it present median", Percentile(praesentieren, 0.5), "ms");
    Figure("  of it pacing sleep median", Percentile(schlaf, 0.5), "ms");
    Figure("first frame draw calls", Maximum(oeffnenCalls), "calls", "<= 16", Maximum(oeffnenCalls) <= 16);

    // ---- b) Scrolling ------------------------------------------------------
    // The offsets zig-zag over the whole range, X twice and Y three times
    // there and back, so no frame repeats the one before.
    ZickZack zx{Offset::ScrollX, -std::max(1, 4 * -Offset::ScrollMinX / measured), Offset::ScrollMinX,
                Offset::ScrollMaxX};
    ZickZack zy{Offset::ScrollY, -std::max(1, 6 * -Offset::ScrollMinY / measured), Offset::ScrollMinY,
                Offset::ScrollMaxY};
    std::printf("scroll range: x %d..%d, y %d..%d px; steps %d, %d px per frame\n", Offset::ScrollMinX,
                Offset::ScrollMaxX, Offset::ScrollMinY, Offset::ScrollMaxY, -zx.step, -zy.step);
    std::vector<double> ownCpu, frameWall, flipWall, present, presentCpu, drawCalls;
    int skipped = 0, vertices = 0;
    double cpuStart = 0, wallStart = 0;
    CpuJiffies machineStart{};
    for (int i = 0; i < kWarmUp + measured; ++i) {
        if (i == kWarmUp) {
            cpuStart = ProcessCpuMs();
            wallStart = WallMs();
            machineStart = MachineJiffies();
        }
        Offset::ScrollX = zx.Next();
        Offset::ScrollY = zy.Next();
        const double t0 = WallMs();
        const double c0 = ThreadCpuMs();
        KlassenbildAufbauen(*klasse);
        const double c1 = ThreadCpuMs();
        const double t1 = WallMs();
        const double p0 = gBackend->presentCpu;
        Flip(0);
        const double t2 = WallMs();
        presentCpu.push_back(gBackend->presentCpu - p0);
        if (i == kWarmUp + measured / 2) Festhalten("class-screen-scrolling");
        if (i < kWarmUp) {
            presentCpu.pop_back();
            continue;
        }
        const FrameFigures& f = LastFrameFigures();
        skipped += f.skipped ? 1 : 0;
        vertices = std::max(vertices, f.vertices);
        drawCalls.push_back(f.drawCalls);
        present.push_back(f.presentMs);
        ownCpu.push_back(c1 - c0);
        frameWall.push_back(t2 - t0);
        flipWall.push_back(t2 - t1);
    }
    const double scrollWall = WallMs() - wallStart;
    const double scrollCpu = ProcessCpuMs() - cpuStart;
    const double machineBusy = MachineBusyPercent(machineStart, MachineJiffies());
    std::printf("scrolling frames measured: %d frames (after %d warm-up frames), %d skipped (expected 0)\n", measured,
                kWarmUp, skipped);
    Figure("scrolling draw calls per frame max", Maximum(drawCalls), "calls", "<= 16", Maximum(drawCalls) <= 16);
    Figure("scrolling draw calls per frame median", Percentile(drawCalls, 0.5), "calls");
    Figure("scrolling vertices per frame max", vertices, "vertices");
    FrameCostFigures("scrolling ", ownCpu, frameWall);
    Figure("scrolling flip wall median", Percentile(flipWall, 0.5), "ms");
    Figure("scrolling present median", Percentile(present, 0.5), "ms");
    Figure("scrolling present p95", Percentile(present, 0.95), "ms");
    // The rest of the present runs on llvmpipe's own threads.
    Figure("scrolling present thread cpu median", Percentile(presentCpu, 0.5), "ms");
    Figure("scrolling process cpu per frame", scrollCpu / measured, "ms");
    Figure("scrolling process cpu", 100.0 * scrollCpu / scrollWall, "% of one core");
    Figure("machine busy while scrolling", machineBusy, "% of one core");

    // ---- c) Real tiles over the grid ---------------------------------------
    const int mitteX = (Offset::ScrollMinX + Offset::ScrollMaxX) / 2;
    const int mitteY = (Offset::ScrollMinY + Offset::ScrollMaxY) / 2;
    ModalFrames menue;
    {
        StillesKlassenbild(*klasse, mitteX, mitteY, 3);
        User::flush();
        // Opened at the top-left corner, growing from the pointer.
        Klassenmenue->einblenden(0, 0, static_cast<int>(PointerPosX), static_cast<int>(PointerPosY), nullptr,
                                 kPositionBehalten, kPositionBehalten);
        ScriptInput(FramesEnded() + 60, Ereignis(ScriptedEvent::KeyDown, kKeyEscape));
        SetFrameObserver([&menue] {
            menue.Observe();
            if (menue.interval.size() == 55) Festhalten("class-menu");
        });
        const Text wahl = Klassenmenue->verwenden();
        SetFrameObserver(nullptr);
        ScriptInput(FramesEnded(), Ereignis(ScriptedEvent::KeyUp, kKeyEscape));
        User::flush();
        if (!wahl.empty()) std::printf("class menu: unexpected choice\n");
    }
    ModalFrames tastatur;
    {
        StillesKlassenbild(*klasse, mitteX, mitteY, 3);
        User::flush();
        Texteingabe::starten(1, u"Müller, Jörg", 0, -1, -1, 0);
        ScriptInput(FramesEnded() + 60, Ereignis(ScriptedEvent::KeyDown, kKeyEscape));
        SetFrameObserver([&tastatur] {
            tastatur.Observe();
            if (tastatur.interval.size() == 55) Festhalten("keyboard");
        });
        const int ergebnis = Texteingabe::verwenden(0);
        SetFrameObserver(nullptr);
        ScriptInput(FramesEnded(), Ereignis(ScriptedEvent::KeyUp, kKeyEscape));
        User::flush();
        if (ergebnis != 0) std::printf("keyboard: unexpected confirmation\n");
    }
    menue.Print("class menu");
    if (!menue.present.empty()) {
        Figure("class menu fly-in first frame present", menue.present.front(), "ms", "< 20 ms",
               menue.present.front() < 20);
        Figure("class menu fly-in present max", Maximum(menue.present), "ms", "< 20 ms", Maximum(menue.present) < 20);
    }
    tastatur.Print("keyboard");

    // ---- d) A pressed cell -------------------------------------------------
    StillesKlassenbild(*klasse, mitteX, mitteY, 3);
    User::flush();
    int zeile = -1, spalte = -1;
    for (int i = 1; i < klasse->Schueleranzahl && zeile < 0; ++i)
        for (int j = 1; j < klasse->Notenanzahl; ++j) {
            const TKachel& z = klasse->Zelle(i, j);
            if (z.temp_x > 300 && z.temp_x + z.Breite < W && z.temp_y > 200 && z.temp_y + z.Tiefe < H) {
                zeile = i;
                spalte = j;
                break;
            }
        }
    if (zeile < 0) {
        std::fputs("rk_class_screen_bench: no cell on screen\n", stderr);
        return 1;
    }
    const TKachel& zelle = klasse->Zelle(zeile, spalte);
    const float px = zelle.temp_x + zelle.Breite / 2.0f, py = zelle.temp_y + zelle.Tiefe / 2.0f;
    auto ruhig = [&] {
        Offset::ScrollX = mitteX;
        Offset::ScrollY = mitteY;
        KlassenbildAufbauen(*klasse);
    };
    ruhig();
    Flip(0);
    const int callsRuhig = LastFrameFigures().drawCalls;
    const bool ruhigUebersprungen = LastFrameFigures().skipped;
    ScriptInput(FramesEnded(), Ereignis(ScriptedEvent::MouseDown, 0, px, py));
    int callsGedrueckt = -1, callsGehalten = -1;
    bool gehaltenUebersprungen = false;
    double cpuGedrueckt = 0;
    for (int i = 0; i < 6 && callsGehalten < 0; ++i) {
        const double c0 = ThreadCpuMs();
        ruhig();
        const double c1 = ThreadCpuMs();
        const int state = TouchState;
        Flip(0);
        if (state == 1) {
            callsGedrueckt = LastFrameFigures().drawCalls;
            cpuGedrueckt = c1 - c0;
            Festhalten("cell-pressed");
        } else if (state == 2) {
            callsGehalten = LastFrameFigures().drawCalls;
            gehaltenUebersprungen = LastFrameFigures().skipped;
        }
    }
    ScriptInput(FramesEnded(), Ereignis(ScriptedEvent::MouseUp, 0, px, py));
    for (int i = 0; i < 4 && TouchState != 0; ++i) {
        ruhig();
        Flip(0);
    }
    User::flush();
    std::printf("pressed cell: row %d, column %d at (%.0f, %.0f)\n", zeile, spalte, px, py);
    // A still grid repeats the picture on screen, so Flip skips it (0 calls).
    std::printf("still frame before the press: %s\n", ruhigUebersprungen ? "skipped (same picture)" : "presented");
    Figure("still frame draw calls", callsRuhig, "calls", "<= 16", callsRuhig <= 16);
    Figure("pressed cell frame draw calls", callsGedrueckt, "calls", "<= 16",
           callsGedrueckt >= 0 && callsGedrueckt <= 16);
    std::printf("held cell frame: %s\n", gehaltenUebersprungen ? "skipped (same picture as pressed)" : "presented");
    Figure("held cell frame draw calls", callsGehalten, "calls", "<= 16", callsGehalten >= 0 && callsGehalten <= 16);
    Figure("pressed cell frame own cpu", cpuGedrueckt, "ms", "<= 1 ms", cpuGedrueckt <= 1);

    // ---- e) Idle: the program's own class screen loop, nothing touched ----
    // From 1 s after the grid stands still, for 5 s; then Escape saves and
    // leaves (not counted).
    {
        StillesKlassenbild(*klasse, mitteX, mitteY, 3);
        User::flush();
        const double start = WallMs();
        double cpu0 = 0, wall0 = 0, cpu1 = 0, wall1 = 0, thread0 = 0, thread1 = 0;
        int frames = 0;
        std::string last;
        SetFrameObserver([&] {
            const double w = WallMs();
            if (wall0 == 0 && w - start >= 1000) {
                wall0 = w;
                cpu0 = ProcessCpuMs();
                thread0 = ThreadCpuMs();
            } else if (wall0 > 0 && wall1 == 0) {
                ++frames;
                if (w - wall0 >= 5000) {
                    wall1 = w;
                    cpu1 = ProcessCpuMs();
                    thread1 = ThreadCpuMs();
                    last = LoadAverage();
                    ScriptInput(FramesEnded(), Ereignis(ScriptedEvent::KeyDown, kKeyEscape));
                    ScriptInput(FramesEnded() + 1, Ereignis(ScriptedEvent::KeyUp, kKeyEscape));
                }
            }
        });
        KlassenbildschirmLaufen(*klasse);
        SetFrameObserver(nullptr);
        User::flush();
        std::printf("idle class screen: %d frames in %.0f ms, load average %s\n", frames, wall1 - wall0, last.c_str());
        const double idle = wall1 > wall0 ? 100.0 * (cpu1 - cpu0) / (wall1 - wall0) : 0;
        Figure("idle class screen process cpu", idle, "% of one core", "< 0.5 %", idle < 0.5);
        Figure("idle class screen main thread cpu", wall1 > wall0 ? 100.0 * (thread1 - thread0) / (wall1 - wall0) : 0,
               "% of one core");
    }

    std::printf("load average at end: %s\n", LoadAverage().c_str());
    CloseGraphicsWindow();
    return 0;
}
