// SIGTERM, SIGHUP and SIGINT end the program whatever is open: every modal
// loop closes without an answer (and every later one at once), the class
// screen saves and ends, a failed save is told on standard error with exit
// status 1, and a child process waited for is ended too.
#include <csignal>

#include "gradebook/class_file.hpp"
#include "gradebook_fixture.hpp"
#include "platform/end_signals.hpp"
#include "platform/process.hpp"
#include "shell/catalogue.hpp"
#include "shell/class_screen_loop.hpp"
#include "shell/shared_menus.hpp"
#include "tiles/texteingabe.hpp"

namespace fs = std::filesystem;

namespace {
class EndSignal : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        if (!Hauptmenue) BaueGemeinsameMenues();
        Texteingabe::initialisieren();
        ForgetEndSignal();
        CatchEndSignals();
        Austrittsstatus = 0;
    }
    void TearDown() override {
        ForgetEndSignal();
        for (int s : {SIGTERM, SIGHUP, SIGINT}) std::signal(s, SIG_DFL);
        Austrittsstatus = 0;
        GradebookTest::TearDown();
    }
    void SignalBei(long long frame, int sig) { backend->At(frame, {ScriptedEvent::Signal, sig}); }
    // A saved class with one edit waiting in its recovery file.
    std::shared_ptr<TSchulklasse> Bearbeitet() {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        Spalte(*k, u"Arbeit", u"01.10.26");
        Schueler(*k, u"Adler", u"Eva", {u"2"});
        EXPECT_TRUE(k->speichern(u""));
        k->Zelle(1, 1).Text[0] = u"1";
        k->AenderungVermerken();
        EXPECT_TRUE(fs::exists(kRettung));
        return k;
    }
    const fs::path kDatei = "Noten/7a/7a Mathe.slk";
    const fs::path kRettung = "Noten/7a/7a Mathe.slk.ungespeichert";
};
}  // namespace

TEST_F(EndSignal, EveryDialogClosesWithoutAnAnswerAndTheNextAtOnce) {
    struct Fall {
        const char* name;
        std::function<bool()> ohneAntwort;
    };
    const Fall faelle[] = {
        {"menu", [] {
             Klassenmenue->einblenden(0, 0, 0, 0, nullptr, 0, 0);
             return Klassenmenue->verwenden().empty();
         }},
        {"information box",
         [] { return TInfoBox::bauen(u"Warnung", {255, 0, 0}, {u"Zeile"}, {u"Ja", u"NEIN"})->verwenden().empty(); }},
        {"keyboard", [] {
             Texteingabe::starten(1, u"7a", 1, 0, -1, 0);
             return Texteingabe::verwenden(1) == 0;
         }},
        {"main menu", [] { return HauptmenueVerwalten() == 0; }},
    };
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        for (const Fall& f : faelle) {
            SCOPED_TRACE(std::string(f.name) + ", signal " + std::to_string(sig));
            ForgetEndSignal();
            SignalBei(Frame(30), sig);
            const long long beginn = Frame();
            EXPECT_TRUE(f.ohneAntwort());
            EXPECT_TRUE(EndSignalled());
            EXPECT_LT(Frame() - beginn, 60) << "the dialog stayed open after the signal";
            // Every dialog after it returns without a single frame.
            const long long danach = Frame();
            for (const Fall& g : faelle) EXPECT_TRUE(g.ohneAntwort()) << g.name;
            EXPECT_EQ(Frame(), danach);
        }
    }
}

TEST_F(EndSignal, TheClassScreenSavesAsOnEscapeAndEnds) {
    auto k = Bearbeitet();
    SignalBei(Frame(5), SIGTERM);
    EXPECT_EQ(KlassenbildschirmLaufen(*k), 3);
    EXPECT_EQ(Lesen(kDatei), KlassendateiBytes(*k));
    EXPECT_FALSE(fs::exists(kRettung));
    bool gesichert = false;  // with its dated backup, as on Escape
    for (const std::string& b : Dateien("Noten/7a/Backups")) gesichert |= Lesen("Noten/7a/Backups/" + b) == Lesen(kDatei);
    EXPECT_TRUE(gesichert);
    EXPECT_EQ(Austrittsstatus, 0);
}

TEST_F(EndSignal, AFailedSaveKeepsTheRecoveryFileAndSaysSoOnStandardError) {
    auto k = Bearbeitet();
    const std::string gerettet = Lesen(kRettung);
    fs::remove(kDatei);
    fs::create_directory(kDatei);  // the class file cannot be replaced
    SignalBei(Frame(5), SIGHUP);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(KlassenbildschirmLaufen(*k), 3) << "nobody can answer a box now";
    const std::string fehler = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Austrittsstatus, 1);
    EXPECT_EQ(Lesen(kRettung), gerettet);
    EXPECT_EQ(fehler,
              "Rido Kladdorix: Die Klasse 7a Mathe konnte beim Beenden nicht gespeichert werden; die Änderungen "
              "stehen in der Datei für ungespeicherte Änderungen und werden beim nächsten Öffnen angeboten.\n");
}

TEST_F(EndSignal, AChildProcessWaitedForIsEndedToo) {
    // The child sends the signal to the program and would then sleep for a minute.
    EXPECT_EQ(RunAndWait({u"sh", u"-c", u"kill -TERM $PPID; exec sleep 60"}), -1);
    std::string ausgabe;
    ForgetEndSignal();
    EXPECT_EQ(RunAndCapture({u"sh", u"-c", u"echo /home/anna; kill -HUP $PPID; exec sleep 60"}, ausgabe), -1);
    EXPECT_EQ(ausgabe, "") << "an answer that came before the signal is not used";
    // Without a signal a child runs to its end.
    ForgetEndSignal();
    EXPECT_EQ(RunAndCapture({u"sh", u"-c", u"sleep 0.2; echo fertig"}, ausgabe), 0);
    EXPECT_EQ(ausgabe, "fertig\n");
}
