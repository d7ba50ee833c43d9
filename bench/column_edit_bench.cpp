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
#include "headless_start.hpp"
#include "year_gradebook.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/column_edit.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/program_state.hpp"
#include "platform/graphics.hpp"
#include "platform/headless_backend.hpp"
#include "platform/input_script.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"
#include "tiles/user.hpp"

using namespace bench;

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
    for (int i = 1; i <= 40; ++i)
        SchuelerAnhaengen(*k, i, {u"Müller" + TextFromUtf8(std::to_string(100 + (i * 37) % 40)), u"Jörg"},
                          [&](int j) { return noten[static_cast<size_t>(i + j) % noten.size()]; });
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
        letzterFrame = ThreadCpuMs();
    }
    void Klick(long long f, float x, float y) {
        backend.At(f, {ScriptedEvent::MouseDown, 0, x, y});
        backend.At(f + 2, {ScriptedEvent::MouseUp, 0, x, y});
    }
};

void Zeile(const char* name, const std::vector<double>& ms) {
    const double m = Median(ms);
    std::printf("%s: median %.3f ms, max %.3f ms (target < 2 ms: %s)\n", name, m, Maximum(ms), Verdict(m < 2.0));
}

}  // namespace

int main(int argc, char** argv) {
    const int runden = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    HeadlessBackend backend(1920, 1080);
    StartHeadless(backend);
    Taktgeber = CreateFrameTimer(50);
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
        hinzufuegen.push_back(ThreadCpuMs() - neu.letzterFrame);
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
        loeschen.push_back(ThreadCpuMs() - weg.letzterFrame);
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
