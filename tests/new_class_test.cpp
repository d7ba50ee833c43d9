// A new class is on disk before its class screen opens: after a crash the
// catalogue lists it and creating or opening it offers the unsaved students
// back; creating a class that exists opens it instead of an empty one.
#include <chrono>
#include <ctime>
#include <filesystem>

#include "gradebook/class_file.hpp"
#include "gradebook/recovery_offer.hpp"
#include "gradebook_fixture.hpp"
#include "shell/catalogue.hpp"

namespace fs = std::filesystem;

namespace {
class NewClass : public GradebookTest {
protected:
    static constexpr const char* kDatei = "Noten/8b/8b Englisch.slk";
    static constexpr const char* kRettung = "Noten/8b/8b Englisch.slk.ungespeichert";

    // The recovery file's time fixed, so the offer's box has a known size;
    // then a tap on its button k ("Wiederherstellen" 0, "Verwerfen" 1).
    void AngebotBeantworten(size_t k) {
        std::tm t{};
        t.tm_year = 126;
        t.tm_mon = 11;
        t.tm_mday = 6;
        t.tm_hour = 14;
        t.tm_min = 5;
        t.tm_isdst = -1;
        fs::last_write_time(kRettung, std::chrono::file_clock::from_sys(
                                          std::chrono::system_clock::from_time_t(std::mktime(&t))));
        const auto box = WiederherstellungsAngebot(u"8b Englisch", u"06 Dec 2026", u"14:05:00");
        const TKachel& s = *box->Schalter[k];
        Press(Frame(12), s.x + s.Breite / 2.0f, s.y + s.Tiefe / 2.0f);
        Release(Frame(15), s.x + s.Breite / 2.0f, s.y + s.Tiefe / 2.0f);
    }
    static std::vector<std::string> Katalogdateien() {
        Katalog::LadenAus(u"Noten");
        std::vector<std::string> out;
        for (const Text& d : Klassendateien) out.push_back(Utf8FromText(d));
        return out;
    }
    // One student added on the class screen: the edit reaches only the recovery file.
    static void SchuelerHinzu(TSchulklasse& k) {
        Spalte(k, u"Arbeit", u"01.10.15");
        Schueler(k, u"Wisniewska", u"Zofia", {u"2-"});
        k.AenderungVermerken();
    }
};
}  // namespace

TEST_F(NewClass, ItIsOnDiskAtOnceAndAfterAKillTheCatalogueListsItAndOffersTheStudentBack) {
    auto k = Katalog::NeueKlasseAnlegen(u"8b", u"Englisch");
    ASSERT_TRUE(k);
    EXPECT_EQ(Lesen(kDatei), KlassendateiBytes(*k)) << "written before the class screen opens";
    EXPECT_EQ(Dateien("Noten/8b/Backups").size(), 1u) << "with its first backup";
    SchuelerHinzu(*k);
    const std::string leer = Lesen(kDatei);
    k.reset();  // killed: nothing saved on leaving

    EXPECT_EQ(Katalogdateien(), std::vector<std::string>{"8b/8b Englisch.slk"});
    // Opening it again (here by creating it once more) offers the student back.
    AngebotBeantworten(0);
    auto wieder = Katalog::NeueKlasseAnlegen(u"8b", u"Englisch");
    ASSERT_TRUE(wieder);
    ASSERT_EQ(wieder->Schueleranzahl, 2);
    EXPECT_EQ(wieder->Zelle(1, 0).Text[0], u"Wisniewska");
    EXPECT_EQ(wieder->Zelle(1, 1).Text[0], u"2-");
    EXPECT_EQ(Lesen(kDatei), leer) << "the class file waits for the next save";
}

TEST_F(NewClass, UnsavedChangesOfAClassNeverSavedAreOfferedAndNotRemoved) {
    // Left by a crash of a version that wrote the class file only on leaving.
    auto alt = TSchulklasse::bauen({u"8b", u"Englisch"}, 0);
    SchuelerHinzu(*alt);
    const std::string gerettet = Lesen(kRettung);
    alt.reset();
    ASSERT_FALSE(fs::exists(kDatei));
    EXPECT_TRUE(Katalogdateien().empty());

    struct Fall {
        size_t knopf;
        int schueler;
    };
    for (const Fall f : {Fall{1, 1}, Fall{0, 2}}) {
        SCOPED_TRACE(f.knopf);
        if (f.knopf == 0) Schreiben(kRettung, gerettet);
        fs::remove(kDatei);
        AngebotBeantworten(f.knopf);
        auto k = Katalog::NeueKlasseAnlegen(u"8b", u"Englisch");
        ASSERT_TRUE(k);
        EXPECT_EQ(k->Schueleranzahl, f.schueler);
        EXPECT_TRUE(fs::exists(kDatei));
        if (f.knopf == 0) {
            EXPECT_EQ(Lesen(kRettung), gerettet) << "kept until the next save";
        } else {
            // "Verwerfen" puts the changes aside, never away.
            EXPECT_FALSE(fs::exists(kRettung));
            bool beiseite = false;
            for (const std::string& b : Dateien("Noten/8b/Backups")) beiseite |= Lesen("Noten/8b/Backups/" + b) == gerettet;
            EXPECT_TRUE(beiseite);
        }
    }
}

TEST_F(NewClass, CreatingAnExistingClassOpensItUnchanged) {
    auto k = TSchulklasse::bauen({u"8b", u"Englisch"}, 0);
    Spalte(*k, u"Arbeit", u"01.10.15");
    Schueler(*k, u"Adler", u"Eva", {u"3"});
    ASSERT_TRUE(k->speichern(u""));
    const std::string bytes = Lesen(kDatei);
    // As a catalogue tile, and as a file only (the catalogue not yet reloaded).
    for (const bool katalog : {true, false}) {
        SCOPED_TRACE(katalog);
        if (katalog) {
            Katalogdateien();
        } else {
            Klassenkacheln.clear();
            Klassendateien.clear();
            Klassenordner.clear();
        }
        auto offen = Katalog::NeueKlasseAnlegen(u"8b", u"Englisch");
        ASSERT_TRUE(offen);
        EXPECT_EQ(KlassendateiBytes(*offen), bytes);
        EXPECT_EQ(Lesen(kDatei), bytes);
    }
}
