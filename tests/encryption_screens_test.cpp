// The teacher's encryption dialogs on the headless backend: switching on
// through main-menu tile 6 with the password typed twice, the start prompt
// with a wrong try and the way in by recovery code, and the lock after five
// idle minutes on the virtual clock that returns to the entry underneath;
// the lock of an open class, which saves it and takes its rows away until
// the password brings them back.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "dialog_script.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/encryption.hpp"
#include "gradebook/file_places.hpp"
#include "gradebook/save_index.hpp"
#include "gradebook_fixture.hpp"
#include "platform/sealed_files.hpp"
#include "shell/catalogue.hpp"
#include "shell/class_screen_loop.hpp"
#include "shell/encryption_screens.hpp"
#include "shell/shared_menus.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

namespace fs = std::filesystem;

int HauptmenueVerwalten();

namespace {

const FarbArg kRot{255, 0, 0}, kGelb{255, 255, 0};
const Text kPasswort = u"Kreide und Tafel 42";

class EncryptionScreens : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        SetNewKeyLimits({1, 8192});
        SealingOff();
        if (!Hauptmenue) BaueGemeinsameMenues();
        Texteingabe::initialisieren();
    }
    void TearDown() override {
        SealingOff();
        User::Leerlaufwache = nullptr;
        SetNewKeyLimits({});
        GradebookTest::TearDown();
    }
    // A key file for kPasswort; the program then starts locked.
    std::array<unsigned char, kRecoveryBytes> Schluessel() {
        std::array<unsigned char, kRecoveryBytes> code{};
        EXPECT_TRUE(PrepareNewKey(code));
        EXPECT_EQ(WriteNewKeyFile(Schluesseldatei(), kPasswort, code), KeyResult::Ok);
        LockSealing();
        return code;
    }
};

TEST_F(EncryptionScreens, Tile6SwitchesOnWithThePasswordTypedTwiceAndSealsEveryFile) {
    auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
    Schueler(*k, u"Zappelmann", u"Quirin");
    ASSERT_TRUE(k->speichern(u""));
    Dialogskript s(*backend);
    s.Kachel(Hauptmenue, 6)
        .Box(u"Verschlüsselung", kGelb,
             {u"Sollen alle Notenbücher, Backups, ungespeicherten", u"Änderungen, Schülerbilder und der externe",
              u"Backup-Ordner verschlüsselt werden?", u"Ohne das Passwort oder den Wiederherstellungscode",
              u"lässt sich danach nichts mehr öffnen."},
             {u"Ja, verschlüsseln", u"  Nein  "}, 0)
        .Tippen(u"zu kurz")
        .Box(u"Fehler", kRot,
             {u"Das Passwort ist zu schwach. Es fehlen:", u"- mindestens 10 Zeichen (bisher 7)",
              u"- Zeichen aus 3 Arten (bisher 2); es fehlen:", u"  Großbuchstaben, Ziffern",
              u"- mindestens 6 verschiedene Zeichen (bisher 5)"},
             {u"      Ok      "}, 0)
        .Tippen(u"aaaaaaaaaaaa")
        .Box(u"Fehler", kRot,
             {u"Das Passwort ist zu schwach. Es fehlen:", u"- Zeichen aus 3 Arten (bisher 1); es fehlen:",
              u"  Großbuchstaben, Ziffern, Sonderzeichen", u"- mindestens 6 verschiedene Zeichen (bisher 1)"},
             {u"      Ok      "}, 0)
        .Tippen(kPasswort)
        .Tippen(kPasswort + u"!")
        .Box(u"Fehler", kRot,
             {u"Die beiden Eingaben sind verschieden.", u"Bitte geben Sie das Passwort",
              u"noch einmal zweimal gleich ein."},
             {u"      Ok      "}, 0)
        .Tippen(kPasswort)
        .Tippen(kPasswort)
        .Box(u"Wiederherstellungscode", kGelb,
             {u"Schreiben Sie diesen Wiederherstellungscode auf", u"und bewahren Sie ihn getrennt vom Rechner auf.",
              u" ", u"0000 0000 0000 0000 0000 0000 0000 0000", u" "},
             {u"Code ist notiert"}, 0)
        .Box(u"Info", kGelb, {u"2 Dateien sind jetzt verschlüsselt."}, {u"      Ok      "}, 0);
    s.Starten();
    EXPECT_EQ(HauptmenueVerwalten(), 0);
    EXPECT_TRUE(s.Fertig());
    EXPECT_EQ(CurrentSealMode(), SealMode::Unlocked);
    EXPECT_TRUE(fs::exists(".Kladdorix-Schluessel"));
    EXPECT_TRUE(IsSealedFile(u"Noten/7a/7a Mathe.slk"));
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk").find("Zappelmann"), std::string::npos);
    LockSealing();
    EXPECT_EQ(UnlockWithPassword(Schluesseldatei(), kPasswort), KeyResult::Ok);
}

TEST_F(EncryptionScreens, ChangingThePasswordWithANewKeyShowsTheNewCodeAndLeavesTheOldKeyFileUseless) {
    AblageorteBinden();
    Schluessel();
    ASSERT_EQ(UnlockWithPassword(Schluesseldatei(), kPasswort), KeyResult::Ok);
    auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
    Schueler(*k, u"Zappelmann", u"Quirin");
    ASSERT_TRUE(k->speichern(u""));
    const std::string alt = Lesen(".Kladdorix-Schluessel");
    const Text neu = u"Schwamm und Tafel 43";
    Dialogskript s(*backend);
    s.Kachel(Hauptmenue, 6)
        .Box(u"Verschlüsselung", kGelb, {u"Die Notenbücher werden verschlüsselt gespeichert."},
             {u"Passwort ändern", u"Verschlüsselung ausschalten"}, 0)
        .Tippen(kPasswort)
        .Tippen(neu)
        .Tippen(neu)
        .Box(u"Schlüssel", kGelb,
             {u"Soll auch ein neuer Schlüssel erzeugt werden?", u"Alte Kopien der Schlüsseldatei und der",
              u"bisherige Wiederherstellungscode öffnen dann", u"keine Datei mehr."},
             {u"Neuer Schlüssel", u"Schlüssel behalten"}, 0)
        .Box(u"Wiederherstellungscode", kGelb,
             {u"Schreiben Sie diesen Wiederherstellungscode auf", u"und bewahren Sie ihn getrennt vom Rechner auf.",
              u" ", u"0000 0000 0000 0000 0000 0000 0000 0000", u" "},
             {u"Code ist notiert"}, 0)
        .Box(u"Info", kGelb,
             {u"Das Passwort und der Schlüssel wurden geändert.", u"2 Dateien sind jetzt neu verschlüsselt."},
             {u"      Ok      "}, 0);
    s.Starten();
    EXPECT_EQ(HauptmenueVerwalten(), 0);
    EXPECT_TRUE(s.Fertig());
    EXPECT_FALSE(DataKeyChanging());
    EXPECT_EQ(Lesen(".Kladdorix-Schluessel").substr(0, 4), "RKS1");
    Schreiben("alt/.Kladdorix-Schluessel", alt);
    std::string bytes;
    for (const auto& [datei, passwort, ergebnis] :
         {std::tuple{u"alt/.Kladdorix-Schluessel", kPasswort, DataReadResult::Refused},
          std::tuple{u".Kladdorix-Schluessel", neu, DataReadResult::Ok}}) {
        SealingOff();
        ASSERT_EQ(UnlockWithPassword(datei, passwort), KeyResult::Ok);
        EXPECT_EQ(ReadDataFile(u"Noten/7a/7a Mathe.slk", bytes, 1 << 20), ergebnis) << Utf8FromText(datei);
    }
    SetPlaceRule(nullptr);
}

TEST_F(EncryptionScreens, StartAsksAgainAfterAWrongPasswordAndOpensWithTheRightOne) {
    Schluessel();
    Dialogskript s(*backend);
    s.Tippen(u"falsches Passwort")
        .Box(u"Fehler", kRot, {u"Das Passwort ist falsch."}, {u"Nochmal", u"Wiederherstellungscode"}, 0)
        .Tippen(kPasswort);
    s.Starten();
    EXPECT_TRUE(VerschluesselungBeimStart());
    EXPECT_TRUE(s.Fertig());
    EXPECT_EQ(CurrentSealMode(), SealMode::Unlocked);
}

// A plain class file at start: left by a switch-on cut short it is sealed;
// put in after the conversion had finished it stays as it is, to be refused
// when read, instead of being sealed without a word.
TEST_F(EncryptionScreens, PlainFilesAreSealedAtStartOnlyWhileTheConversionIsUnfinished) {
    struct Fall {
        const char* was;
        bool fertig;
        bool versiegelt;
    };
    for (const Fall& f : {Fall{"switch-on cut short", false, true}, Fall{"conversion finished", true, false}}) {
        SCOPED_TRACE(f.was);
        SealingOff();
        fs::remove(".Kladdorix-Stand");
        Schluessel();
        ASSERT_EQ(UnlockWithPassword(Schluesseldatei(), kPasswort), KeyResult::Ok);
        ASSERT_TRUE(StandBeginnen());
        if (f.fertig) {
            ASSERT_TRUE(StandAbschliessen());
        }
        LockSealing();
        fs::create_directories("Noten/7a");
        Schreiben("Noten/7a/7a Mathe.slk", "ID;PCALCOOO32\r\n");
        Dialogskript s(*backend);
        s.Tippen(kPasswort);
        s.Starten();
        EXPECT_TRUE(VerschluesselungBeimStart());
        EXPECT_TRUE(s.Fertig());
        EXPECT_EQ(IsSealedFile(u"Noten/7a/7a Mathe.slk"), f.versiegelt);
        EXPECT_EQ(StandLage(), Standlage::Fertig);
    }
}

TEST_F(EncryptionScreens, EscapeOnTheStartPromptEndsTheProgram) {
    Schluessel();
    Dialogskript s(*backend);
    s.Abbrechen();
    s.Starten();
    EXPECT_FALSE(VerschluesselungBeimStart());
    EXPECT_EQ(CurrentSealMode(), SealMode::Locked);
}

TEST_F(EncryptionScreens, TheRecoveryCodeTypedLooselyOpensAndSetsANewPassword) {
    const auto code = Schluessel();
    Text getippt;
    for (char16_t c : RecoveryCodeText(code))
        getippt.push_back(c == u' ' ? u'-' : (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c);
    const Text neu = u"ganz neues Passwort";
    Dialogskript s(*backend);
    s.Tippen(u"vergessen!!")
        .Box(u"Fehler", kRot, {u"Das Passwort ist falsch."}, {u"Nochmal", u"Wiederherstellungscode"}, 1)
        .Tippen(getippt)
        .Tippen(neu)
        .Tippen(neu)
        .Box(u"Info", kGelb, {u"Das neue Passwort gilt ab sofort."}, {u"      Ok      "}, 0);
    s.Starten();
    EXPECT_TRUE(VerschluesselungBeimStart());
    EXPECT_TRUE(s.Fertig());
    LockSealing();
    EXPECT_EQ(UnlockWithPassword(Schluesseldatei(), kPasswort), KeyResult::WrongSecret);
    EXPECT_EQ(UnlockWithPassword(Schluesseldatei(), neu), KeyResult::Ok);
}

TEST_F(EncryptionScreens, FiveIdleMinutesLockTheScreenAndTheRightPasswordReturnsToTheEntry) {
    Schluessel();
    ASSERT_EQ(UnlockWithPassword(Schluesseldatei(), kPasswort), KeyResult::Ok);
    User::Leerlaufwache = Sperren;
    User::LeerlaufGrenzeMs = kSperrNachMs;
    // A note being typed when the teacher walks away.
    Texteingabe::starten(1, u"Hallo", 0, -1, -1, 0);
    Dialogskript s(*backend);
    bool gesperrt = false;
    s.Wenn([] { return Texteingabe::eingeblendet == 1; },
           [this] { backend->SetClock(backend->Milliseconds() + kSperrNachMs - 1000); })
        .Wenn(nullptr, [] { EXPECT_EQ(CurrentSealMode(), SealMode::Unlocked); })
        .Wenn(nullptr, [this] { backend->SetClock(backend->Milliseconds() + 2000); })
        .Wenn([] { return Texteingabe::verdeckt == 1 && Texteingabe::eingeblendet == 1; },
              [&gesperrt] { gesperrt = CurrentSealMode() == SealMode::Locked; })
        .Tippen(u"nicht richtig")
        .Box(u"Fehler", kRot, {u"Das Passwort ist falsch."}, {u"Nochmal", u"Wiederherstellungscode"}, 0)
        .Tippen(kPasswort)
        .Wenn([] { return Texteingabe::verdeckt == 0; }, [] {})
        .Tippen(u" Welt");
    s.Starten();
    EXPECT_EQ(Texteingabe::verwenden(0), 1);
    EXPECT_TRUE(s.Fertig());
    EXPECT_TRUE(gesperrt);
    EXPECT_EQ(Texteingabe::Eingabetext, u"Hallo Welt");
    EXPECT_EQ(CurrentSealMode(), SealMode::Unlocked);
}

// Every text of the rows: the tiles of rows 1.., the per-student lines and
// the grades the undo list holds.
std::vector<Text> Zeilentexte(const TSchulklasse& k) {
    std::vector<Text> alle;
    for (size_t i = 1; i < k.Zensurzeile.size(); ++i)
        for (const auto& kachel : k.Zensurzeile[i]->Kachel) alle.insert(alle.end(), kachel->Text.begin(), kachel->Text.end());
    for (const auto* liste : {&k.Telefonnummer, &k.Notizen, &k.VergesseneHA}) alle.insert(alle.end(), liste->begin(), liste->end());
    for (const TNoteneintrag& e : k.Eintragsverlauf) alle.insert(alle.end(), e.text.begin(), e.text.end());
    return alle;
}

TEST_F(EncryptionScreens, TheLockSavesTheOpenClassTakesItsRowsAwayAndBringsThemBackAsTheyWere) {
    Schluessel();
    ASSERT_EQ(UnlockWithPassword(Schluesseldatei(), kPasswort), KeyResult::Ok);
    GridFontsLoaded();
    auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
    Spalte(*k, u"Arbeit");
    Schueler(*k, u"Adler", u"Anna", {u"3"}, u"0711 4711", u"liest gern vor");
    Schueler(*k, u"Zappelmann", u"Quirin", {u"2"});
    ASSERT_TRUE(k->speichern(u""));
    // A grade entered since the last save: only the recovery file has it.
    k->Zelle(1, 1).Text[0] = u"1";
    k->Eintragsverlauf.push_back({k->Zensurzeile[1]->Kachel[1], {u"3"}, {0, 0, 0}});
    k->AenderungVermerken();
    const std::string rettung = "Noten/7a/7a Mathe.slk.ungespeichert";
    ASSERT_TRUE(fs::exists(rettung));
    const std::vector<Text> vorher = Zeilentexte(*k);
    User::Leerlaufwache = Sperren;
    User::LeerlaufGrenzeMs = kSperrNachMs;

    float scrollX = 0, scrollY = 0;
    bool gesperrt = false, leer = false, gespeichert = false, wieder = false;
    Dialogskript s(*backend);
    // The lid closed for longer than the lock's time, and opened again.
    s.Wenn(nullptr,
           [&] {
               scrollX = Offset::ScrollX;
               scrollY = Offset::ScrollY;
               backend->Suspend(kSperrNachMs + 60000);
           })
        .Wenn([] { return Texteingabe::verdeckt == 1 && Texteingabe::eingeblendet == 1; },
              [&] {
                  gesperrt = CurrentSealMode() == SealMode::Locked;
                  leer = true;
                  for (const Text& t : Zeilentexte(*k)) leer &= t.empty();
                  gespeichert = !fs::exists(rettung) && IsSealedFile(u"Noten/7a/7a Mathe.slk");
              })
        .Tippen(kPasswort)
        .Wenn([] { return Texteingabe::verdeckt == 0; },
              [&] {
                  wieder = Zeilentexte(*k) == vorher && Offset::ScrollX == scrollX && Offset::ScrollY == scrollY;
                  KeyTap(Frame(2), 27);
              });
    s.Starten();
    EXPECT_EQ(KlassenbildschirmLaufen(*k), 3);
    EXPECT_TRUE(s.Fertig());
    EXPECT_TRUE(gesperrt);
    EXPECT_TRUE(gespeichert) << "the lock saves first";
    EXPECT_TRUE(leer) << "a text of the rows stayed in the tiles while locked";
    EXPECT_TRUE(wieder) << "the screen after unlocking differs";
    EXPECT_EQ(Zeilentexte(*k), vorher);
    std::string bytes;
    ASSERT_EQ(ReadDataFile(u"Noten/7a/7a Mathe.slk", bytes, kKlassendateiHoechstgroesse), DataReadResult::Ok);
    const auto gelesen = KlasseAusBytes(bytes);
    ASSERT_TRUE(gelesen);
    EXPECT_EQ(gelesen->Zelle(1, 1).Text[0], u"1");
    EXPECT_EQ(gelesen->Notizen[1], u"liest gern vor");
}

}  // namespace
