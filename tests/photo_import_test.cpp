// Student photos brought into a class: a camera series through the file
// requesters, single portraits, photos taken sideways, photos that cannot be
// read or claim an absurd size, and portraits that cannot be written.
#include <zlib.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "classscreen/class_screen_commands.hpp"
#include "classscreen/portrait_processing.hpp"
#include "dialog_script.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook_fixture.hpp"
#include "photo_files.hpp"
#include "platform/pixmap.hpp"
#include "platform/texture_store.hpp"
#include "platform/conversions.hpp"
#include "gradebook/photo_paths.hpp"

// The largest single allocation made through operator new while counting is
// on: a refused decompression bomb must not allocate its pixels first. (GCC
// takes the malloc in the replacement for a mismatch with the free.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<bool> gZaehlen{false};
std::atomic<size_t> gGroessteAnforderung{0};
}  // namespace

void* operator new(size_t n) {
    if (gZaehlen.load(std::memory_order_relaxed)) {
        size_t bisher = gGroessteAnforderung.load();
        while (n > bisher && !gGroessteAnforderung.compare_exchange_weak(bisher, n)) {}
    }
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
// The nothrow pair too (std::stable_sort's buffer): left to the runtime, its
// memory would come from the sanitizer's allocator and go back through free.
void* operator new(size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

class PhotoImport : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        static bool menus = false;
        if (!menus) {
            BaueKlassenmenues();
            menus = true;
        }
        fotos_ = ordner_ / "Fotos";
        std::filesystem::create_directories(fotos_);
        StartOrdner = TextFromUtf8(fotos_.string());
    }
    void TearDown() override {
        SetFrameObserver(nullptr);
        StartOrdner.clear();
        GradebookTest::TearDown();
    }

    std::shared_ptr<TSchulklasse> Klasse(const std::vector<std::pair<Text, Text>>& namen) {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        for (const auto& [nach, vor] : namen) Schueler(*k, nach, vor);
        return k;
    }
    Text Foto(const std::string& name) const { return TextFromUtf8((fotos_ / name).string()); }
    static std::filesystem::path Portraitdatei(const std::string& name) {
        return std::filesystem::path("Noten/7a/Bilder") / (name + ".png");
    }
    // Closes the box that the next call will show with Enter once it is up;
    // Escape later in case it never took the Enter. rot says whether the
    // box's red title was drawn.
    void BoxSchliessen(int nachFrames) {
        backend->At(Frame(nachFrames), {ScriptedEvent::KeyDown, 13});
        backend->At(Frame(nachFrames + 1), {ScriptedEvent::KeyUp, 13});
        KeyTap(Frame(nachFrames + 200), 27);
        rot_ = false;
        SetFrameObserver([this] {
            for (const DrawVertex& v : Ctx().shown.vertices) rot_ = rot_ || v.rgba == 0xFF0000FFu;
        });
    }

    std::filesystem::path fotos_;
    bool rot_ = false;
};

// The portrait on disk: 360 x 360 and its pixels.
TPixmap Portrait(const std::filesystem::path& p) {
    TPixmap bild = LoadPixmapFrom(TextFromUtf8(p.string()));
    EXPECT_TRUE(bild) << p;
    if (bild) {
        EXPECT_EQ(bild->width, 360) << p;
        EXPECT_EQ(bild->height, 360) << p;
    }
    return bild;
}

uint32_t Erwartet(uint32_t farbe) {
    const int m = (Rot(farbe) + Gruen(farbe) + Blau(farbe)) / 3;  // grey sources: exact mean
    const double a = Aufhellstaerke(m);
    return Rgb(Kontrastkurve(Aufgehellt(Rot(farbe), a)), Kontrastkurve(Aufgehellt(Gruen(farbe), a)),
               Kontrastkurve(Aufgehellt(Blau(farbe), a)));
}

void ErwarteNahe(uint32_t ist, uint32_t soll, int toleranz, const std::string& wo) {
    EXPECT_NEAR(int(Rot(ist)), int(Rot(soll)), toleranz) << wo;
    EXPECT_NEAR(int(Gruen(ist)), int(Gruen(soll)), toleranz) << wo;
    EXPECT_NEAR(int(Blau(ist)), int(Blau(soll)), toleranz) << wo;
}

}  // namespace

TEST_F(PhotoImport, SeriesThroughTheRequestersGivesEveryStudentAPortrait) {
    auto k = Klasse({{u"Adler", u"Anna"}, {u"Berg", u"Ben"}, {u"Czerny", u"Carla"}, {u"Dorn", u"Dana"}});
    // A folder of six camera photos and other files; students photographed
    // from the second to the fifth, in both formats and three shapes.
    const uint32_t farben[] = {Rgb(10, 10, 10), Rgb(200, 200, 200), Rgb(64, 64, 64), Rgb(140, 140, 140),
                               Rgb(250, 250, 250), Rgb(30, 30, 30)};
    BytesSchreiben(fotos_ / "IMG_0001.JPG", JpegBytes(Einfarbig(640, 480, farben[0])));
    BytesSchreiben(fotos_ / "IMG_0002.PNG", PngBytes(Einfarbig(800, 600, farben[1])));
    BytesSchreiben(fotos_ / "IMG_0003.png", PngBytes(Einfarbig(300, 500, farben[2])));
    BytesSchreiben(fotos_ / "IMG_0003.txt", {'x'});
    BytesSchreiben(fotos_ / "IMG_0004.JPG", JpegBytes(Einfarbig(2000, 1500, farben[3])));
    BytesSchreiben(fotos_ / "IMG_0005.png", PngBytes(Einfarbig(360, 360, farben[4])));
    BytesSchreiben(fotos_ / "IMG_0006.JPG", JpegBytes(Einfarbig(640, 480, farben[5])));
    RequesterStandIn requester(ordner_ / "zenity");
    requester.Antworten({Utf8FromText(Foto("IMG_0002.PNG")), Utf8FromText(Foto("IMG_0005.png"))});
    ASSERT_FALSE(std::filesystem::exists("Noten/7a/Bilder")) << "the class was never saved";
    const int vorher = backend->PresentCount();

    EXPECT_EQ(k->ImportiereBilder(), 0);

    EXPECT_EQ(requester.Argumente(),
              "--file-selection\n--title=Wählen Sie das erste Schülerbild der Klasse 7a\n--filename=" + fotos_.string() +
                  "/\n--file-filter=Bilddateien | *.png *.PNG *.jpg *.JPG *.bmp *.BMP\n"
                  "--file-selection\n--title=Wählen Sie das letzte Schülerbild der Klasse 7a\n--filename=" +
                  (fotos_ / "IMG_0002.PNG").string() + "\n--file-filter=Bilddateien | *.png *.PNG *.jpg *.JPG *.bmp *.BMP\n");
    EXPECT_TRUE(backend->Messages().empty());
    EXPECT_GE(backend->PresentCount() - vorher, 5) << "the waiting notice counts 0, 1, 2, 3 and 4 of 4";
    const std::string namen[] = {"Adler Anna", "Berg Ben", "Czerny Carla", "Dorn Dana"};
    for (int i = 0; i < 4; ++i) {
        TPixmap bild = Portrait(Portraitdatei(namen[i]));
        if (!bild) continue;
        const int toleranz = i == 2 ? 3 : 0;  // the JPEG is lossy and decoded at a quarter of its size
        for (int y : {0, 180, 359})
            for (int x : {0, 180, 359}) ErwarteNahe(ReadPixel(bild, x, y), Erwartet(farben[i + 1]), toleranz, namen[i]);
    }
    EXPECT_EQ(Dateien("Noten/7a/Bilder").size(), 4u) << "no file beside the portraits";
}

TEST_F(PhotoImport, WrongChoicesAndCancelsWriteNothing) {
    auto k = Klasse({{u"Adler", u"Anna"}, {u"Berg", u"Ben"}, {u"Czerny", u"Carla"}});
    std::filesystem::create_directories(fotos_ / "anders");
    for (const char* name : {"P1.jpg", "P2.jpg", "P3.jpg", "P4.jpg", "anders/P9.jpg"})
        BytesSchreiben(fotos_ / name, JpegBytes(Einfarbig(64, 64, Rgb(100, 100, 100))));
    struct Fall { const char* was; std::string erstes, letztes; bool box; };
    const Fall faelle[] = {
        {"four photos for three students", Utf8FromText(Foto("P1.jpg")), Utf8FromText(Foto("P4.jpg")), true},
        {"wrong order", Utf8FromText(Foto("P3.jpg")), Utf8FromText(Foto("P1.jpg")), true},
        {"different folders", Utf8FromText(Foto("P1.jpg")), Utf8FromText(Foto("anders/P9.jpg")), true},
        {"first requester cancelled", "", Utf8FromText(Foto("P3.jpg")), false},
        {"second requester cancelled", Utf8FromText(Foto("P1.jpg")), "", false},
    };
    RequesterStandIn requester(ordner_ / "zenity");
    for (const Fall& f : faelle) {
        requester.Antworten({f.erstes, f.letztes});
        BoxSchliessen(30);
        const long long start = FramesEnded();
        EXPECT_EQ(k->ImportiereBilder(), 0) << f.was;
        SetFrameObserver(nullptr);
        EXPECT_EQ(rot_, f.box) << f.was;
        if (f.box) {
            EXPECT_LT(FramesEnded() - start, 200) << f.was << ": the box did not close with Enter";
        }
        EXPECT_FALSE(std::filesystem::exists("Noten/7a/Bilder")) << f.was;
        EXPECT_TRUE(backend->Messages().empty()) << f.was;
        ClearInputScript();
    }
}

TEST_F(PhotoImport, ASeriesOfOneForAClassOfOne) {
    auto k = Klasse({{u"Einzeln", u"Erik"}});
    BytesSchreiben(fotos_ / "A.png", PngBytes(Einfarbig(50, 50, Rgb(0, 0, 0))));
    BytesSchreiben(fotos_ / "B.png", PngBytes(Einfarbig(50, 50, Rgb(180, 180, 180))));
    RequesterStandIn requester(ordner_ / "zenity");
    requester.Antworten({Utf8FromText(Foto("B.png")), Utf8FromText(Foto("B.png"))});
    EXPECT_EQ(k->ImportiereBilder(), 0);
    TPixmap bild = Portrait(Portraitdatei("Einzeln Erik"));
    ASSERT_TRUE(bild);
    EXPECT_EQ(ReadPixel(bild, 100, 100), Erwartet(Rgb(180, 180, 180)));
}

TEST_F(PhotoImport, UnreadablePhotosAndBombsAreRefusedAndTheSeriesGoesOn) {
    auto k = Klasse({{u"Adler", u"Anna"}, {u"Berg", u"Ben"}, {u"Czerny", u"Carla"}, {u"Dorn", u"Dana"}});
    BytesSchreiben(fotos_ / "F1.png", PngBytes(Einfarbig(100, 100, Rgb(200, 200, 200))));
    BytesSchreiben(fotos_ / "F2.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 'k', 'a', 'p', 'u', 't', 't'});
    // Files that claim 12000 x 9000 pixels (108 megapixels) in a few bytes.
    std::vector<unsigned char> png = PngBytes(Einfarbig(4, 4, Rgb(1, 2, 3)));
    for (int i = 0; i < 4; ++i) png[16 + i] = (12000u >> (24 - 8 * i)) & 0xFF, png[20 + i] = (9000u >> (24 - 8 * i)) & 0xFF;
    const uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + 12, 17));
    for (int i = 0; i < 4; ++i) png[29 + i] = (crc >> (24 - 8 * i)) & 0xFF;
    BytesSchreiben(fotos_ / "F3.png", png);
    std::vector<unsigned char> jpeg = JpegBytes(Einfarbig(16, 16, Rgb(1, 2, 3)));
    for (size_t i = 2; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 9000 >> 8, jpeg[i + 6] = 9000 & 0xFF, jpeg[i + 7] = 12000 >> 8, jpeg[i + 8] = 12000 & 0xFF;
            break;
        }
    BytesSchreiben(fotos_ / "F4.jpg", jpeg);
    for (const char* name : {"F3.png", "F4.jpg"}) {
        gGroessteAnforderung = 0;
        gZaehlen = true;
        TPixmap bombe = LoadPixmapFrom(Foto(name), 360);
        gZaehlen = false;
        EXPECT_FALSE(bombe) << name;
        EXPECT_LT(gGroessteAnforderung.load(), size_t{1} << 20) << name << ": pixels allocated before refusing";
    }
    // Ben's portrait from an earlier import stays as it was.
    Schreiben(Portraitdatei("Berg Ben"), "altes Bild");
    RequesterStandIn requester(ordner_ / "zenity");
    requester.Antworten({Utf8FromText(Foto("F1.png")), Utf8FromText(Foto("F4.jpg"))});

    EXPECT_EQ(k->ImportiereBilder(), 0);

    ASSERT_EQ(backend->Messages().size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(backend->Messages()[i],
                  u"Leider konnte diese Bilddatei nicht geladen werden:\n" + Foto("F" + std::to_string(i + 2) + (i == 1 ? ".png" : ".jpg")));
    EXPECT_TRUE(Portrait(Portraitdatei("Adler Anna")));
    EXPECT_EQ(Lesen(Portraitdatei("Berg Ben")), "altes Bild");
    EXPECT_EQ(Dateien("Noten/7a/Bilder"), (std::vector<std::string>{"Adler Anna.png", "Berg Ben.png"}));
}

TEST_F(PhotoImport, PortraitsThatCannotBeWrittenAreCountedAndNothingLeavesTheFolder) {
    auto k = Klasse({{u"Adler", u"Anna"}, {u"Berg", u"Ben"}, {u"../../../Ausbruch", u"x"}});
    for (const char* name : {"P1.png", "P2.png", "P3.png"})
        BytesSchreiben(fotos_ / name, PngBytes(Einfarbig(40, 40, Rgb(90, 90, 90))));
    // A folder where Ben's portrait belongs cannot be replaced by a file.
    std::filesystem::create_directories(Portraitdatei("Berg Ben"));
    RequesterStandIn requester(ordner_ / "zenity");
    requester.Antworten({Utf8FromText(Foto("P1.png")), Utf8FromText(Foto("P3.png"))});
    BoxSchliessen(4 + 30);
    EXPECT_EQ(k->ImportiereBilder(), 0);
    SetFrameObserver(nullptr);
    EXPECT_TRUE(rot_) << "two portraits failed: the user is told once";
    EXPECT_TRUE(Portrait(Portraitdatei("Adler Anna")));
    EXPECT_TRUE(std::filesystem::is_directory(Portraitdatei("Berg Ben")));
    EXPECT_EQ(Dateien("Noten/7a/Bilder"), (std::vector<std::string>{"Adler Anna.png", "Berg Ben.png"}));
    EXPECT_FALSE(std::filesystem::exists(ordner_ / "Ausbruch x.png"));
    EXPECT_FALSE(std::filesystem::exists("Ausbruch x.png"));
    EXPECT_TRUE(backend->Messages().empty());
}

TEST_F(PhotoImport, PhotosTakenSidewaysComeOutUpright) {
    auto k = Klasse({{u"Adler", u"Anna"}});
    // Upright 480 x 640: grey above and below the middle square, which holds
    // red, green, blue and white quarters.
    const DecodedImage aufrecht = Gemalt(480, 640, [](int x, int y) {
        if (y < 80 || y >= 560) return Rgb(128, 128, 128);
        const bool rechts = x >= 240, unten = y >= 320;
        return !unten ? (rechts ? Rgb(0, 255, 0) : Rgb(255, 0, 0)) : (rechts ? Rgb(255, 255, 255) : Rgb(0, 0, 255));
    });
    for (int o = 1; o <= 8; ++o) {
        // What a camera held that way stores: the inverse of the turn the tag asks for.
        const bool tauscht = o >= 5;
        const int w = tauscht ? 640 : 480, h = tauscht ? 480 : 640;
        const DecodedImage gespeichert = Gemalt(w, h, [&](int x, int y) {
            int X = x, Y = y;
            switch (o) {
                case 2: X = w - 1 - x; break;
                case 3: X = w - 1 - x; Y = h - 1 - y; break;
                case 4: Y = h - 1 - y; break;
                case 5: X = y; Y = x; break;
                case 6: X = h - 1 - y; Y = x; break;
                case 7: X = h - 1 - y; Y = w - 1 - x; break;
                case 8: X = y; Y = w - 1 - x; break;
            }
            return aufrecht.argb[size_t(Y) * 480 + X];
        });
        const std::string name = "gedreht" + std::to_string(o) + ".jpg";
        BytesSchreiben(fotos_ / name, JpegBytes(gespeichert, 95, o));
        EXPECT_EQ(k->PraepariereEinzelnesBild(Foto(name), 1), 0);
        TPixmap bild = Portrait(Portraitdatei("Adler Anna"));
        if (!bild) continue;
        const std::string wo = "orientation " + std::to_string(o);
        // Lightening varies with the random samples; the colours stay apart.
        ErwarteNahe(ReadPixel(bild, 90, 90), Rgb(255, 0, 0), 40, wo + " top left");
        ErwarteNahe(ReadPixel(bild, 270, 90), Rgb(0, 255, 0), 40, wo + " top right");
        ErwarteNahe(ReadPixel(bild, 90, 270), Rgb(0, 0, 255), 40, wo + " bottom left");
        ErwarteNahe(ReadPixel(bild, 270, 270), Rgb(255, 255, 255), 40, wo + " bottom right");
    }
    EXPECT_TRUE(backend->Messages().empty());
}

TEST_F(PhotoImport, CameraPhotosAreDecodedAtTheSmallestSufficientScale) {
    struct Fall { int w, h, orientierung, breite, hoehe; bool jpeg; };
    const Fall faelle[] = {
        {2000, 1500, 0, 500, 375, true},   // 2/8
        {1600, 1200, 0, 600, 450, true},   // 3/8: 2/8 would give 300 rows
        {2000, 1500, 6, 375, 500, true},   // turned upright after scaling
        {300, 200, 0, 300, 200, true},     // smaller than the portrait: in full
        {1000, 800, 0, 1000, 800, false},  // PNG: always in full
    };
    for (const Fall& f : faelle) {
        const DecodedImage verlauf = Gemalt(f.w, f.h, [](int x, int y) { return Rgb(x % 256, y % 256, (x + y) / 16 % 256); });
        BytesSchreiben(fotos_ / "gross", f.jpeg ? JpegBytes(verlauf, 90, f.orientierung) : PngBytes(verlauf));
        TPixmap klein = LoadPixmapFrom(Foto("gross"), 360);
        ASSERT_TRUE(klein);
        EXPECT_EQ(klein->width, f.breite) << f.w << "x" << f.h;
        EXPECT_EQ(klein->height, f.hoehe) << f.w << "x" << f.h;
    }
    // The portrait of a reduced decode looks like that of the full photo.
    const DecodedImage weich = Gemalt(2400, 1800, [](int x, int y) { return Rgb(x / 10 % 256, y / 8 % 256, 128); });
    BytesSchreiben(fotos_ / "weich.jpg", JpegBytes(weich, 92));
    TPixmap voll = LoadPixmapFrom(Foto("weich.jpg")), reduziert = LoadPixmapFrom(Foto("weich.jpg"), 360);
    ASSERT_TRUE(voll && reduziert);
    EXPECT_EQ(voll->width, 2400);
    EXPECT_EQ(reduziert->width, 600);
    TPixmap a = Portraet(voll, 360, 0.1), b = Portraet(reduziert, 360, 0.1);
    long long abweichung = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 360; ++x) {
            const uint32_t p = ReadPixel(a, x, y), q = ReadPixel(b, x, y);
            abweichung += std::abs(int(Rot(p)) - int(Rot(q))) + std::abs(int(Gruen(p)) - int(Gruen(q)));
        }
    EXPECT_LT(abweichung / (360.0 * 360 * 2), 3.0) << "mean difference per component";
}

TEST_F(PhotoImport, APortraitReplacesTheOldOneInOneStep) {
    auto k = Klasse({{u"Adler", u"Anna"}});
    BytesSchreiben(fotos_ / "neu.png", PngBytes(Einfarbig(80, 80, Rgb(220, 220, 220))));
    // The old portrait, and a leftover of an interrupted save beside it that
    // is a link to a file elsewhere: that file must not be written through.
    Schreiben(Portraitdatei("Adler Anna"), "altes Bild");
    Schreiben(ordner_ / "fremd.txt", "fremd");
    std::filesystem::create_symlink(ordner_ / "fremd.txt", Portraitdatei("Adler Anna").string() + ".neu");
    EXPECT_EQ(k->PraepariereEinzelnesBild(Foto("neu.png"), 1), 0);
    TPixmap bild = Portrait(Portraitdatei("Adler Anna"));
    ASSERT_TRUE(bild);
    EXPECT_EQ(ReadPixel(bild, 0, 0), Erwartet(Rgb(220, 220, 220)));
    EXPECT_EQ(Lesen(ordner_ / "fremd.txt"), "fremd");
    EXPECT_EQ(Dateien("Noten/7a/Bilder"), std::vector<std::string>{"Adler Anna.png"});

    // A save that fails leaves the old portrait whole.
    TPixmap p = CreatePixmap(360, 360, 3, 4);
    Schreiben("Noten/7a/Bilder/alt.png", "alt");
    std::filesystem::create_directories("Noten/7a/Bilder/alt.png.neu/voll");
    EXPECT_FALSE(SavePixmapAsPNG(p, u"Noten/7a/Bilder/alt.png", 0));
    EXPECT_EQ(Lesen("Noten/7a/Bilder/alt.png"), "alt");
}

TEST_F(PhotoImport, ASinglePortraitThatCannotBeWrittenIsReported) {
    auto k = Klasse({{u"Adler", u"Anna"}});
    BytesSchreiben(fotos_ / "neu.png", PngBytes(Einfarbig(80, 80, Rgb(220, 220, 220))));
    std::filesystem::create_directories(Portraitdatei("Adler Anna"));
    BoxSchliessen(30);
    EXPECT_EQ(k->PraepariereEinzelnesBild(Foto("neu.png"), 1), 0);
    SetFrameObserver(nullptr);
    EXPECT_TRUE(rot_);
    EXPECT_TRUE(std::filesystem::is_directory(Portraitdatei("Adler Anna")));
}

TEST_F(PhotoImport, PortraitsShownBesideTheRowMenuOfFortyStudentsAreReleased) {
    // Each student's row menu opened through the name tile's command and
    // closed with a tap beside it.
    auto k = Klasse({});
    for (int i = 1; i <= 40; ++i) Schueler(*k, u"Name" + TextFromInt(100 + i), u"Vorname");
    std::filesystem::create_directories("Noten/7a/Bilder");
    for (int i = 1; i <= 40; ++i) {
        TPixmap p = CreatePixmap(360, 360, 3, 4);
        for (int y = 0; y < 360; y += 9) WritePixel(p, i, y, 0xFFFFFFFFu);
        ASSERT_TRUE(SavePixmapAsPNG(p, PortraitpfadIn(u"Noten", u"7a", u"Name" + TextFromInt(100 + i), u"Vorname"), 0));
    }
    const TextureStore::Figures vorher = TextureStore::CurrentFigures();
    TextureStore::Figures nachDemErsten;
    long long hoechstens = 0;
    for (int zeile = 1; zeile <= 40; ++zeile) {
        SCOPED_TRACE(zeile);
        int bildBreite = -1;
        Dialogskript skript(*backend);
        skript.Ansehen(Schuelermenue, [&] {
                  bildBreite = ImageWidthOf(Schuelermenue->Zusatzbild);
                  hoechstens = std::max(hoechstens, TextureStore::CurrentFigures().standaloneTextures);
              })
            .Daneben(Schuelermenue);
        skript.Starten();
        const uint64_t generation = TextureStore::ReleaseGeneration();
        EXPECT_EQ(Zeilenbefehle(*k, zeile), kOhneAuswahl);
        EXPECT_TRUE(skript.Fertig());
        EXPECT_EQ(bildBreite, 360) << "not the student's own portrait";
        EXPECT_GT(TextureStore::ReleaseGeneration(), generation) << "the window's copy of the portrait stays";
        const TextureStore::Figures danach = TextureStore::CurrentFigures();
        if (zeile == 1) nachDemErsten = danach;
        EXPECT_EQ(danach.standaloneTextures, vorher.standaloneTextures) << "portrait kept after closing";
        EXPECT_EQ(danach.pages, nachDemErsten.pages);
        EXPECT_EQ(danach.rowsInUse, nachDemErsten.rowsInUse);
        EXPECT_EQ(danach.placesInUse, nachDemErsten.placesInUse);
    }
    EXPECT_EQ(hoechstens, vorher.standaloneTextures + 1) << "the portrait lived while its menu was open";
}
