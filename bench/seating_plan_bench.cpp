// Seating plan benchmark on the real SDL/OpenGL backend after the program's
// own start-up: a class of 32 students with a 360 x 360 portrait each. Prints
// where decoding a class's portraits spends its time, the plan's first frame
// after the class opened (through the class menu as a teacher gets there, at
// the earliest moment, and without decoding ahead), opened again with its
// portraits kept, the frames of a student dragged across the room, each split into
// recording and present, and the taps a roll call of 28 students with three
// absent takes. Frames are presented with Flip(0): the figures hold the work,
// not the 50 Hz pacing.
//
//   rk_seating_plan_bench [openings] [drag frames]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.hpp"
#include "program_start.hpp"
#include "temp_work_folder.hpp"
#include "classscreen/class_commands.hpp"
#include "classscreen/seating_plan_screen.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/grid_tiles.hpp"
#include "gradebook/photo_paths.hpp"
#include "gradebook/portrait_cache.hpp"
#include "gradebook/portrait_files.hpp"
#include "gradebook/portrait_preparation.hpp"
#include "gradebook/program_state.hpp"
#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/image_decode.hpp"
#include "platform/resources.hpp"
#include "platform/sealed_files.hpp"
#include "platform/input_script.hpp"
#include "platform/pixmap.hpp"
#include "platform/process.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/user.hpp"

using namespace bench;

namespace {
MeasuringBackend* gBackend = nullptr;
// The class screen's frames (50 Hz) before the class menu is tapped, and the
// portraits the class screen loop makes textures per frame.
constexpr int kBisZumMenue = 25, kJeFrame = 4;

std::shared_ptr<TSchulklasse> Klasse(int n) {
    auto k = TSchulklasse::bauen({u"6b", u"Englisch"}, 0);
    const std::vector<Text> nach{u"Adler", u"Becker", u"Celik", u"Dorn", u"Engel", u"Fuchs", u"Graf", u"Hahn"};
    const std::vector<Text> vor{u"Anna", u"Ben", u"Clara", u"David", u"Emma", u"Finn", u"Greta", u"Hugo"};
    for (int i = 1; i <= n; ++i) {
        auto z = TZensurzeile::bauen(1);
        z->Kachel[0] = NamenskachelBauen(nach[size_t(i % 8)] + TextFromInt(i), vor[size_t(i * 3 % 8)], i, 0, ZeilenY(i));
        k->Zensurzeile.push_back(z);
        k->Telefonnummer.push_back(kPlatzhalterTelefon);
        k->Notizen.push_back(kPlatzhalterNotizen);
        k->VergesseneHA.push_back(kPlatzhalterVergesseneHA);
        ++k->Schueleranzahl;
    }
    k->NachNamenSortieren(0);
    return k;
}

// A portrait as the photo import writes it: 360 x 360, 24 bit, PNG level 0.
void Portraits(const TSchulklasse& k) {
    for (int i = 1; i < k.Schueleranzahl; ++i) {
        TPixmap p = CreatePixmap(360, 360, 3, 4);
        for (int y = 0; y < 360; ++y)
            for (int x = 0; x < 360; ++x)
                WritePixel(p, x, y, 0xFF000000u | uint32_t((x + i * 40) & 255) << 16 | uint32_t(y & 255) << 8 | uint32_t(i * 7));
        SavePixmapAsPNG(p, PortraitDerZeile(k, i), 0);
    }
}

// What the window itself shows (not the kept picture), as an X window dump,
// when RK_BENCH_CAPTURE names a folder: a partial present must leave no trail.
void FensterFesthalten(const char* name) {
    const char* ordner = std::getenv("RK_BENCH_CAPTURE");
    const char* display = std::getenv("DISPLAY");
    if (!ordner || !*ordner || !display) return;
    RunAndWait({u"xwd", u"-root", u"-silent", u"-display", TextFromUtf8(display), u"-out",
                TextFromUtf8(std::string(ordner) + "/" + name + ".xwd")});
}

// Taps scheduled for the frames to come, counted.
int gTaps = 0;
void Tippen(long long frame, float x, float y) {
    ScriptInput(frame, {ScriptedEvent::MouseMove, 0, x, y, Text()});
    ScriptInput(frame, {ScriptedEvent::MouseDown, 0, x, y, Text()});
    ScriptInput(frame + 2, {ScriptedEvent::MouseUp, 0, x, y, Text()});
    ++gTaps;
}

void Bild(TSitzplanAnsicht& a) {
    Cls();
    User::update();
    a.anzeigen();
    FrameEnd();
    a.verwalten();
}
}  // namespace

int main(int argc, char** argv) {
    const int openings = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int dragFrames = argc > 2 ? std::max(10, std::atoi(argv[2])) : 200;
    gBackend = StartLikeTheProgram("rk_seating_plan_bench");
    if (!gBackend) return 1;
    const TempWorkFolder ordner("rk-seating-plan-bench");
    if (!ordner.ok()) return 1;

    auto klasse = Klasse(32);
    if (!klasse->speichern(u"")) {
        std::fputs("rk_seating_plan_bench: saving failed\n", stderr);
        return 1;
    }
    Portraits(*klasse);
    std::printf("window: %dx%d px, class of %d students with 360 x 360 portraits\n", GraphicsWidth(),
                GraphicsHeight(), klasse->Schueleranzahl - 1);
    std::printf("load average at start: %s\n", LoadAverage().c_str());

    // ---- a) Where a first opening's time goes, portrait by portrait.
    std::vector<TPixmap> bilder;  // what Portraits wrote, to write it anew
    for (int i = 1; i < klasse->Schueleranzahl; ++i) bilder.push_back(LoadPixmapFrom(PortraitDerZeile(*klasse, i)));
    const int groesse = TSitzplanAnsicht::Portraitgroesse();
    {
        double lesen = 0, entschluesseln = 0, dekodieren = 0, umwandeln = 0, verkleinern = 0, hochladen = 0;
        std::vector<TImage> behalten;
        for (int i = 1; i < klasse->Schueleranzahl; ++i) {
            const Text pfad = PortraitDerZeile(*klasse, i);
            std::vector<unsigned char> bytes;
            DecodedImage d;
            const double t0 = WallMs();
            ReadSourceBytes(pfad, bytes);
            const double t1 = WallMs();
            OpenIfSealed(bytes, pfad);
            const double t2 = WallMs();
            DecodeImage(bytes, d, groesse);
            const double t3 = WallMs();
            const TPixmap p = LoadPixmapFrom(pfad, groesse);
            const double t4 = WallMs();
            const TPixmap k = Verkleinert(p, groesse);
            const double t5 = WallMs();
            behalten.push_back(LoadImageFrom(k));
            const double t6 = WallMs();
            lesen += t1 - t0;
            entschluesseln += t2 - t1;
            dekodieren += t3 - t2;
            umwandeln += (t4 - t3) - (t3 - t0);  // LoadPixmapFrom reads and decodes again
            verkleinern += t5 - t4;
            hochladen += t6 - t5;
        }
        std::printf("one class's portraits (%d), step by step, at %d x %d px:\n", klasse->Schueleranzahl - 1, groesse,
                    groesse);
        Figure("  file read", lesen, "ms");
        Figure("  opened if sealed", entschluesseln, "ms");
        Figure("  PNG decode", dekodieren, "ms");
        Figure("  into a 24-bit pixmap", umwandeln, "ms");
        Figure("  averaged down", verkleinern, "ms");
        Figure("  uploaded into the atlas", hochladen, "ms");
    }

    // ---- b) The plan's first frame after the class opened: the portraits
    // written anew before each opening (nothing of them kept), the class
    // screen started their decoding, the class menu is tapped 0.5 s after the
    // class appeared, it flies in, and a quick teacher taps "Sitzplan" 0.2 s
    // after it stands. Then the worst case:
    // the plan opened at once, before even the class's first frame. Then the old way,
    // without decoding ahead.
    auto neuGeschrieben = [&] {
        for (int i = 1; i < klasse->Schueleranzahl; ++i) SavePixmapAsPNG(bilder[size_t(i - 1)], PortraitDerZeile(*klasse, i), 0);
    };
    auto ersterFrame = [&](std::vector<double>& alle, std::vector<double>& auf, std::vector<double>& pr,
                           const char* bild) {
        User::flush();
        const double t0 = WallMs();
        auto a = TSitzplanAnsicht::bauen(*klasse);
        Cls();
        User::update();
        a->anzeigen();
        const double t1 = WallMs();
        Flip(0);
        const double t2 = WallMs();
        alle.push_back(t2 - t0);
        auf.push_back(t1 - t0);
        pr.push_back(t2 - t1);
        if (bild) {
            Festhalten(bild);
            FensterFesthalten((std::string(bild) + "-window").c_str());
        }
        WaitTimer(Taktgeber);
    };
    // The class screen's frames as its loop runs them, portraits decoded
    // ahead made textures after each.
    std::vector<double> uebernahme, uebernahmeSumme;  // per class-screen frame, per opening
    auto klasseGeoeffnet = [&](int frames) {
        klasse->Unterricht.reset();
        const double t0 = WallMs();
        SitzplanVorbereiten(*klasse);
        const double start = WallMs() - t0;
        double summe = start;
        for (int i = 0; i < frames; ++i) {
            KlassenbildAufbauen(*klasse);
            Flip(0);
            const double t1 = WallMs();
            if (VorbereitetePortraitsUebernehmen(kJeFrame) > 0) {
                uebernahme.push_back(WallMs() - t1);
                summe += WallMs() - t1;
            }
            WaitTimer(Taktgeber);
        }
        uebernahmeSumme.push_back(summe);
    };
    auto ueberDasKlassenmenue = [&] {
        Klassenmenue->einblenden(0, 0, 100, 60, nullptr, kPositionBehalten, kPositionBehalten);
        bool getippt = false;
        SetFrameObserver([&] {
            if (getippt || Klassenmenue->Status != 2) return;
            getippt = true;
            const TKachel& k = *Klassenmenue->Kachel[kSitzplan];
            Tippen(FramesEnded() + 10, k.x + k.Breite / 2.0f, k.y + k.Tiefe / 2.0f);
        });
        Klassenmenue->verwenden();
        SetFrameObserver(nullptr);
        return Klassenmenue->Auswahl_Kachelindex == kSitzplan;
    };
    const int gesamt = openings + 1;
    std::printf("class menu tapped %d frames after the class opened (%d portraits made textures per frame)\n",
                kBisZumMenue, kJeFrame);
    std::vector<double> weg, wegAuf, wegPr, sofort, sofortAuf, sofortPr, alt, altAuf, altPr;
    bool menueOk = true;
    for (int n = 0; n < gesamt; ++n) {
        if (n > 0) neuGeschrieben();
        klasseGeoeffnet(kBisZumMenue);
        menueOk = ueberDasKlassenmenue() && menueOk;
        ersterFrame(weg, wegAuf, wegPr, n == 0 ? "seating-plan-first-frame" : nullptr);
    }
    for (int n = 0; n < gesamt; ++n) {
        neuGeschrieben();
        klasse->Unterricht.reset();
        SitzplanVorbereiten(*klasse);
        ersterFrame(sofort, sofortAuf, sofortPr, n == 0 ? "seating-plan-first-frame-earliest" : nullptr);
    }
    for (int n = 0; n < gesamt; ++n) {
        neuGeschrieben();
        VorbereitungBeenden();
        klasse->Unterricht.reset();
        KlassenbildAufbauen(*klasse);
        Flip(0);
        WaitTimer(Taktgeber);
        ersterFrame(alt, altAuf, altPr, nullptr);
    }
    if (!menueOk) std::puts("the class menu did not open the plan");
    auto ohneErstes = [](std::vector<double> v) {
        v.erase(v.begin());
        return v;
    };
    Figure("plan first frame, very first opening of the run (class menu way)", weg[0], "ms", "< 20 ms", weg[0] < 20);
    Figure("  reading, decoding and recording", wegAuf[0], "ms");
    Figure("  present", wegPr[0], "ms");
    Figure("plan first frame, class opened, class menu, \"Sitzplan\", median", Percentile(ohneErstes(weg), 0.5), "ms",
           "< 20 ms", Percentile(ohneErstes(weg), 0.5) < 20);
    Figure("plan first frame, class opened, class menu, \"Sitzplan\", p95", Percentile(ohneErstes(weg), 0.95), "ms");
    Figure("  recording median", Percentile(ohneErstes(wegAuf), 0.5), "ms");
    Figure("  present median", Percentile(ohneErstes(wegPr), 0.5), "ms");
    Figure("class screen: starting the decoding and making textures, per opening, median",
           Percentile(uebernahmeSumme, 0.5), "ms");
    Figure("class screen: making textures in one frame, median", Percentile(uebernahme, 0.5), "ms");
    Figure("class screen: making textures in one frame, p95", Percentile(uebernahme, 0.95), "ms");
    Figure("plan first frame, opened with the class (worst case), median", Percentile(sofort, 0.5), "ms");
    Figure("plan first frame, opened with the class (worst case), p95", Percentile(sofort, 0.95), "ms");
    Figure("  recording median", Percentile(sofortAuf, 0.5), "ms");
    Figure("  present median", Percentile(sofortPr, 0.5), "ms");
    Figure("plan first frame without decoding ahead, median", Percentile(alt, 0.5), "ms");
    Figure("plan first frame without decoding ahead, p95", Percentile(alt, 0.95), "ms");
    std::printf("load average after the first openings: %s\n", LoadAverage().c_str());

    // ---- c) The plan opened again: its portraits kept as textures.
    std::vector<double> erstes, aufbau, praesent, calls;
    for (int n = 0; n < openings; ++n) {
        KlassenbildAufbauen(*klasse);
        Flip(0);
        WaitTimer(Taktgeber);
        klasse->Unterricht.reset();
        ersterFrame(erstes, aufbau, praesent, nullptr);
        calls.push_back(LastFrameFigures().drawCalls);
    }
    Figure("plan first frame, opened again, median", Percentile(erstes, 0.5), "ms", "< 20 ms",
           Percentile(erstes, 0.5) < 20);
    Figure("plan first frame, opened again, p95", Percentile(erstes, 0.95), "ms");
    Figure("  reading and recording median", Percentile(aufbau, 0.5), "ms");
    Figure("  reading and recording p95", Percentile(aufbau, 0.95), "ms");
    Figure("  present median", Percentile(praesent, 0.5), "ms");
    Figure("  present p95", Percentile(praesent, 0.95), "ms");
    Figure("  draw calls", Maximum(calls), "calls");
    std::printf("portraits decoded while a plan opened: %lld\n", PortraitZahlen().gelesen);
    std::printf("load average after the first frames: %s\n", LoadAverage().c_str());

    // ---- d) Dragging a student across the room in the arranging mode.
    auto a = TSitzplanAnsicht::bauen(*klasse);
    a->Modus_ = TSitzplanAnsicht::kAnordnen;
    Bild(*a);
    const auto von = a->Platz(1, 1), nach = a->Platz(7, 6);
    const float x0 = von.x + von.b / 2.0f, y0 = von.y + von.h / 2.0f;
    ScriptInput(FramesEnded(), {ScriptedEvent::MouseMove, 0, x0, y0, Text()});
    ScriptInput(FramesEnded(), {ScriptedEvent::MouseDown, 0, x0, y0, Text()});
    std::vector<double> zug, zugAufbau, zugPraesent, zugCalls;
    int geflickt = 0;
    for (int i = 0; i < dragFrames + 2; ++i) {
        const float t = float(i % 100) / 100.0f;
        const float x = x0 + (nach.x - von.x) * (i / 100 % 2 ? 1 - t : t), y = y0 + (nach.y - von.y) * (i / 100 % 2 ? 1 - t : t);
        ScriptInput(FramesEnded() + 1, {ScriptedEvent::MouseMove, 0, x, y, Text()});
        const double t0 = WallMs();
        Cls();
        User::update();
        a->anzeigen();
        const double t1 = WallMs();
        Flip(0);
        const double t2 = WallMs();
        if (i >= 2) {
            zug.push_back(t2 - t0);
            zugAufbau.push_back(t1 - t0);
            zugPraesent.push_back(t2 - t1);
            zugCalls.push_back(LastFrameFigures().drawCalls);
            geflickt += LastFrameFigures().patched;
        }
        if (i == dragFrames / 2) {
            Festhalten("seating-plan-drag");
            FensterFesthalten("seating-plan-drag-window");
        }
        WaitTimer(Taktgeber);
        a->verwalten();
    }
    ScriptInput(FramesEnded(), {ScriptedEvent::MouseUp, 0, x0, y0, Text()});
    Bild(*a);
    Bild(*a);
    FensterFesthalten("seating-plan-after-drag-window");
    Figure("drag frame median", Percentile(zug, 0.5), "ms", "< 10 ms", Percentile(zug, 0.5) < 10);
    Figure("drag frame p95", Percentile(zug, 0.95), "ms");
    Figure("  recording median", Percentile(zugAufbau, 0.5), "ms");
    Figure("  recording p95", Percentile(zugAufbau, 0.95), "ms");
    Figure("  present median", Percentile(zugPraesent, 0.5), "ms");
    Figure("  present p95", Percentile(zugPraesent, 0.95), "ms");
    Figure("  draw calls median", Percentile(zugCalls, 0.5), "calls");
    std::printf("drag frames drawn only where they changed: %d of %zu\n", geflickt, zug.size());
    std::printf("load average after the drag: %s\n", LoadAverage().c_str());

    // ---- e) Roll call of 28 students, three absent: the taps it takes.
    auto klein = Klasse(28);
    klein->Titel = {u"6c", u"Englisch"};
    klein->speichern(u"");
    auto r = TSitzplanAnsicht::bauen(*klein);
    gTaps = 0;
    Bild(*r);
    const auto knopf = r->Knopfplatz(TSitzplanAnsicht::kKnopfAnwesenheit);
    Tippen(FramesEnded(), knopf.x + 30.0f, knopf.y + 30.0f);
    // The lesson menu: its third tile once it stands.
    bool gewaehlt = false;
    SetFrameObserver([&] {
        if (gewaehlt || !Stundenmenue || Stundenmenue->Status != 2) return;
        gewaehlt = true;
        const TKachel& k = *Stundenmenue->Kachel[2];
        Tippen(FramesEnded() + 2, k.x + k.Breite / 2.0f, k.y + k.Tiefe / 2.0f);
    });
    for (int i = 0; i < 60 && r->Modus_ != TSitzplanAnsicht::kAnwesenheit; ++i) Bild(*r);
    SetFrameObserver(nullptr);
    const int start = gTaps;
    for (auto [s, z] : {std::pair{2, 1}, std::pair{5, 3}, std::pair{7, 4}}) {
        const auto p = r->Platz(s, z);
        Tippen(FramesEnded() + 1, p.x + p.b / 2.0f, p.y + p.h / 2.0f);
        for (int i = 0; i < 5; ++i) Bild(*r);
    }
    Festhalten("seating-plan-roll-call");
    const size_t zeilen = UnterrichtLaden(*klein).Fehlzeiten.Eintraege.size();
    std::printf("roll call: %d students, %zu marked absent\n", klein->Schueleranzahl - 1, zeilen);
    Figure("roll call taps to start", start, "taps", "2", start == 2);
    Figure("roll call taps in all, 3 absent", gTaps, "taps", "2 + 3", gTaps == 5 && zeilen == 3);
    return 0;
}
