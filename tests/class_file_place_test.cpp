// A gradebook writes only to its own file: a copied template is kept under
// the name of its file, names that would leave "Noten" are refused, and
// files beyond the limits are refused quickly and left as they are.
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "dialog_script.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/empty_duplicate.hpp"
#include "gradebook/name_check.hpp"
#include "gradebook/recovery_offer.hpp"
#include "gradebook_fixture.hpp"

namespace fs = std::filesystem;

namespace {

class OwnPlace : public GradebookTest {
protected:
    // Saves 7a Mathe with two students and one grade each.
    std::string SiebenA() {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        Schueler(*k, u"Berger", u"Lena", {u"2"});
        Schueler(*k, u"Klein", u"Tom", {u"4+"});
        EXPECT_TRUE(k->speichern(u""));
        return Lesen("Noten/7a/7a Mathe.slk");
    }
    // Opens the file as the catalogue does; the Ok of a box is clicked in
    // frame 15 and Escape in frame 300 closes whatever else comes. Returns
    // the frames the opening took.
    long long Oeffnen(const Text& datei, Klassenoeffnung& o) {
        const auto box = TitelabweichungHinweis(datei, {u"7a", u"Mathe"}, {u"7b", u"Mathe"});
        const TKachel& ok = *box->Schalter[0];
        Press(Frame(15), ok.x + ok.Breite / 2.0f, ok.y + ok.Tiefe / 2.0f);
        Release(Frame(18), ok.x + ok.Breite / 2.0f, ok.y + ok.Tiefe / 2.0f);
        backend->At(Frame(300), {ScriptedEvent::KeyDown, 27});
        const long long vorher = backend->Flips();
        o = KlasseMitWiederherstellungLaden(u"Noten/" + datei);
        return backend->Flips() - vorher;
    }
    // Every file below the working folder, relative.
    std::vector<std::string> AlleDateien() const {
        std::vector<std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(ordner_))
            if (e.is_regular_file()) out.push_back(fs::relative(e.path(), ordner_).generic_string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

}  // namespace

TEST_F(OwnPlace, CopiedTemplateIsSavedToItsOwnFileAndSaysSoOnce) {
    const std::string siebenA = SiebenA();
    const auto backupsA = Dateien("Noten/7a/Backups");
    Schreiben("Noten/7b/7b Mathe.slk", siebenA);  // the teacher's copy, still "7a" inside

    Klassenoeffnung o;
    const long long bilder = Oeffnen(u"7b/7b Mathe.slk", o);
    ASSERT_TRUE(o.klasse);
    EXPECT_GT(bilder, 15) << "the note was shown";
    EXPECT_LT(bilder, 300) << "one note, answered by its Ok";
    EXPECT_EQ(o.klasse->Titel, (std::array<Text, 2>{u"7b", u"Mathe"}));
    EXPECT_EQ(o.klasse->Zelle(0, 0).Text[0], u"7b");

    o.klasse->Zelle(1, 1).Text[0] = u"1";
    o.klasse->AenderungVermerken();
    EXPECT_TRUE(fs::exists("Noten/7b/7b Mathe.slk.ungespeichert"));
    EXPECT_FALSE(fs::exists("Noten/7a/7a Mathe.slk.ungespeichert"));
    ASSERT_TRUE(o.klasse->speichern(u""));

    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), siebenA) << "the other class byte for byte";
    EXPECT_EQ(Dateien("Noten/7a/Backups"), backupsA);
    const std::string siebenB = Lesen("Noten/7b/7b Mathe.slk");
    EXPECT_NE(siebenB.find("C;X1;Y1;K\"7b\""), std::string::npos);
    EXPECT_NE(siebenB.find("C;X3;Y5;K\"1\""), std::string::npos);
    ASSERT_EQ(Dateien("Noten/7b/Backups").size(), 1u);
    EXPECT_EQ(Lesen("Noten/7b/Backups/" + Dateien("Noten/7b/Backups")[0]), siebenB);

    // Its cells agree now: no note any more.
    EXPECT_EQ(Oeffnen(u"7b/7b Mathe.slk", o), 0);
    ASSERT_TRUE(o.klasse);
}

TEST_F(OwnPlace, NamesThatWouldLeaveTheDataFolderAreRefused) {
    const Text schlecht[] = {u"../../../outside/7z", u"7z/x", u"7z\\x", u"..", u".", u"7z\nx", u""};
    const std::string siebenA = SiebenA();
    for (const Text& name : schlecht) {
        SCOPED_TRACE(Utf8FromText(name));
        EXPECT_FALSE(IstEinfacherName(name));
        // A class of that name is neither saved nor kept for recovery.
        auto k = TSchulklasse::bauen({name, u"Mathe"}, 0);
        Schueler(*k, u"Adler", u"Tom");
        EXPECT_FALSE(k->speichern(u""));
        EXPECT_FALSE(WiederherstellungSchreiben(*k));
        auto mitFach = TSchulklasse::bauen({u"7z", name}, 0);
        EXPECT_EQ(name.empty() || name == u"." || name == u"..", static_cast<bool>(mitFach->speichern(u""))) << "subject with separators";

        // Typed for a duplicate, as class or as subject: the "Fehler" box.
        for (const auto& [klasse, fach] : {std::pair<Text, Text>{name, u"Mathe"}, {u"8a", name}}) {
            const auto box = NamensfehlerBox(name);
            Dialogskript skript(*backend);
            skript.Box(u"Fehler", {255, 0, 0}, box->info, {kOkSchalter}, 0).Starten();
            auto kopie = KlasseAusBytes(siebenA);
            EXPECT_EQ(LeeresDuplikatUnter(*kopie, klasse, fach), Duplikatergebnis::UngueltigerName);
            EXPECT_TRUE(skript.Fertig());
            EXPECT_EQ(kopie->Titel, (std::array<Text, 2>{u"7a", u"Mathe"}));
        }
    }
    std::vector<std::string> erwartet = AlleDateien();
    EXPECT_FALSE(fs::exists(ordner_.parent_path() / "outside"));
    for (const std::string& d : erwartet)
        EXPECT_TRUE(d.starts_with("Noten/7a/") || d.starts_with("Noten/7z/")) << d;

    struct Pfad { const char16_t* pfad; bool drin; };
    const Pfad pfade[] = {{u"Noten/7a/7a Mathe.slk", true}, {u"Noten/./7a/../7b/x.slk", true},
                          {u"Noten/7a/../../x.slk", false}, {u"Noten/..", false}, {u"Noten", false},
                          {u"Noten/7a\\..\\..\\x", false}, {u"/Noten/7a/x", false}, {u"Bilder/7a", false}};
    for (const Pfad& p : pfade) EXPECT_EQ(BleibtImDatenordner(p.pfad), p.drin) << Utf8FromText(p.pfad);
}

TEST_F(OwnPlace, ClassFolderThatIsALinkStaysAllowed) {
    const fs::path woanders = ordner_ / "Stick" / "7c";
    fs::create_directories(woanders);
    fs::create_directory_symlink(woanders, ordner_ / "Noten" / "7c");
    auto k = TSchulklasse::bauen({u"7c", u"Bio"}, 0);
    Schueler(*k, u"Adler", u"Tom");
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_TRUE(fs::exists(woanders / "7c Bio.slk"));
    Klassenoeffnung o;
    EXPECT_EQ(Oeffnen(u"7c/7c Bio.slk", o), 0);
    ASSERT_TRUE(o.klasse);
}

TEST_F(OwnPlace, FilesBeyondTheLimitsAreRefusedAndLeftAlone) {
    // A class of n students (surname s, notes `notiz`) and m columns.
    auto bauen = [](int n, int m, const Text& nachname, const Text& notiz) {
        auto k = TSchulklasse::bauen({u"7d", u"Mathe"}, 0);
        for (int j = 0; j < m; ++j) Spalte(*k, u"Arbeit");
        for (int i = 0; i < n; ++i) Schueler(*k, nachname, u"Tom", {}, kPlatzhalterTelefon, notiz);
        return KlassendateiBytes(*k);
    };
    auto ersetzt = [](std::string bytes, const std::string& alt, const std::string& neu) {
        return bytes.replace(bytes.find(alt), alt.size(), neu);
    };
    const std::string adler = bauen(1, 0, u"Adler", kPlatzhalterNotizen);
    struct Fall { const char* name; std::string bytes; bool laedt; };
    const Text tausend(kWertHoechstlaenge, u'x');
    const Fall faelle[] = {
        {"surname of 10 MB", ersetzt(adler, "Adler", std::string(10u << 20, 'x')), false},
        {"surname of 1001 characters", bauen(1, 1, tausend + u"x", kPlatzhalterNotizen), false},
        {"1001 semicolons", bauen(1, 1, Text(1001, u';'), kPlatzhalterNotizen), false},
        {"notes of 1001 characters", bauen(1, 1, u"Adler", tausend + u"x"), false},
        {"501 students", bauen(501, 0, u"Adler", kPlatzhalterNotizen), false},
        {"501 columns", bauen(0, 501, u"Adler", kPlatzhalterNotizen), false},
        {"500 000 students", ersetzt(adler, "\"1 Sch", "\"500000 Sch"), false},
        {"500 000 columns", ersetzt(adler, "\"0 Noten", "\"500000 Noten"), false},
        {"values of 1000 characters", bauen(2, 1, tausend, tausend), true},
        {"1000 semicolons", bauen(1, 1, Text(1000, u';'), kPlatzhalterNotizen), true},
        {"500 students", bauen(500, 0, u"Adler", kPlatzhalterNotizen), true},
        {"500 columns", bauen(1, 500, u"Adler", kPlatzhalterNotizen), true},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Schreiben("Noten/7d/7d Mathe.slk", f.bytes);
        const auto vorher = AlleDateien();
        Klassenoeffnung o;
        const auto beginn = std::chrono::steady_clock::now();
        const long long bilder = Oeffnen(u"7d/7d Mathe.slk", o);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - beginn).count();
        std::printf("%-30s %9zu bytes  %s in %.1f ms\n", f.name, f.bytes.size(), o.klasse ? "loaded" : "refused", ms);
        EXPECT_EQ(o.klasse != nullptr, f.laedt);
        EXPECT_FALSE(o.gemeldet) << "the catalogue shows its own failed-load box";
        EXPECT_EQ(bilder, 0);
        EXPECT_EQ(Lesen("Noten/7d/7d Mathe.slk"), f.bytes);
        EXPECT_EQ(AlleDateien(), vorher);
    }
}
