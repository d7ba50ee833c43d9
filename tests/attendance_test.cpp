// Attendance and the lesson files: counts per half-year around the report
// date, hostile plan and attendance files refused and left untouched, and
// both files following saves, backups, restores, the empty duplicate and a
// student's rename or removal.
#include "class_edit_fixture.hpp"
#include "classscreen/class_commands.hpp"
#include "classscreen/seating_plan_screen.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/empty_duplicate.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/conversions.hpp"
#include "platform/process.hpp"
#include "platform/sealed_files.hpp"
#include "gradebook/encryption.hpp"
#include "classscreen/reports.hpp"

namespace fs = std::filesystem;

namespace {
const Schuelername kAnna{u"Adler", u"Anna"}, kBen{u"Berger", u"Ben"};

class Attendance : public ClassEditTest {
protected:
    std::shared_ptr<TSchulklasse> Klasse(const std::vector<std::pair<Text, Text>>& spalten = {{u"Arbeit", u"01.10.26"}}) {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        for (const auto& [typ, datum] : spalten) Spalte(*k, typ, datum);
        Schueler(*k, u"Adler", u"Anna");
        Schueler(*k, u"Berger", u"Ben");
        Schueler(*k, u"Chen", u"Clara");
        Ruhen(*k);
        return k;
    }
    // The "Fehler" boxes shown, by their lines.
    std::vector<std::vector<Text>> Boxen;
    void SetUp() override {
        ClassEditTest::SetUp();
        TInfoBox::Gezeigt = [this](const TInfoBox& b) { Boxen.push_back(b.info); };
    }
    void TearDown() override {
        TInfoBox::Gezeigt = nullptr;
        ClassEditTest::TearDown();
    }
    // Loads the lesson files of a fresh class as the plan screen does, a box answered.
    TUnterricht& Laden(TSchulklasse& k, const std::vector<Text>& box = {}) {
        auto& s = Neu();
        if (!box.empty()) s.Box(u"Fehler", {255, 0, 0}, box, {kOkSchalter}, 0);
        s.Starten();
        TUnterricht& u = UnterrichtLaden(k);
        EXPECT_TRUE(s.Fertig());
        return u;
    }
};
}  // namespace

TEST_F(Attendance, CountsPerHalfYearAroundTheReportDate) {
    TFehlzeiten f;
    struct Zeile { const char16_t* datum; int stunde; Anwesenheit art; int minuten; };
    const Zeile zeilen[] = {
        {u"15.09.26", 1, Anwesenheit::fehlt, 0},       {u"15.09.26", 2, Anwesenheit::fehlt, 0},
        {u"30.01.27", 3, Anwesenheit::entschuldigt, 0}, {u"31.01.27", 1, Anwesenheit::verspaetet, 5},
        {u"31.01.27", 2, Anwesenheit::fehlt, 0},       {u"01.02.27", 1, Anwesenheit::fehlt, 0},
        {u"02.02.27", 4, Anwesenheit::entschuldigt, 0}, {u"14.07.27", 6, Anwesenheit::verspaetet, 20},
    };
    for (const Zeile& z : zeilen) f.Setzen(z.datum, z.stunde, kAnna, z.art, z.minuten);
    f.Setzen(u"01.02.27", 1, kBen, Anwesenheit::fehlt);  // another student's line is not counted

    struct Fall { const char16_t* zeugnis; const char16_t* heute; Fehlzeitenzahlen h1, h2; };
    const Fall faelle[] = {
        // The half-year report column's date decides: the day itself is in the first half-year.
        {u"31.01.27", u"", {4, 3, 1, 5}, {2, 1, 1, 20}},
        {u"30.01.27", u"", {3, 2, 0, 0}, {3, 2, 2, 25}},
        {u"01.02.27", u"", {5, 4, 1, 5}, {1, 0, 1, 20}},
        // Without a report column: 31 January of the school year of today.
        {nullptr, u"08.12.26", {4, 3, 1, 5}, {2, 1, 1, 20}},
        {nullptr, u"01.03.27", {4, 3, 1, 5}, {2, 1, 1, 20}},
        {nullptr, u"01.08.27", {6, 4, 2, 25}, {0, 0, 0, 0}},  // the next school year: all before its boundary
    };
    for (const Fall& c : faelle) {
        SCOPED_TRACE(Utf8FromText(c.zeugnis ? c.zeugnis : c.heute));
        auto k = c.zeugnis ? Klasse({{u"Arbeit", u"01.10.26"}, {u"Zeugnis", c.zeugnis}}) : Klasse();
        const auto z = ZahlenProHalbjahr(f, kAnna, Halbjahresgrenze(*k, c.heute));
        EXPECT_EQ(z[0], c.h1);
        EXPECT_EQ(z[1], c.h2);
    }
    EXPECT_EQ(ZahlenImJahr(f, kAnna), (Fehlzeitenzahlen{6, 4, 2, 25}));
    EXPECT_EQ(FehlzeitenZeile({4, 3, 1, 5}, 0), u"1. Halbjahr: 4 Fehlstunden, 3 unentschuldigt, 1 Verspätung");
}

TEST_F(Attendance, FileLinesAreOneLinePerStudentAndLessonAndReadBack) {
    TFehlzeiten f;
    f.Setzen(u"02.02.27", 4, kBen, Anwesenheit::verspaetet, 15);
    f.Setzen(u"01.02.27", 1, kAnna, Anwesenheit::fehlt);
    f.Setzen(u"01.02.27", 1, kAnna, Anwesenheit::entschuldigt);  // the same lesson: replaced
    f.Setzen(u"01.02.27", 2, Schuelername{u"O;Neil", u""}, Anwesenheit::fehlt);
    f.Setzen(u"01.02.27", 3, kBen, Anwesenheit::fehlt);
    f.Setzen(u"01.02.27", 3, kBen, Anwesenheit::anwesend);  // present again: no line
    const std::string b = f.Bytes();
    EXPECT_EQ(b, "01.02.27;1;Adler;Anna;E;\r\n01.02.27;2;O;;Neil;;F;\r\n02.02.27;4;Berger;Ben;V;15\r\n");
    const auto l = FehlzeitenAusBytes(b, {kAnna, kBen, {u"O;Neil", u""}});
    ASSERT_TRUE(l.fehlzeiten) << Utf8FromText(l.fehler);
    EXPECT_EQ(l.fehlzeiten->Bytes(), b);
}

TEST_F(Attendance, DamagedOrHostileFilesAreRefusedAndLeftUntouched) {
    const std::string zehnMB = "Adler;Anna;1;1" + std::string(10u << 20, 'x') + "\r\n";
    struct Fall { const char* name; const char* endung; std::string bytes; };
    const Fall faelle[] = {
        {"a 10 MB line", ".sitzplan", zehnMB},
        {"a desk at 2,000,000,000", ".sitzplan", "Adler;Anna;1;1\r\nBerger;Ben;2000000000;1\r\n"},
        {"a name not in the class", ".sitzplan", "Adler;Anna;1;1\r\nZorn;Zoe;2;1\r\n"},
        {"a student at two desks", ".sitzplan", "Adler;Anna;1;1\r\nAdler;Anna;2;1\r\n"},
        {"no fields", ".sitzplan", "Adler Anna 1 1\r\n"},
        {"a 10 MB line", ".fehlzeiten", zehnMB},
        {"a name not in the class", ".fehlzeiten", "01.02.27;1;Zorn;Zoe;F;\r\n"},
        {"lesson 2,000,000,000", ".fehlzeiten", "01.02.27;2000000000;Adler;Anna;F;\r\n"},
        {"a bad date", ".fehlzeiten", "31.02.27;1;Adler;Anna;F;\r\n"},
        {"a late arrival without minutes", ".fehlzeiten", "01.02.27;1;Adler;Anna;V;\r\n"},
        {"an unknown kind", ".fehlzeiten", "01.02.27;1;Adler;Anna;X;\r\n"},
        {"one lesson twice", ".fehlzeiten", "01.02.27;1;Adler;Anna;F;\r\n01.02.27;1;Adler;Anna;E;\r\n"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(std::string(f.name) + f.endung);
        fs::remove_all("Noten/7a");
        const std::string pfad = std::string("Noten/7a/7a Mathe") + f.endung;
        Schreiben(pfad, f.bytes);
        auto k = Klasse();
        std::vector<Text> fehler;
        UnterrichtLesen(*k, &fehler);
        ASSERT_EQ(fehler.size(), 1u);
        EXPECT_TRUE(fehler[0].starts_with(u"7a Mathe" + TextFromUtf8(f.endung) + u": ")) << Utf8FromText(fehler[0]);
        // On the screen the teacher is told in a "Fehler" box.
        k->Unterricht.reset();
        Boxen.clear();
        TUnterricht& u = Laden(*k, Ablehnungszeilen(fehler[0]));
        EXPECT_EQ(Boxen, (std::vector<std::vector<Text>>{Ablehnungszeilen(fehler[0])}));
        // The gradebook works on: the default plan shows, the roll call goes on in memory,
        // and nothing is written over the refused file, not even by a save.
        EXPECT_EQ(u.Sitzplan.TischBei(1, 1)->name, kAnna);
        u.Sitzplan.Verschieben(kAnna, 6, 6);
        SitzplanSpeichern(*k);
        u.Fehlzeiten.Setzen(u"01.02.27", 5, kBen, Anwesenheit::fehlt);
        FehlzeitenSpeichern(*k);
        ASSERT_TRUE(k->speichern(u""));
        EXPECT_TRUE(Lesen(pfad) == f.bytes);
        // Only the good file is backed up with the class file.
        EXPECT_EQ(Dateien("Noten/7a/Backups").size(), 2u);
    }
}

TEST_F(Attendance, FilesFollowSavesBackupsRestoreDuplicateRenameAndRemoval) {
    auto k = Klasse();
    TUnterricht& u = Laden(*k);
    u.Sitzplan.Verschieben(kAnna, 7, 1);
    ASSERT_TRUE(SitzplanSpeichern(*k));
    u.Fehlzeiten.Setzen(u"01.02.27", 1, kAnna, Anwesenheit::fehlt);
    ASSERT_TRUE(FehlzeitenSpeichern(*k));
    ASSERT_TRUE(k->speichern(u""));
    // Made an hour ago, so that the saves below do not share its stamp.
    const Text neuestes = NeuestesBackup(u"7a", u"Mathe");
    const Text erstes = BackupPfad(u"7a", u"Mathe", u"26-01-01-08-00-00");
    for (const Text& e : {Text(u".slk"), kSitzplanEndung, kFehlzeitenEndung})
        fs::rename(Utf8FromText(Nebendatei(neuestes, e)), Utf8FromText(Nebendatei(erstes, e)));
    const std::string planAlt = Lesen("Noten/7a/7a Mathe.sitzplan"), fzAlt = Lesen("Noten/7a/7a Mathe.fehlzeiten");
    // The backup of this save holds both files under its stamp.
    EXPECT_EQ(Lesen(Utf8FromText(Nebendatei(erstes, kSitzplanEndung))), planAlt);
    EXPECT_EQ(Lesen(Utf8FromText(Nebendatei(erstes, kFehlzeitenEndung))), fzAlt);

    // A rename and a removal change both files at once.
    UnterrichtLaden(*k);
    const Umbenennungsergebnis e = SchuelerUmbenennen(*k, 1, {u"Zander", u"Anna"});
    UnterrichtUmbenennen(*k, kAnna, {u"Zander", u"Anna"});
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.fehlzeiten"), "01.02.27;1;Zander;Anna;F;\r\n");
    EXPECT_NE(Lesen("Noten/7a/7a Mathe.sitzplan").find("Zander;Anna;7;1"), std::string::npos);
    SchuelerEntfernen(*k, e.zeile);
    UnterrichtEntfernen(*k, {u"Zander", u"Anna"});
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.fehlzeiten"), "");
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.sitzplan").find("Zander"), std::string::npos);

    // Restoring the first backup brings back the plan and attendance of that save.
    EXPECT_EQ(BackupEinsetzen(*k, erstes), 1);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.sitzplan"), planAlt);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.fehlzeiten"), fzAlt);

    // The empty duplicate takes the plan along, without the attendance.
    auto d = KlasseAusBytes(Lesen("Noten/7a/7a Mathe.slk"));
    ASSERT_TRUE(d);
    ASSERT_EQ(LeeresDuplikatUnter(*d, u"8a", u"Mathe"), Duplikatergebnis::Erzeugt);
    EXPECT_EQ(Lesen("Noten/8a/8a Mathe.sitzplan"), planAlt);
    EXPECT_FALSE(fs::exists("Noten/8a/8a Mathe.fehlzeiten"));
}

namespace {
std::string PdfText(const Text& pdf) {
    std::string out;
    EXPECT_EQ(RunAndCapture({u"pdftotext", u"-raw", u"-enc", u"UTF-8", pdf, u"-"}, out), 0);
    return out;
}
}  // namespace

TEST_F(Attendance, StudentSheetAndClassListPrintTheCounts) {
    auto k = Klasse({{u"Arbeit", u"01.10.26"}, {u"Zeugnis", u"31.01.27"}});
    TUnterricht& u = Laden(*k);
    u.Fehlzeiten.Setzen(u"15.09.26", 1, kAnna, Anwesenheit::fehlt);
    u.Fehlzeiten.Setzen(u"30.01.27", 2, kAnna, Anwesenheit::entschuldigt);
    u.Fehlzeiten.Setzen(u"01.02.27", 3, kAnna, Anwesenheit::fehlt);
    u.Fehlzeiten.Setzen(u"02.02.27", 4, kAnna, Anwesenheit::verspaetet, 5);
    u.Fehlzeiten.Setzen(u"02.02.27", 4, kBen, Anwesenheit::entschuldigt);
    ASSERT_TRUE(FehlzeitenSpeichern(*k));
    k->Unterricht.reset();  // the reports read the file

    const std::string bogen = PdfText(SchuelerbogenSchreiben(*k, 1, Bogenumfang::FuerEltern));
    EXPECT_NE(bogen.find("Fehlzeiten\n1. Halbjahr: 2 Fehlstunden, 1 unentschuldigt, 0 Verspätungen\n"
                         "2. Halbjahr: 1 Fehlstunde, 1 unentschuldigt, 1 Verspätung"),
              std::string::npos)
        << bogen;
    const std::string liste = PdfText(KlassenlisteSchreiben(*k, false));
    EXPECT_NE(liste.find("Fehlst. unent."), std::string::npos) << liste;
    EXPECT_NE(liste.find("Adler, Anna 3 2\n"), std::string::npos) << liste;
    EXPECT_NE(liste.find("Berger, Ben 1 0\n"), std::string::npos) << liste;
    EXPECT_NE(liste.find("Chen, Clara 0 0\n"), std::string::npos) << liste;
    // The empty list has neither their heads nor counts: all its columns are empty.
    const std::string leer = PdfText(KlassenlisteSchreiben(*k, true));
    EXPECT_EQ(leer.find("Fehlst."), std::string::npos);
    EXPECT_EQ(leer.find("Adler, Anna 3"), std::string::npos);
}

TEST_F(Attendance, TurningEncryptionOnSealsPlanAndAttendanceAndTheyStillRead) {
    SetNewKeyLimits({1, 8192});
    SealingOff();
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    TUnterricht& u = Laden(*k);
    u.Sitzplan.Verschieben(kAnna, 6, 2);
    u.Fehlzeiten.Setzen(u"01.02.27", 1, kBen, Anwesenheit::fehlt);
    ASSERT_TRUE(SitzplanSpeichern(*k));
    ASSERT_TRUE(FehlzeitenSpeichern(*k));
    ASSERT_TRUE(k->speichern(u""));
    std::array<unsigned char, kRecoveryBytes> code{};
    ASSERT_TRUE(PrepareNewKey(code));
    ASSERT_EQ(WriteNewKeyFile(SchluesseldateiIn(u"."), u"ein langes Passwort", code), KeyResult::Ok);
    EXPECT_EQ(DateienUmstellen(true, u"").fehlgeschlagen, 0);
    for (const char* datei : {"Noten/7a/7a Mathe.sitzplan", "Noten/7a/7a Mathe.fehlzeiten"}) {
        const std::string bytes = Lesen(datei);
        EXPECT_EQ(bytes.substr(0, 4), "RKV2") << datei;
        EXPECT_EQ(bytes.find("Adler"), std::string::npos) << datei;
    }
    k->Unterricht.reset();
    TUnterricht& wieder = Laden(*k);
    EXPECT_EQ(wieder.Sitzplan.TischBei(6, 2)->name, kAnna);
    EXPECT_EQ(wieder.Fehlzeiten.Stand(u"01.02.27", 1, kBen), Anwesenheit::fehlt);
    SealingOff();
    SetNewKeyLimits({});
}
