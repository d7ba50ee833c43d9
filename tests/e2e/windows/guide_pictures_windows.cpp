// Makes the Windows pictures of the German guide (docs/Anleitung.md): the
// setup's pages and the program it starts, under wine in Xvfb, driven like a
// teacher would. Run through tools/make_windows_guide_pictures.sh; the
// pictures land in the folder given as the first argument.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gradebook_files.hpp"
#include "platform/image_decode.hpp"
#include "teacher_steps.hpp"
#include "wine_session.hpp"

namespace fs = std::filesystem;
using namespace steps;

namespace {
std::string ziel;
int fehler = 0;

void Pruefen(bool ok, const char* was) {
    if (!ok) {
        std::fprintf(stderr, "Schritt misslungen: %s\n", was);
        ++fehler;
    }
}

void Bild(ProgramUnderTest& p, const std::string& name, int x, int y, int w, int h) {
    const Screenshot s = p.Shoot();
    DecodedImage img;
    img.width = w;
    img.height = h;
    img.argb.resize(size_t(w) * h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) img.argb[size_t(j) * w + i] = 0xFF000000u | s.At(x + i, y + j);
    std::vector<unsigned char> bytes;
    EncodePng(img, false, 9, bytes);
    std::ofstream f(ziel + "/" + name + ".png", std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::printf("  %s.png\n", name.c_str());
}

// The picture of one window (the setup's dialog), a small margin around it.
void Fensterbild(ProgramUnderTest& p, const std::string& fenster, const std::string& name) {
    const std::string g = p.Xdo({"getwindowgeometry", "--shell", fenster});
    auto feld = [&](const std::string& key) {
        const size_t at = g.find(key + "=");
        return at == std::string::npos ? -1 : std::atoi(g.c_str() + at + key.size() + 1);
    };
    const int x = feld("X"), y = feld("Y"), w = feld("WIDTH"), h = feld("HEIGHT");
    Pruefen(x >= 0 && w > 0, "Fenstermaße");
    if (x < 0 || w <= 0) return;
    Bild(p, name, std::max(0, x - 8), std::max(0, y - 8), std::min(w + 16, 1920 - std::max(0, x - 8)),
         std::min(h + 16, 1080 - std::max(0, y - 8)));
}

void Taste(ProgramUnderTest& p, const std::string& fenster, const std::string& taste) {
    p.Xdo({"windowfocus", "--sync", fenster});
    p.Xdo({"key", "--delay", "80", taste});
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: %s <Zielordner>\n", argv[0]);
        return 2;
    }
    ziel = argv[1];
    fs::create_directories(ziel);
    wine::UseRunPrefix();
    VirtualDisplay display(1920, 1080);
    if (!display.Ok()) return 1;
    std::printf("Bilder nach %s:\n", ziel.c_str());

    // The setup, page by page; its last page starts the program.
    ProgramUnderTest setup(display, wine::UserFolder());
    Pruefen(setup.StartCommand({"wine", RK_WINDOWS_SETUP}), "Setup starten");
    std::string fenster = WaitForWindowNamed(setup, "Installation von Rido Kladdorix", 60000);
    Pruefen(!fenster.empty(), "Setup-Fenster");
    if (fenster.empty()) return 1;
    SleepMs(1500);
    Fensterbild(setup, fenster, "windows-01-setup-willkommen");
    Taste(setup, fenster, "Return");
    SleepMs(1200);
    Fensterbild(setup, fenster, "windows-02-setup-ordner");
    Taste(setup, fenster, "Return");
    SleepMs(4000);
    Fensterbild(setup, fenster, "windows-03-setup-fertig");
    Taste(setup, fenster, "Return");  // "Fertigstellen", with "Rido Kladdorix jetzt starten"

    const std::string programm = WaitForWindowNamed(setup, "^Rido Kladdorix$", 60000);
    Pruefen(!programm.empty(), "Programmfenster nach dem Setup");
    if (programm.empty()) return 1;
    Pruefen(setup.WaitForPixel(960, 1070, kHintergrund, 30000), "Katalog");
    SleepMs(1200);
    Bild(setup, "windows-04-erster-start", 0, 0, 1920, 600);

    // A class typed in and a name list from the Windows file dialog.
    const std::string liste = wine::UserFolder() + "/Documents/Klassenliste 7a.txt";
    fs::create_directories(fs::path(liste).parent_path());
    WriteFileBytes(liste, "Berger Lena Marie\r\n\xD6zdemir Can\r\nKowalski Lukasz\r\nM\xFCller Anna Lena\r\n"
                          "Schmidt Jonas\r\nYilmaz Elif\r\n");
    setup.Click(846 + 114, 123 + 57);
    SleepMs(700);
    setup.Click(652 + 4 + 1 * 204 + 100, 237 + 4 + 45);
    SleepMs(900);
    Taste(setup, programm, "7");
    Taste(setup, programm, "a");
    Taste(setup, programm, "Return");
    SleepMs(800);
    setup.Xdo({"type", "--delay", "60", "Mathe"});
    Taste(setup, programm, "Return");
    Pruefen(setup.WaitForPixel(10, 8 + 111, kKachel, 15000), "neue Klasse");
    SleepMs(700);
    setup.Click(100, 60);
    SleepMs(700);
    setup.Click(4 + 0 * 204 + 100, 4 + 3 * 94 + 45);  // "Namensliste importieren"
    const std::string dialog = WaitForWindowNamed(setup, "Textdatei");
    Pruefen(!dialog.empty(), "Dateidialog");
    if (!dialog.empty()) {
        SleepMs(1500);
        Bild(setup, "windows-05-namensliste-dialog", 0, 0, 1920, 1080);
        setup.Xdo({"windowfocus", "--sync", dialog});
        setup.Xdo({"type", "--delay", "40", wine::WindowsPath(liste)});
        setup.Xdo({"key", "--delay", "80", "Return"});
        for (int i = 0; i < 100 && !WaitForWindowNamed(setup, "Textdatei", 100).empty(); ++i) SleepMs(100);
        Pruefen(WaitForWindowNamed(setup, "Textdatei", 100).empty(), "Dateidialog geschlossen");
        SleepMs(2000);
    }
    Bild(setup, "windows-06-klasse", 0, 0, 1280, 720);
    Taste(setup, programm, "Escape");
    SleepMs(3000);
    std::printf("%s\n", fehler ? "mit Fehlern" : "fertig");
    return fehler ? 1 : 0;
}
