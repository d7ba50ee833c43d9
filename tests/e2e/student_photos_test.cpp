// Student photos with the real program under Xvfb: a camera series chosen in
// the real zenity requesters becomes a 360 x 360 portrait per student in the
// class's "Bilder" folder, shown beside the row menu, and turned by "Bild
// rechts drehen" and "Bild links drehen".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/image_decode.hpp"
#include "platform/pixmap.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;
constexpr uint32_t kWartehinweis = (12u << 16) | 42u;

uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }
int R(uint32_t c) { return (c >> 16) & 0xFF; }
int G(uint32_t c) { return (c >> 8) & 0xFF; }
int B(uint32_t c) { return c & 0xFF; }
bool Nahe(uint32_t a, uint32_t b, int toleranz) {
    return std::abs(R(a) - R(b)) <= toleranz && std::abs(G(a) - G(b)) <= toleranz && std::abs(B(a) - B(b)) <= toleranz;
}

// The four quarters of every test portrait, upright: red, green / blue, white.
const uint32_t kViertel[4] = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(255, 255, 255)};

// An upright w x h photo: grey outside its middle square, the four quarters
// inside, with a little sensor noise as cameras have it.
DecodedImage Aufnahme(int w, int h, unsigned saat) {
    DecodedImage img;
    img.width = w;
    img.height = h;
    img.argb.resize(size_t(w) * h);
    const int s = std::min(w, h), x0 = (w - s) / 2, y0 = (h - s) / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            saat = saat * 1103515245u + 12345u;
            const int rauschen = int((saat >> 16) & 7) - 4;
            const int u = x - x0, v = y - y0;
            uint32_t c = Rgb(128, 128, 128);
            if (u >= 0 && u < s && v >= 0 && v < s) c = kViertel[(v * 2 / s) * 2 + u * 2 / s];
            const int r = std::clamp(R(c) + rauschen, 0, 255), g = std::clamp(G(c) + rauschen, 0, 255),
                      b = std::clamp(B(c) + rauschen, 0, 255);
            img.argb[size_t(y) * w + x] = 0xFF000000u | Rgb(r, g, b);
        }
    return img;
}

// What a camera held upright stores for tag 6: the picture a quarter turn
// counter-clockwise, to be turned clockwise when shown.
DecodedImage Seitlich(const DecodedImage& aufrecht) {
    DecodedImage img;
    img.width = aufrecht.height;
    img.height = aufrecht.width;
    img.argb.resize(aufrecht.argb.size());
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            img.argb[size_t(y) * img.width + x] = aufrecht.argb[size_t(x) * aufrecht.width + (img.height - 1 - y)];
    return img;
}

void Schreiben(const fs::path& p, const std::vector<unsigned char>& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class Schuelerbilder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        home = p.Folder() + "-home";
        fs::create_directories(home);
        setenv("HOME", home.c_str(), 1);
        unsetenv("USERPROFILE");
    }
    void TearDown() override { fs::remove_all(home); }
    void Starten() {
        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForWindow(), 0u);
        ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund));
        SleepMs(700);  // the tiles' fly-in
    }
    void KlasseOeffnen() {
        p.Click(846 + 114, 663 + 57);
        ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
        SleepMs(700);
    }
    // Waits for a zenity file requester, types the path and confirms it.
    void DateiImAuswahldialog(const std::string& titel, const std::string& pfad, const std::string& bild) {
        std::string fenster;
        for (int i = 0; i < 200 && fenster.empty(); ++i) {
            fenster = p.Xdo({"search", "--onlyvisible", "--name", titel});
            if (fenster.empty()) SleepMs(100);
        }
        ASSERT_FALSE(fenster.empty()) << "no requester titled " << titel;
        fenster = fenster.substr(0, fenster.find('\n'));
        SleepMs(1500);
        p.Save(p.Shoot(), bild);
        p.Xdo({"windowfocus", "--sync", fenster});
        p.Xdo({"key", "--delay", "80", "ctrl+l"});
        SleepMs(300);
        p.Xdo({"type", "--delay", "30", pfad});
        SleepMs(300);
        p.Xdo({"key", "--delay", "80", "Return"});
    }
    std::string Bilder() const { return p.Folder() + "/Noten/7a/Bilder"; }
    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
    std::string home;
};

// The portrait file, which must be 360 x 360.
TPixmap Portraet(const std::string& pfad) {
    TPixmap bild = LoadPixmapFrom(TextFromUtf8(pfad));
    EXPECT_TRUE(bild) << pfad;
    if (!bild) return bild;
    EXPECT_EQ(bild->width, 360) << pfad;
    EXPECT_EQ(bild->height, 360) << pfad;
    return bild;
}

// The four quarters at their centres, in the order of kViertel.
void ErwarteViertel(const std::function<uint32_t(int, int)>& pixel, const std::string& was) {
    const int mitte[4][2] = {{90, 90}, {270, 90}, {90, 270}, {270, 270}};
    for (int i = 0; i < 4; ++i) {
        const uint32_t c = pixel(mitte[i][0], mitte[i][1]);
        EXPECT_TRUE(Nahe(c, kViertel[i], 40)) << was << " quarter " << i << ": " << R(c) << "," << G(c) << "," << B(c);
    }
}

// The screen's 360 x 360 square at (0, y0) against the portrait file, pixel
// by pixel: the number of pixels further off than a rounding step.
int AbweichendePixel(const Screenshot& s, int y0, const TPixmap& bild) {
    int abweichend = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 360; ++x)
            abweichend += !Nahe(s.At(x, y0 + y), ReadPixel(bild, x, y) & 0xFFFFFF, 2);
    return abweichend;
}

// The file's pixels as they are now, to compare after a turn.
std::vector<uint32_t> Pixel(const TPixmap& bild) {
    std::vector<uint32_t> out;
    for (int y = 0; y < bild->height; ++y)
        for (int x = 0; x < bild->width; ++x) out.push_back(ReadPixel(bild, x, y) & 0xFFFFFF);
    return out;
}

}  // namespace

TEST_F(Schuelerbilder, CameraSeriesBecomesAPortraitPerStudent) {
    TestGradebook g{"7a", "Biologie", {{"Arbeit", "14.10.26"}}, {}};
    const std::vector<std::pair<std::string, std::string>> namen = {
        {"Adler", "Paul"}, {"Berger", "Lena Marie"}, {"Czerny", "Jan"}, {"Dorn", "Mia"}, {"Özdemir", "Can"}};
    for (const auto& [nach, vor] : namen) g.schueler.push_back({nach, vor, {"2"}, "", "", ""});
    WriteClassFile(p.Folder(), g);
    // The camera's folder: the class from IMG_0102 to IMG_0106, a photo
    // before and after, side files between; one photo taken with the camera
    // turned, one upright PNG from a phone.
    const fs::path dcim = fs::path(home) / "DCIM";
    Schreiben(dcim / "IMG_0101.JPG", {0xFF, 0xD8, 0xFF});  // not in the series: never read
    for (int i = 2; i <= 6; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "IMG_01%02d", i);
        std::vector<unsigned char> bytes;
        if (i == 3) {
            ASSERT_TRUE(EncodeJpeg(Seitlich(Aufnahme(3000, 4000, i)), 90, bytes, 6));
        } else if (i == 5) {
            ASSERT_TRUE(EncodePng(Aufnahme(900, 1200, i), false, 6, bytes));
        } else {
            ASSERT_TRUE(EncodeJpeg(Aufnahme(4000, 3000, i), 90, bytes, 1));
        }
        Schreiben(dcim / (std::string(name) + (i == 5 ? ".png" : ".JPG")), bytes);
        Schreiben(dcim / (std::string(name) + ".xmp"), {'<', '/', '>'});
    }
    Schreiben(dcim / "Notizen.txt", {'x'});
    Schreiben(dcim / "IMG_0107.JPG", {0xFF, 0xD8, 0xFF});
    ASSERT_FALSE(fs::exists(Bilder()));

    Starten();
    KlasseOeffnen();
    p.Click(100, 60);  // the corner tile: the class menu
    SleepMs(500);
    p.Click(4 + 100, 4 + 2 * 94 + 45);  // command 4, "Bilder importieren"
    DateiImAuswahldialog("Wählen Sie das erste Schülerbild der Klasse 7a", (dcim / "IMG_0102.JPG").string(),
                         "bilder-erstes-foto");
    DateiImAuswahldialog("Wählen Sie das letzte Schülerbild der Klasse 7a", (dcim / "IMG_0106.JPG").string(),
                         "bilder-letztes-foto");
    // The waiting notice counts the portraits while they are made.
    bool hinweis = false;
    for (int i = 0; i < 300; ++i) {
        const Screenshot s = p.Shoot();
        if (!hinweis && s.At(960, 540 - 60) == kWartehinweis) {
            hinweis = true;
            p.Save(s, "bilder-wartehinweis");
        }
        int fertig = 0;
        for (const auto& [nach, vor] : namen) fertig += fs::exists(Bilder() + "/" + nach + " " + vor + ".png");
        if (fertig == 5 && s.At(960, 540 - 60) != kWartehinweis) break;
        SleepMs(50);
    }
    SleepMs(500);
    p.Save(p.Shoot(), "bilder-importiert");
    EXPECT_TRUE(p.Running());

    std::vector<std::string> dateien;
    for (const auto& e : fs::directory_iterator(Bilder())) dateien.push_back(e.path().filename().string());
    std::sort(dateien.begin(), dateien.end());
    EXPECT_EQ(dateien, (std::vector<std::string>{"Adler Paul.png", "Berger Lena Marie.png", "Czerny Jan.png",
                                                 "Dorn Mia.png", "Özdemir Can.png"}));
    for (const auto& [nach, vor] : namen) {
        TPixmap bild = Portraet(Bilder() + "/" + nach + " " + vor + ".png");
        if (bild) ErwarteViertel([&](int x, int y) { return ReadPixel(bild, x, y) & 0xFFFFFF; }, nach);
    }

    // Czerny's row menu (row 3, name tile at the top 46 + 3 * 84): the
    // portrait at x 0 beside it, 46 above the tile's top; the menu at the
    // portrait's right edge, 50.75 above the tile's top, tiles 228 x 85 in
    // two columns with gaps of 4.
    const std::string czerny = Bilder() + "/Czerny Jan.png";
    const int oben = 46 + 3 * 84, bildY = oben - 46, menueY = int(oben - 50.75);
    auto kachelMitte = [&](int i) { return std::pair{360 + 4 + (i % 2) * 232 + 114, menueY + 4 + (i / 2) * 89 + 42}; };
    auto menueOeffnen = [&](const std::string& bild) {
        p.Click(8 + 70, oben + 40);
        SleepMs(700);
        const Screenshot s = p.Shoot();
        p.Save(s, bild);
        return s;
    };
    // Waits until the portrait file no longer holds `alt`; returns what it holds then.
    auto neuerInhalt = [&](const std::vector<uint32_t>& alt) {
        for (int i = 0; i < 100; ++i) {
            if (TPixmap b = LoadPixmapFrom(TextFromUtf8(czerny)); b && b->width == 360 && Pixel(b) != alt) return b;
            SleepMs(50);
        }
        ADD_FAILURE() << "the portrait file was not turned";
        return LoadPixmapFrom(TextFromUtf8(czerny));
    };

    TPixmap original = Portraet(czerny);
    ASSERT_TRUE(original);
    const std::vector<uint32_t> urbild = Pixel(original);
    Screenshot s = menueOeffnen("bilder-zeilenmenue");
    EXPECT_EQ(AbweichendePixel(s, bildY, original), 0) << "the portrait beside the row menu";
    EXPECT_EQ(s.At(kachelMitte(6).first - 100, kachelMitte(6).second), Rgb(48, 48, 48)) << "tile 6 of the menu";

    p.Click(kachelMitte(6).first, kachelMitte(6).second);  // "Bild rechts drehen"
    TPixmap rechts = neuerInhalt(urbild);
    ASSERT_TRUE(rechts);
    ASSERT_EQ(rechts->width, 360);
    ASSERT_EQ(rechts->height, 360);
    int falsch = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 360; ++x)
            falsch += (ReadPixel(rechts, 360 - 1 - y, x) & 0xFFFFFF) != urbild[size_t(y) * 360 + x];
    EXPECT_EQ(falsch, 0) << "pixels not turned a quarter clockwise";
    SleepMs(500);
    s = menueOeffnen("bilder-zeilenmenue-gedreht");
    EXPECT_EQ(AbweichendePixel(s, bildY, rechts), 0) << "the turned portrait beside the row menu";

    p.Click(kachelMitte(7).first, kachelMitte(7).second);  // "Bild links drehen"
    TPixmap zurueck = neuerInhalt(Pixel(rechts));
    ASSERT_TRUE(zurueck);
    EXPECT_TRUE(Pixel(zurueck) == urbild) << "turning left after right does not give the original back";
    SleepMs(500);
    p.Save(p.Shoot(), "bilder-zurueckgedreht");
    EXPECT_TRUE(p.Running());

    p.Key("Escape");
    int status = -1;
    EXPECT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
}
