// Makes the pictures of the German guide (docs/Anleitung.md): the real
// program under Xvfb, driven like a teacher would, step by step through a
// first school year, its printed reports (the first page of each PDF, drawn
// by pdftoppm) and switching encryption on. Run through
// tools/make_guide_pictures.sh; the pictures land in the folder given as the
// first argument. A stand-in xdg-open keeps the PDFs from opening; switching
// on encryption takes a while, and the lock comes after 5 idle minutes.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/image_decode.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;

std::string ziel;
int fehler = 0;

uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

// Saves the part (x, y, w, h) of the screen as docs picture `name`.png.
void Bild(ProgramUnderTest& p, const std::string& name, int x = 0, int y = 0, int w = 1920, int h = 1080) {
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

void Pruefen(bool ok, const char* was) {
    if (!ok) {
        std::fprintf(stderr, "Schritt misslungen: %s\n", was);
        ++fehler;
    }
}

bool Finde(const Screenshot& s, uint32_t farbe, int x0, int y0, int x1, int y1, int& x, int& y, int lauf = 30) {
    for (y = y0; y < y1; ++y) {
        int n = 0;
        for (x = x0; x < x1; ++x) {
            n = s.At(x, y) == farbe ? n + 1 : 0;
            if (n == lauf) {
                x -= lauf - 1;
                return true;
            }
        }
    }
    return false;
}

// The left button of an information box (face colour 56, 56, 56).
void LinkerSchalter(ProgramUnderTest& p) {
    SleepMs(500);
    int x, y;
    const Screenshot s = p.Shoot();
    if (Finde(s, Rgb(56, 56, 56), 300, 300, 1620, 900, x, y))
        p.Click(x + 15, y + 15);
    else
        Pruefen(false, "kein Schalter");
    SleepMs(500);
}

// Waits for a zenity requester titled `titel`, shows it, types the path.
void Auswahldialog(ProgramUnderTest& p, const std::string& titel, const std::string& pfad, const std::string& bild) {
    std::string fenster;
    for (int i = 0; i < 200 && fenster.empty(); ++i) {
        fenster = p.Xdo({"search", "--onlyvisible", "--name", titel});
        if (fenster.empty()) SleepMs(100);
    }
    Pruefen(!fenster.empty(), "kein Auswahldialog");
    if (fenster.empty()) return;
    fenster = fenster.substr(0, fenster.find('\n'));
    SleepMs(1500);
    if (!bild.empty()) Bild(p, bild);
    p.Xdo({"windowfocus", "--sync", fenster});
    p.Xdo({"key", "--delay", "80", "ctrl+l"});
    SleepMs(300);
    p.Xdo({"type", "--delay", "30", pfad});
    SleepMs(300);
    p.Xdo({"key", "--delay", "80", "Return"});
    SleepMs(1500);
}

// The main menu's tile k (3 columns below the "Optionen" tile).
void Optionen(ProgramUnderTest& p, int k) {
    p.Click(846 + 114, 123 + 57);
    SleepMs(600);
    p.Click(652 + 4 + (k % 3) * 204 + 100, 237 + 4 + (k / 3) * 94 + 45);
    SleepMs(700);
}

// Presses button `index` of the box once it stands still (a key derivation
// may take seconds), after saving the screen as picture `bild` (unless "").
void Schalter(ProgramUnderTest& p, int index, const std::string& bild) {
    int x = -1, y = -1, vorherX = -2, vorherY = -2;
    for (int i = 0; i < 100; ++i) {
        SleepMs(300);
        const Screenshot s = p.Shoot();
        if (BoxButton(s, index, x, y) && x == vorherX && y == vorherY) {
            if (!bild.empty()) Bild(p, bild);
            break;
        }
        vorherX = x;
        vorherY = y;
        x = -1;
    }
    Pruefen(x >= 0, bild.empty() ? "kein Schalter" : bild.c_str());
    if (x >= 0) p.Click(x, y);
    SleepMs(600);
}

std::string protokoll;  // what the stand-in xdg-open was asked to open

// The PDF the program just opened, its first page as picture `name`.
void Ausdruck(const std::string& name) {
    std::string zeilen;
    for (int i = 0; i < 100 && zeilen.empty(); ++i) {
        SleepMs(100);
        std::ifstream f(protokoll);
        std::getline(f, zeilen);
    }
    fs::remove(protokoll);
    Pruefen(zeilen.rfind("file://", 0) == 0, name.c_str());
    if (zeilen.rfind("file://", 0) != 0) return;
    std::string pdf;
    for (size_t i = 7; i < zeilen.size(); ++i) {
        if (zeilen[i] == '%' && i + 2 < zeilen.size()) {
            pdf += static_cast<char>(std::stoi(zeilen.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            pdf += zeilen[i];
        }
    }
    Pruefen(RunCommand({"pdftoppm", "-r", "80", "-f", "1", "-l", "1", "-singlefile", "-png", pdf,
                        ziel + "/" + name}) == 0,
            name.c_str());
    std::printf("  %s.png (erste Seite von %s)\n", name.c_str(), fs::path(pdf).filename().c_str());
}

// Grid geometry of the class screen at scroll position 0.
int ZeileY(int i) { return 46 + 84 * i; }
int SpalteX(int j) { return 160 + 80 * j; }
void Zelle(ProgramUnderTest& p, int i, int j) { p.Click(SpalteX(j) + 38, ZeileY(i) + 38); }

// The class command menu at the top-left corner, tile i.
void Befehl(ProgramUnderTest& p, int i) {
    p.Click(100, 60);
    SleepMs(500);
    p.Click(4 + (i % 2) * 204 + 100, 4 + (i / 2) * 94 + 45);
    SleepMs(600);
}

// Tile t of the grade-type menu that opens right of the command menu.
void Spaltentyp(ProgramUnderTest& p, int t) {
    const int x0 = 2 * 200 + 3 * 4;
    p.Click(x0 + 4 + (t % 4) * 94 + 45, 4 + (t / 4) * 94 + 45);
    SleepMs(700);
}

// The grade menu opens centred on the pointer: tile t of 3 columns of 60.
void Note(ProgramUnderTest& p, int zeile, int spalte, int t) {
    Zelle(p, zeile, spalte);
    SleepMs(500);
    const int cx = SpalteX(spalte) + 38, cy = ZeileY(zeile) + 38;
    int x0 = cx - 98, y0 = cy - 194;
    x0 = std::max(0, std::min(x0, 1920 - 196));
    y0 = std::max(0, std::min(y0, 1080 - 388));
    p.Click(x0 + 4 + (t % 3) * 64 + 30, y0 + 4 + (t / 3) * 64 + 30);
    SleepMs(400);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: %s <Zielordner>\n", argv[0]);
        return 2;
    }
    ziel = argv[1];
    fs::create_directories(ziel);
    VirtualDisplay display(1920, 1080);
    if (!display.Ok()) return 1;
    ProgramUnderTest p(display);
    const std::string home = p.Folder() + "-home";
    fs::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    unsetenv("USERPROFILE");
    // The reports are not opened: a stand-in records them; it names a PDF program.
    const std::string bin = p.Folder() + "-bin";
    fs::create_directories(bin);
    protokoll = bin + "/geoeffnet.txt";
    WriteFileBytes(bin + "/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + protokoll + "'\n");
    WriteFileBytes(bin + "/xdg-mime", "#!/bin/sh\necho stand-in.desktop\n");
    fs::permissions(bin + "/xdg-open", fs::perms::owner_all);
    fs::permissions(bin + "/xdg-mime", fs::perms::owner_all);
    setenv("PATH", (bin + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin")).c_str(), 1);
    WriteFileBytes(home + "/Klassenliste 7a.txt",
                   "Berger Lena Marie\nÖzdemir Can\nKowalski Lukasz\nMüller Anna Lena\nSchmidt Jonas\n"
                   "Yilmaz Elif\nWagner Paul Friedrich\nNguyen Thi Mai\n");

    std::printf("Bilder nach %s:\n", ziel.c_str());
    Pruefen(p.Start() && p.WaitForWindow() != 0 && p.WaitForPixel(960, 1070, kHintergrund), "Start");
    SleepMs(800);
    Bild(p, "01-erster-start", 0, 0, 1920, 600);

    // Optionen -> the school and the teacher for the reports' head.
    p.Click(846 + 114, 123 + 57);
    SleepMs(600);
    Bild(p, "02-hauptmenue", 560, 0, 800, 600);
    p.Click(652 + 4 + 1 * 204 + 100, 237 + 4 + 2 * 94 + 45);  // "Schule und Lehrkraft"
    SleepMs(700);
    p.Type("Goethe-Gymnasium Musterstadt");
    SleepMs(300);
    Bild(p, "20-schule");
    p.Key("Return");
    SleepMs(700);
    p.Type("Frau Sommer");
    p.Key("Return");
    SleepMs(700);
    Schalter(p, 0, "");

    // Optionen -> Neue Klasse erstellen.
    p.Click(846 + 114, 123 + 57);
    SleepMs(600);
    p.Click(652 + 4 + 1 * 204 + 100, 237 + 4 + 45);
    SleepMs(700);
    p.Type("7a");
    SleepMs(300);
    Bild(p, "03-klassenname");
    p.Key("Return");
    SleepMs(700);
    p.Type("Mathe");
    p.Key("Return");
    SleepMs(900);
    Pruefen(p.Shoot().At(10, 8 + 111) == kKachel, "neue Klasse");

    // The class command menu and a name list.
    p.Click(100, 60);
    SleepMs(600);
    Bild(p, "04-befehlsmenue", 0, 0, 1280, 720);
    p.Click(4 + 0 * 204 + 100, 4 + 3 * 94 + 45);  // "Namensliste importieren"
    Auswahldialog(p, "Textdatei", home + "/Klassenliste 7a.txt", "05-namensliste-auswahl");
    SleepMs(800);
    Bild(p, "06-namensliste-importiert", 0, 0, 1280, 860);

    // Columns: a test, an oral grade.
    Befehl(p, 3);
    Bild(p, "07-spaltentyp", 0, 0, 1280, 720);
    Spaltentyp(p, 0);  // "Arbeit"
    Befehl(p, 3);
    Spaltentyp(p, 4);  // "Mündl."
    SleepMs(500);

    // Grades.
    Zelle(p, 1, 1);
    SleepMs(600);
    Bild(p, "08-notenmenue", 0, 0, 1280, 720);
    p.Click(SpalteX(1) + 38 - 98 + 4 + 1 * 64 + 30, std::max(0, ZeileY(1) + 38 - 194) + 4 + 1 * 64 + 30);  // "2"? row 1
    SleepMs(400);
    const int arbeit[] = {4, 1, 7, 3, 10, 5, 2, 8};
    const int muendl[] = {2, 4, 6, 0, 9, 4, 1, 5};
    for (int i = 1; i <= 8; ++i) {
        Note(p, i, 1, arbeit[i - 1]);
        Note(p, i, 2, muendl[i - 1]);
    }
    SleepMs(500);
    Bild(p, "09-noten-eingetragen", 0, 0, 1280, 860);

    // A free text through "?".
    Zelle(p, 3, 2);
    SleepMs(500);
    {
        const int cx = SpalteX(2) + 38, cy = ZeileY(3) + 38;
        const int x0 = std::max(0, cx - 98), y0 = std::max(0, cy - 194);
        p.Click(x0 + 4 + 2 * 64 + 30, y0 + 4 + 5 * 64 + 30);  // tile 17, "?"
    }
    SleepMs(700);
    p.Key("ctrl+a");
    p.Type("krank");
    SleepMs(300);
    Bild(p, "10-freitext");
    p.Key("Return");
    SleepMs(600);

    // The half-year's averages: a main-subject group.
    Befehl(p, 3);
    Spaltentyp(p, 14);  // "HauptF."
    SleepMs(800);
    Bild(p, "11-durchschnitte", 0, 0, 1280, 860);
    Zelle(p, 1, 3);
    SleepMs(600);
    Bild(p, "12-durchschnitt-info");
    LinkerSchalter(p);

    // The half-year report.
    Befehl(p, 3);
    Spaltentyp(p, 15);  // "Zeugnis"
    SleepMs(600);
    Note(p, 1, 6, 5);
    SleepMs(400);
    Bild(p, "13-zeugnis", 0, 0, 1280, 860);

    // The row menu.
    p.Click(8 + 114, ZeileY(2) + 38);
    SleepMs(700);
    Bild(p, "14-zeilenmenue", 0, 0, 1280, 720);
    p.Key("Escape");
    SleepMs(500);

    // The column menu and the Notenspiegel.
    p.Click(SpalteX(1) + 38, 8 + 57);
    SleepMs(700);
    Bild(p, "15-spaltenmenue", 0, 0, 1280, 720);
    p.Click(SpalteX(1) - 122 + 4 + 0 * 156 + 76, 122 + 4 + 2 * 105 + 50);  // tile 4, "Notenspiegel"
    SleepMs(700);
    Bild(p, "16-notenspiegel");
    Schalter(p, 1, "");  // "Drucken"
    Ausdruck("25-notenspiegel-pdf");

    // A test for the whole class in series: the seventh column.
    Befehl(p, 3);
    Spaltentyp(p, 3);  // "Test"
    p.Click(SpalteX(7) + 38, 8 + 57);
    SleepMs(700);
    p.Click(SpalteX(7) - 122 + 4 + 1 * 156 + 76, 122 + 4 + 2 * 105 + 50);  // tile 5, "Noten eintragen"
    SleepMs(800);
    for (const char* note : {"2", "3-", "1"}) {
        p.Type(note);
        p.Key("Return");
        SleepMs(600);
    }
    Bild(p, "21-serie", 0, 0, 1280, 860);
    p.Key("Escape");
    SleepMs(600);

    // Printing: Berger's sheet for the parents, the class list, the empty list.
    p.Click(8 + 114, ZeileY(1) + 38);
    SleepMs(700);
    p.Click(160 + 4 + 114, 79 + 4 + 4 * 89 + 42);  // tile 9, "Schülerbogen"
    SleepMs(700);
    Bild(p, "22-schuelerbogen-wahl", 0, 0, 1280, 720);
    p.Click(160 + 468 + 4 + 4 + 130, 79 + 449 - 172 + 4 + 40);  // "Für Eltern"
    Ausdruck("23-schuelerbogen-pdf");
    Befehl(p, 10);
    Ausdruck("24-klassenliste-pdf");
    Befehl(p, 11);
    Ausdruck("26-leere-liste-pdf");

    // The empty duplicate for next year: the proposed class, then the subject.
    Befehl(p, 9);
    SleepMs(900);
    Bild(p, "17-leer-duplizieren");
    p.Key("Return");
    SleepMs(900);
    p.Key("Return");
    SleepMs(2000);
    Bild(p, "18-katalog", 0, 0, 1920, 1080);

    // The external backup folder: the system's folder requester.
    p.Click(846 + 114, 123 + 57);
    SleepMs(600);
    p.Click(652 + 4 + 0 * 204 + 100, 237 + 4 + 45);
    std::string fenster;
    for (int i = 0; i < 100 && fenster.empty(); ++i) {
        fenster = p.Xdo({"search", "--onlyvisible", "--class", "zenity"});
        if (fenster.empty()) SleepMs(100);
    }
    Pruefen(!fenster.empty(), "kein Ordnerdialog");
    SleepMs(1500);
    Bild(p, "19-backup-ordner");
    if (!fenster.empty()) {
        fenster = fenster.substr(0, fenster.find('\n'));
        p.Xdo({"windowfocus", "--sync", fenster});
        p.Xdo({"key", "--delay", "80", "Escape"});
    }
    SleepMs(1500);

    // Encryption: the question, the password, the recovery code.
    const std::string passwort = "Kreide und Tafel 42";
    Optionen(p, 6);
    Schalter(p, 0, "27-verschluesselung-frage");  // "Ja, verschlüsseln"
    SleepMs(700);
    p.Type(passwort);
    SleepMs(300);
    Bild(p, "28-passwort");
    p.Key("Return");
    SleepMs(1000);
    p.Type(passwort);
    p.Key("Return");
    Schalter(p, 0, "29-wiederherstellungscode");  // "Code ist notiert"
    SleepMs(2500);
    Schalter(p, 0, "");
    p.Key("Escape");
    int status = -1;
    Pruefen(p.WaitForExit(10000, status) && status == 0, "Ende vor dem Neustart");

    // The next start asks for the password; after 5 idle minutes the lock.
    Pruefen(p.Start() && p.WaitForWindow() != 0, "Neustart");
    SleepMs(2500);
    Bild(p, "30-passwort-beim-start");
    SleepMs(700);
    p.Type(passwort);
    p.Key("Return");
    Pruefen(p.WaitForPixel(960, 1070, kHintergrund, 30000), "Katalog nach dem Passwort");
    std::printf("  (5 Minuten ohne Eingabe ...)\n");
    std::fflush(stdout);
    SleepMs(5 * 60 * 1000 + 5000);
    Bild(p, "31-sperre");
    p.Type(passwort);
    p.Key("Return");
    SleepMs(8000);
    p.Key("Escape");
    Pruefen(p.WaitForExit(10000, status) && status == 0, "Ende");
    std::printf("%s\n", fehler ? "mit Fehlern" : "fertig");
    return fehler ? 1 : 0;
}
