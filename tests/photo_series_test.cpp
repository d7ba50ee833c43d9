// Which files make up a camera series: photos only, in the camera's
// numbering, from the first chosen photo to the last, and the checks that
// stop an import before anything is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "classscreen/photo_series.hpp"

namespace {

std::vector<Text> Pfade(const Text& ordner, std::initializer_list<const char16_t*> namen) {
    std::vector<Text> out;
    for (const char16_t* n : namen) out.push_back(ordner + n);
    return out;
}

class PhotoSeriesFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ordner_ = std::filesystem::temp_directory_path() /
                  ("rk-serie-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(ordner_);
        o_ = TextFromUtf8(ordner_.string()) + u"/";
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(ordner_, ec);
    }
    void Datei(const std::string& name) {
        std::filesystem::create_directories((ordner_ / name).parent_path());
        std::ofstream(ordner_ / name) << "x";
    }
    std::filesystem::path ordner_;
    Text o_;
};

}  // namespace

TEST(PhotoSeries, OnlyPhotosCountSortedByCharacterCode) {
    const std::vector<Text> eintraege = {u"IMG_0003.JPG", u".", u"..", u"IMG_0001.jpg", u"notiz.txt", u"IMG_0002.Png",
                                         u"IMG_0002.JPG.xmp", u"a.bmp", u"B.BMP", u"Thumbs.db", u"jpg", u"ohne",
                                         u"x.jpeg", u"IMG_0004.JPG"};
    const std::vector<Text> erwartet = {u"B.BMP", u"IMG_0001.jpg", u"IMG_0002.Png", u"IMG_0003.JPG", u"IMG_0004.JPG",
                                        u"a.bmp"};
    EXPECT_EQ(Fotonamen(eintraege), erwartet);
}

TEST(PhotoSeries, WalkFromFirstToLastChosenPhoto) {
    const Text o = u"/fotos/";
    std::vector<Text> vierzig;
    for (int i = 1; i <= 40; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "P%04d.JPG", i);
        vierzig.push_back(TextFromUtf8(name));
    }
    // 25 students photographed from number 9 to number 33 of a folder of 40.
    const std::vector<Text> serie = BildserieAus(vierzig, o, o + u"P0009.JPG", o + u"P0033.JPG");
    ASSERT_EQ(serie.size(), 25u);
    EXPECT_EQ(serie.front(), o + u"P0009.JPG");
    EXPECT_EQ(serie.back(), o + u"P0033.JPG");
    for (size_t i = 0; i < serie.size(); ++i) EXPECT_EQ(serie[i], o + vierzig[8 + i]);

    struct Fall { const char16_t *erstes, *letztes; std::vector<Text> serie; };
    const std::vector<Text> namen = {u"a.jpg", u"b.png", u"c.bmp", u"d.jpg"};
    const Fall faelle[] = {
        {u"a.jpg", u"d.jpg", Pfade(o, {u"a.jpg", u"b.png", u"c.bmp", u"d.jpg"})},
        {u"b.png", u"c.bmp", Pfade(o, {u"b.png", u"c.bmp"})},
        {u"c.bmp", u"c.bmp", Pfade(o, {u"c.bmp"})},   // the same photo twice: a series of one
        {u"d.jpg", u"d.jpg", Pfade(o, {u"d.jpg"})},   // also at the end of the folder
        {u"c.bmp", u"b.png", {}},                     // the last comes before the first
        {u"x.jpg", u"d.jpg", {}},                     // the first is not in the folder
        {u"a.jpg", u"x.jpg", {}},                     // the last is never reached
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(BildserieAus(namen, o, o + f.erstes, o + f.letztes), f.serie) << Utf8FromText(f.erstes) << " "
                                                                                  << Utf8FromText(f.letztes);
}

TEST_F(PhotoSeriesFolder, SeriesBetweenOtherFilesInTheMiddleOfAFolder) {
    for (int i = 1; i <= 12; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "DSC%03d.JPG", i);
        Datei(name);
        std::snprintf(name, sizeof name, "DSC%03d.RAW", i);  // the camera's raw twin is not a photo here
        Datei(name);
    }
    Datei("DSC005.txt");
    Datei("DSC006.png");  // a photo of another type between the camera's: it counts
    const Bildserienwahl wahl = BildserieWaehlen(o_ + u"DSC004.JPG", o_ + u"DSC008.JPG", 6);
    EXPECT_TRUE(wahl.fehlerzeilen.empty());
    EXPECT_EQ(wahl.pfade, Pfade(o_, {u"DSC004.JPG", u"DSC005.JPG", u"DSC006.JPG", u"DSC006.png", u"DSC007.JPG",
                                     u"DSC008.JPG"}));
    const Bildserienwahl eins = BildserieWaehlen(o_ + u"DSC012.JPG", o_ + u"DSC012.JPG", 1);
    EXPECT_TRUE(eins.fehlerzeilen.empty());
    EXPECT_EQ(eins.pfade, Pfade(o_, {u"DSC012.JPG"}));
}

TEST_F(PhotoSeriesFolder, MistakesAreNamedBeforeAnythingIsWritten) {
    Datei("a/IMG_1.jpg");
    Datei("a/IMG_2.jpg");
    Datei("a/IMG_3.jpg");
    Datei("b/IMG_9.jpg");
    Datei("a/Z.jpg");
    Datei("a/b.jpg");
    struct Fall { Text erstes, letztes; int schueler; std::vector<Text> zeilen; };
    const std::vector<Text> reihenfolge = {u"Diese Reihenfolge kann nicht sein.",
                                           u"Die Nummer des ersten Schülerbilds kommt",
                                           u"alphabetisch NACH der des letzten Schülerbilds."};
    const Fall faelle[] = {
        {o_ + u"a/IMG_1.jpg", o_ + u"b/IMG_9.jpg", 2,
         {u"Das erste und das letzte Schülerbild", u"befinden sich nicht im gleichen Ordner."}},
        {o_ + u"a/IMG_3.jpg", o_ + u"a/IMG_1.jpg", 3, reihenfolge},
        // In name order "b" comes before "Z", in the camera's order after it.
        {o_ + u"a/b.jpg", o_ + u"a/Z.jpg", 2, reihenfolge},
        {o_ + u"fehlt/IMG_1.jpg", o_ + u"fehlt/IMG_2.jpg", 2,
         {u"Dieser Ordner konnte nicht geladen werden:", o_ + u"fehlt/"}},
        {o_ + u"a/IMG_1.jpg", o_ + u"a/IMG_3.jpg", 4,
         {u"Die Anzahl der 3 Bilder entspricht nicht der", u"Anzahl der 4 Schüler in der Klasse",
          u"Bitte vervollständigen Sie erst ihre Fotoaufnahmen."}},
        {o_ + u"a/IMG_2.jpg", o_ + u"a/IMG_2.jpg", 0,
         {u"Die Anzahl der 1 Bilder entspricht nicht der", u"Anzahl der 0 Schüler in der Klasse",
          u"Bitte vervollständigen Sie erst ihre Fotoaufnahmen."}},
    };
    for (const Fall& f : faelle) {
        const Bildserienwahl wahl = BildserieWaehlen(f.erstes, f.letztes, f.schueler);
        EXPECT_EQ(wahl.fehlerzeilen, f.zeilen) << Utf8FromText(f.erstes) << " " << Utf8FromText(f.letztes);
        EXPECT_TRUE(wahl.pfade.empty()) << Utf8FromText(f.erstes);
    }
    EXPECT_EQ(OrdnerMitTrenner(u"/IMG_1.jpg"), u"/");
    EXPECT_EQ(OrdnerMitTrenner(u"/a/b/IMG_1.jpg"), u"/a/b/");
}
