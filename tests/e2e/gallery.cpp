// Gallery (not part of the program): starts like the program, then shows every
// shared menu, an information box with two buttons and the on-screen keyboard
// in the real window, saves each picture as a PNG and writes where its panel
// and first tile lie, for the end-to-end test to check at pixels.
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/input_script.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "gradebook/program_state.hpp"
#include "shell/shared_menus.hpp"
#include "shell/startup.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"
#include "tiles/user.hpp"
#include "gallery_keyboard.hpp"

namespace {
std::string gOut;
std::ofstream gIndex;

Text Png(const std::string& name) { return TextFromUtf8(gOut + "/" + name + ".png"); }

// A plain screen under the dialogs, so that each starts from the same picture.
void Background() {
    for (int i = 0; i < 2; ++i) {
        Cls();
        SetColor(60, 60, 90);
        DrawRect(40, 40, 300, 120);
        SetColor(255, 255, 255);
        SetDrawFont(Schrift32);
        DrawTextAt(u"Galerie", 60, 70);
        FrameEnd();
    }
}

// Capture after the fly-in, then Escape closes the dialog.
void ScriptCaptureThenEscape(const std::string& name, int afterFrames) {
    const long long f = FramesEnded();
    ScriptInput(f + afterFrames, {ScriptedEvent::Capture, 0, 0, 0, Png(name)});
    ScriptInput(f + afterFrames + 1, {ScriptedEvent::KeyDown, 27});
    ScriptInput(f + afterFrames + 2, {ScriptedEvent::KeyUp, 27});
}

void Record(const std::string& name, int px, int py, int pw, int ph, const RGBFarbe& pc, const TKachel& t) {
    gIndex << name << ' ' << px << ' ' << py << ' ' << pw << ' ' << ph << ' ' << pc[0] << ' ' << pc[1] << ' '
           << pc[2] << ' ' << t.x << ' ' << t.y << ' ' << t.Breite << ' ' << t.Tiefe << ' ' << t.RGB[0] << ' '
           << t.RGB[1] << ' ' << t.RGB[2] << ' ' << t.Text_RGB[0] << ' ' << t.Text_RGB[1] << ' ' << t.Text_RGB[2]
           << '\n';
}

void ShowMenu(const std::string& name, TMenu& menu) {
    Background();
    menu.einblenden(300, 200, Bildschirmbreite / 2, Bildschirmhoehe / 2, nullptr, 0, 0);
    ScriptCaptureThenEscape(name, 12);
    const Text r = menu.verwenden();
    Record(name, menu.x, menu.y, menu.Breite, menu.Tiefe, menu.BackRGB, *menu.Kachel[0]);
    if (!r.empty()) std::fprintf(stderr, "gallery: %s closed with a choice\n", name.c_str());
}

void ShowInfoBox() {
    Background();
    auto box = TInfoBox::bauen(u"Warnung", {255, 255, 0},
                               {u"Soll die Klasse 7b wirklich komplett gelöscht werden?",
                                u"Alle Noten, Bilder und Backups gehen verloren."},
                               {u"Ja, das ist ok", u"NEIN"});
    ScriptCaptureThenEscape("infobox", 14);
    box->verwenden();
    Record("infobox", box->x, box->y, box->Breite, box->Tiefe, TInfoBox::InfoHintergrund, *box->Schalter[0]);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: rk_gallery OUTPUT-FOLDER\n", stderr);
        return 2;
    }
    gOut = argv[1];
    if (!UseSdlBackend()) return 1;
    if (!Hochfahren()) return 1;
    gIndex.open(gOut + "/gallery.txt");
    ShowMenu("notenmenue-0", *Notenmenue[0]);
    ShowMenu("notenmenue-1", *Notenmenue[1]);
    ShowMenu("hauptmenue", *Hauptmenue);
    ShowMenu("klassenmenue", *Klassenmenue);
    ShowMenu("spaltentypmenue", *Spaltentypmenue);
    ShowMenu("typwechselmenue", *Typwechselmenue);
    ShowMenu("schuelermenue", *Schuelermenue);
    ShowMenu("spaltenmenue", *Spaltenmenue);
    ShowInfoBox();
    Background();
    ShowKeyboard(gOut, gIndex);
    return gIndex.good() ? 0 : 1;
}
