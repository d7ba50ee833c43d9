// Adding a grade column and deleting an average group in a full-year
// gradebook (40 students, 60 columns with two average groups) on the headless
// backend, answered through the program's own menus and boxes. Measured: the
// thread CPU from the last frame of the dialogs to the return of the command,
// i.e. the program's work on the gradebook (tiles, scroll limits, averages),
// without the frames of the menus themselves.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_util.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/column_edit.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/grid_tiles.hpp"
#include "gradebook/program_state.hpp"
#include "platform/graphics.hpp"
#include "platform/headless_backend.hpp"
#include "platform/image_font.hpp"
#include "platform/input_script.hpp"
#include "platform/platform_context.hpp"
#include "shell/media.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"
#include "tiles/user.hpp"

namespace {

// Two half-years of 27 grade columns, each closed by an average group; a
// grade in every grade cell, the averages computed.
std::shared_ptr<TSchulklasse> Jahrgang() {
    const std::vector<Text> typen{u"Arbeit", u"Test", u"Mündl.", u"HA.", u"Referat", u"10h-Test", u"Heft"};
    const std::vector<Text> noten{u"1+", u"2-", u"3", u"4+", u"2-3", u"5", u"n.f.", u"1"};
    auto k = TSchulklasse::bauen({u"8c", u"Mathematik"}, 0);
    for (int h = 0; h < 2; ++h) {
        for (int n = 0; n < 27; ++n) {
            const Text& t = typen[static_cast<size_t>(n + h) % typen.size()];
            SpalteAnhaengen(*k, {t, Typsymbol(t), u"12.10.15"}, Typfarbe(t));
        }
        for (const char16_t* t : {u"schriftl.", u"sonst.", u"HauptF."})
            SpalteAnhaengen(*k, {t, kDurchschnittssymbol}, Typfarbe(t));
    }
    for (int i = 1; i <= 40; ++i) {
        auto z = TZensurzeile::bauen(k->Notenanzahl);
        z->Kachel[0] = NamenskachelBauen(u"Müller" + TextFromUtf8(std::to_string(100 + (i * 37) % 40)), u"Jörg", i,
                                         0, ZeilenY(i));
        for (int j = 1; j < k->Notenanzahl; ++j)
            z->Kachel[j] = NotenzelleBauen(noten[static_cast<size_t>(i + j) % noten.size()], i, j, k->Zelle(0, j).RGB,
                                           0, ZeilenY(i));
        k->Zensurzeile.push_back(z);
        k->Telefonnummer.push_back(kPlatzhalterTelefon);
        k->Notizen.push_back(kPlatzhalterNotizen);
        k->VergesseneHA.push_back(kPlatzhalterVergesseneHA);
        ++k->Schueleranzahl;
    }
    k->NachNamenSortieren(0);
    k->Durchschnittsnotenberechnung(-1);
    return k;
}

// Answers the dialogs as they come: taps tile `kachel` of `menu` once it is
// shown, then (if given) the button at (bx, by) of the box that follows.
// Stamps the thread CPU at the end of every frame.
struct Antworten {
    HeadlessBackend& backend;
    std::shared_ptr<TMenu> menu;
    int kachel;
    float bx = -1, by = -1;
    int schritt = 0;
    long long weiter = 0;
    double letzterFrame = 0;

    void operator()() {
        const long long jetzt = backend.Flips();
        if (schritt == 0 && menu->Status == 2) {
            const TKachel& k = *menu->Kachel[static_cast<size_t>(kachel)];
            Klick(jetzt + 1, k.x + k.Breite / 2.0f, k.y + k.Tiefe / 2.0f);
            schritt = 1;
            weiter = jetzt + 20;
        } else if (schritt == 1 && bx >= 0 && jetzt >= weiter) {
            Klick(jetzt + 1, bx, by);
            schritt = 2;
        }
        letzterFrame = bench::ThreadCpuMs();
    }
    void Klick(long long f, float x, float y) {
        backend.At(f, {ScriptedEvent::MouseDown, 0, x, y});
        backend.At(f + 2, {ScriptedEvent::MouseUp, 0, x, y});
    }
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Zeile(const char* name, const std::vector<double>& ms) {
    const double m = Median(ms), hoechst = *std::max_element(ms.begin(), ms.end());
    std::printf("%s: median %.3f ms, max %.3f ms (target < 2 ms: %s)\n", name, m, hoechst, m < 2.0 ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    const int runden = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    RegisterEmbeddedMedia();
    HeadlessBackend backend(1920, 1080);
    UseBackend(&backend);
    OpenGraphicsWindow(1920, 1080, 0, 60, 0);
    Bildschirmbreite = 1920;
    Bildschirmhoehe = 1080;
    Taktgeber = CreateFrameTimer(50);
    Symbolschrift = LoadFontFrom(u"incbin::media/fonts/MySymbolFont.ttf", 48, kSmoothFont);
    Schrift32 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32, kSmoothFont);
    Schrift16 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 16, kSmoothFont);
    TInfoBox::LadeSchriften();
    Texteingabe::initialisieren();
    BaueKlassenmenues();
    User::update();

    std::vector<double> hinzufuegen, loeschen;
    for (int r = 0; r < runden; ++r) {
        auto k = Jahrgang();
        // A "Test" column through the type menu (tile 3).
        Antworten neu{backend, Spaltentypmenue, 3};
        SetFrameObserver(std::ref(neu));
        k->NeueNotenspalteEinfuegen();
        hinzufuegen.push_back(bench::ThreadCpuMs() - neu.letzterFrame);
        SetFrameObserver(nullptr);
        if (k->Notenanzahl != 62) {
            std::fprintf(stderr, "no column added\n");
            return 1;
        }

        // The first average group (columns 28 to 30), deleted from its "sonst." heading.
        auto warnung = TInfoBox::bauen(u"Warnung", {255, 0, 0},
                                       {u"Wollen Sie wirklich diese Notenspalte",
                                        u"mit sämtlichen Noten aller 40 Schüler",
                                        u"für immer aus der Liste entfernen?!"},
                                       {u"Ja, das ist ok", u"NEIN"});
        const TKachel& ja = *warnung->Schalter[0];
        Antworten weg{backend, Spaltenmenue, 1, ja.x + ja.Breite / 2.0f, ja.y + ja.Tiefe / 2.0f};
        SetFrameObserver(std::ref(weg));
        Spaltenbefehle(*k, 29);
        loeschen.push_back(bench::ThreadCpuMs() - weg.letzterFrame);
        SetFrameObserver(nullptr);
        if (k->Notenanzahl != 59) {
            std::fprintf(stderr, "group not deleted\n");
            return 1;
        }
    }
    std::printf("gradebook: 40 students x 60 columns, two average groups, %d rounds\n", runden);
    Zeile("add a column (after the type menu)", hinzufuegen);
    Zeile("delete an average group (after the box)", loeschen);
    return 0;
}
