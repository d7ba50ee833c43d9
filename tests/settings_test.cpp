// The settings file read at start (line endings, missing lines, the exact
// G8 line, an unreadable file with its error box) and written byte for byte.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "headless_fixture.hpp"
#include "platform/files.hpp"
#include "platform/system_services.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/program_state.hpp"
#include "shell/settings.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"

namespace {

class TempFolder {
public:
    TempFolder() {
        Text base = EnvironmentVariable(u"TMPDIR");
        if (base.empty()) base = u"/tmp";
        std::random_device zufall;
        path = base + u"/rk-settings-" + TextFromUtf8(std::to_string(zufall()));
        EXPECT_TRUE(CreateFolder(path, false));
    }
    ~TempFolder() { Remove(path); }
    static void Remove(const Text& p) {
        if (PathKind(p) == 2)
            for (const Text& name : ListFolder(p, true)) Remove(p + u"/" + name);
        std::remove(Utf8FromText(p).c_str());
    }
    Text path;
};

void WriteBytes(const Text& path, const std::string& bytes) {
    std::ofstream out(Utf8FromText(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadBytes(const Text& path) {
    std::ifstream in(Utf8FromText(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The globals the settings touch, restored after each test.
class GlobalsGuard {
public:
    GlobalsGuard() : backup_(BackupOrdner), start_(StartOrdner), oberstufe_(OberstufeAb) {}
    ~GlobalsGuard() {
        BackupOrdner = backup_;
        StartOrdner = start_;
        OberstufeAb = oberstufe_;
    }

private:
    Text backup_, start_;
    int oberstufe_;
};

const Text kVorgabeStart = u"/home/lehrer/";

struct LeseFall {
    const char* was;
    std::string inhalt;
    Text backupOrdner, startOrdner;
    int oberstufeAb;
};

TEST(Settings, ReadsOneTwoOrThreeLinesWithEitherLineEnd) {
    const LeseFall faelle[] = {
        {"empty file: defaults", "", u"", kVorgabeStart, 11},
        {"one empty line", "\r\n", u"", kVorgabeStart, 11},
        {"one line", "/media/anna/STICK\r\n", u"/media/anna/STICK", kVorgabeStart, 11},
        {"one line without end", "/media/anna/STICK", u"/media/anna/STICK", kVorgabeStart, 11},
        {"empty second line empties StartOrdner", "/b\r\n\r\n", u"/b", u"", 11},
        {"two lines CR LF", "/b\r\n/home/anna/\r\n", u"/b", u"/home/anna/", 11},
        {"two lines LF", "/b\n/home/anna/\n", u"/b", u"/home/anna/", 11},
        {"G8 CR LF", "/b\r\n/s\r\nG8-Gymnasium\r\n", u"/b", u"/s", 10},
        {"G8 LF", "/b\n/s\nG8-Gymnasium\n", u"/b", u"/s", 10},
        {"G8 without line end", "/b\r\n/s\r\nG8-Gymnasium", u"/b", u"/s", 10},
        {"G8 with empty first lines", "\r\n\r\nG8-Gymnasium\r\n", u"", u"", 10},
        {"trailing blank counts as G9", "/b\r\n/s\r\nG8-Gymnasium \r\n", u"/b", u"/s", 11},
        {"leading blank counts as G9", "/b\r\n/s\r\n G8-Gymnasium\r\n", u"/b", u"/s", 11},
        {"small letters count as G9", "/b\r\n/s\r\ng8-gymnasium\r\n", u"/b", u"/s", 11},
        {"empty third line", "/b\r\n/s\r\n\r\n", u"/b", u"/s", 11},
        {"further lines ignored", "/b\r\n/s\r\nG8-Gymnasium\r\nG9\r\n/x\r\n", u"/b", u"/s", 10},
        {"G8 only in a fourth line", "/b\r\n/s\r\nG9\r\nG8-Gymnasium\r\n", u"/b", u"/s", 11},
        {"CR dropped wherever it stands", "/b\rac\rkup\r\n\r/s\r\nG8-\rGymnasium\r\r\n", u"/backup", u"/s", 10},
        {"NUL ends a line", std::string("/b\0/s\r\n", 7), u"/b", u"/s", 11},
        {"Latin-1 umlauts", "/media/M\xfcller/Sch\xfcler \xdf\xe4\xf6\r\n/home/j\xfcrgen/\r\n",
         u"/media/Müller/Schüler ßäö", u"/home/jürgen/", 11},
    };
    GlobalsGuard guard;
    TempFolder tmp;
    const Text datei = tmp.path + u"/.Kladdorix-Einstellungen";
    for (const LeseFall& f : faelle) {
        SCOPED_TRACE(f.was);
        WriteBytes(datei, f.inhalt);
        // Leftovers of a previous read must not survive.
        BackupOrdner = u"/alt";
        StartOrdner = kVorgabeStart;
        OberstufeAb = 10;
        EXPECT_TRUE(EinstellungenLesenAus(datei));
        EXPECT_EQ(BackupOrdner, f.backupOrdner);
        EXPECT_EQ(StartOrdner, f.startOrdner);
        EXPECT_EQ(OberstufeAb, f.oberstufeAb);
    }
}

TEST(Settings, MissingFileLeavesTheDefaultsAndStartUpGoesOn) {
    GlobalsGuard guard;
    TempFolder tmp;
    BackupOrdner = u"/alt";
    StartOrdner = kVorgabeStart;
    OberstufeAb = 10;
    EXPECT_TRUE(EinstellungenLesenAus(tmp.path + u"/.Kladdorix-Einstellungen"));
    EXPECT_EQ(BackupOrdner, u"");
    EXPECT_EQ(StartOrdner, kVorgabeStart);
    EXPECT_EQ(OberstufeAb, 11);
    EXPECT_EQ(PathKind(tmp.path + u"/.Kladdorix-Einstellungen"), 0);  // reading creates nothing
}

struct SchreibFall {
    const char* was;
    Text backupOrdner, startOrdner;
    int oberstufeAb;
    std::string bytes;
};

TEST(Settings, WritesTwoLinesForG9AndThreeForG8WithCrLf) {
    const SchreibFall faelle[] = {
        {"G9", u"/media/anna/STICK/Sicherung", u"/home/anna/", 11,
         "/media/anna/STICK/Sicherung\r\n/home/anna/\r\n"},
        {"G8", u"/media/anna/STICK/Sicherung", u"/home/anna/", 10,
         "/media/anna/STICK/Sicherung\r\n/home/anna/\r\nG8-Gymnasium\r\n"},
        {"no backup folder", u"", u"/home/anna/", 11, "\r\n/home/anna/\r\n"},
        {"all empty, G8", u"", u"", 10, "\r\n\r\nG8-Gymnasium\r\n"},
        {"Latin-1 umlauts", u"/media/Müller/Schüler ß", u"/home/jürgen/Ä", 11,
         "/media/M\xfcller/Sch\xfcler \xdf\r\n/home/j\xfcrgen/\xc4\r\n"},
        // A start folder from the environment that a line cannot hold: left
        // out, so the same default comes back, or before the G8 line the
        // nearest folder a line can hold.
        {"start folder beyond Latin-1, G9", u"/b", u"/home/łukasz/", 11, "/b\r\n"},
        {"start folder beyond Latin-1, G8", u"/b", u"/home/łukasz/Ṡ/", 10, "/b\r\n/home/\r\nG8-Gymnasium\r\n"},
        {"start folder with a line feed, G8", u"/b", u"/a\nb", 10, "/b\r\n/\r\nG8-Gymnasium\r\n"},
    };
    GlobalsGuard guard;
    TempFolder tmp;
    const Text datei = tmp.path + u"/.Kladdorix-Einstellungen";
    // An older, longer file is replaced, not overwritten in part.
    WriteBytes(datei, "/alt/und/lang\r\n/alt/start/\r\nG8-Gymnasium\r\nmehr\r\n");
    for (const SchreibFall& f : faelle) {
        SCOPED_TRACE(f.was);
        BackupOrdner = f.backupOrdner;
        StartOrdner = f.startOrdner;
        OberstufeAb = f.oberstufeAb;
        EXPECT_TRUE(EinstellungenSchreibenNach(datei));
        EXPECT_EQ(ReadBytes(datei), f.bytes);
    }
}

TEST(Settings, WrittenSettingsReadBackUnchanged) {
    GlobalsGuard guard;
    TempFolder tmp;
    const Text datei = tmp.path + u"/.Kladdorix-Einstellungen";
    const struct {
        Text backupOrdner, startOrdner;
        int oberstufeAb;
    } faelle[] = {
        {u"/media/anna/STICK", u"/home/anna/", 10},
        {u"/media/anna/STICK", u"/home/anna/", 11},
        {u"", u"", 10},
        {u"", u"", 11},
        {u"/mnt/Schüler Daten", u"/home/jürgen/Fotos ÄÖÜ/", 10},
    };
    for (const auto& f : faelle) {
        BackupOrdner = f.backupOrdner;
        StartOrdner = f.startOrdner;
        OberstufeAb = f.oberstufeAb;
        ASSERT_TRUE(EinstellungenSchreibenNach(datei));
        BackupOrdner = u"x";
        StartOrdner = u"y";
        OberstufeAb = 21 - f.oberstufeAb;
        EXPECT_TRUE(EinstellungenLesenAus(datei));
        EXPECT_EQ(BackupOrdner, f.backupOrdner);
        EXPECT_EQ(StartOrdner, f.startOrdner);
        EXPECT_EQ(OberstufeAb, f.oberstufeAb);
    }
}

TEST(Settings, ABackupFolderALineCannotHoldIsNeverWritten) {
    GlobalsGuard guard;
    TempFolder tmp;
    const Text datei = tmp.path + u"/.Kladdorix-Einstellungen";
    WriteBytes(datei, "/alt\r\n/start/\r\n");
    for (const Text& ordner : {Text(u"/media/Łódź"), Text(u"/b/€"), Text(u"/a\nb")}) {
        BackupOrdner = ordner;
        EXPECT_FALSE(EinstellungenSchreibenNach(datei)) << Utf8FromText(ordner);
        EXPECT_EQ(ReadBytes(datei), "/alt\r\n/start/\r\n");
    }
}

TEST(Settings, WritingReportsAFileThatCannotBeCreated) {
    GlobalsGuard guard;
    TempFolder tmp;
    ASSERT_TRUE(CreateFolder(tmp.path + u"/.Kladdorix-Einstellungen", false));
    const Text faelle[] = {
        tmp.path + u"/fehlt/.Kladdorix-Einstellungen",  // folder missing
        tmp.path + u"/.Kladdorix-Einstellungen",        // a folder of that name
    };
    for (const Text& datei : faelle) EXPECT_FALSE(EinstellungenSchreibenNach(datei)) << Utf8FromText(datei);
    EXPECT_EQ(PathKind(tmp.path + u"/.Kladdorix-Einstellungen"), 2);
}

// An unreadable settings file: a folder of that name, which also root cannot
// read as a file.
class UnreadableSettings : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        Taktgeber = CreateFrameTimer(50);
        static bool fonts = false;
        if (!fonts) {
            TInfoBox::LadeSchriften();
            fonts = true;
        }
        datei = tmp.path + u"/.Kladdorix-Einstellungen";
        ASSERT_TRUE(CreateFolder(datei, false));
    }
    GlobalsGuard guard;
    TempFolder tmp;
    Text datei;
};

TEST_F(UnreadableSettings, ErrorBoxNamesTheFileAndAsksToRemoveIt) {
    auto box = EinstellungsfehlerBox();
    EXPECT_EQ(box->title, u"Fehler");
    EXPECT_EQ(box->titleRGB, (RGBFarbe{255, 0, 0}));
    EXPECT_EQ(box->info, (std::vector<Text>{u"Die Einstellungsdatei   .Kladdorix-Einstellungen",
                                            u"scheint schreibgeschützt zu sein. Bitte ent-",
                                            u"fernen Sie sie und starten das Programm neu."}));
    ASSERT_EQ(box->Schalter.size(), 1u);
    ASSERT_FALSE(box->Schalter[0]->Text.empty());
    EXPECT_EQ(box->Schalter[0]->Text[0], u"      Ok      ");
}

TEST_F(UnreadableSettings, OkInTheBoxEndsTheProgram) {
    // The box that the reader shows has the same layout as this one.
    auto box = EinstellungsfehlerBox();
    const TKachel& ok = *box->Schalter[0];
    const float cx = ok.x + ok.Breite / 2.0f, cy = ok.y + ok.Tiefe / 2.0f;
    const long long vorher = backend->Flips();
    Press(Frame(12), cx, cy);
    Release(Frame(14), cx, cy);
    StartOrdner = kVorgabeStart;
    EXPECT_FALSE(EinstellungenLesenAus(datei));
    EXPECT_GE(backend->Flips(), vorher + 14);  // shown until the button was pressed
    EXPECT_EQ(BackupOrdner, u"");
    EXPECT_EQ(StartOrdner, kVorgabeStart);
    EXPECT_EQ(OberstufeAb, 11);
    EXPECT_EQ(PathKind(datei), 2);  // left alone for the user to remove
}

TEST_F(UnreadableSettings, DismissingTheBoxEndsTheProgramToo) {
    const long long vorher = backend->Flips();
    KeyTap(Frame(20), 27);
    EXPECT_FALSE(EinstellungenLesenAus(datei));
    EXPECT_GE(backend->Flips(), vorher + 20);
}

}  // namespace
