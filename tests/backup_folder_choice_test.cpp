// Choosing the external backup folder: the writability probe never touches a
// file of the teacher's, a folder whose name the settings file cannot hold is
// refused, and a folder on no mounted drive is kept only when confirmed.
#include <unistd.h>

#include "dialog_script.hpp"
#include "gradebook_fixture.hpp"
#include "photo_files.hpp"
#include "platform/files.hpp"
#include "shell/catalogue.hpp"
#include "shell/settings.hpp"

namespace fs = std::filesystem;

namespace {
const Text kJa = u"Ja, das ist ok";

class BackupFolderChoice : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        requester_ = std::make_unique<RequesterStandIn>(ordner_ / "zenity");
        einstellungen_ = ordner_ / "Einstellungen";
    }
    void TearDown() override {
        requester_.reset();
        GradebookTest::TearDown();
    }

    // Chooses the folder in the requester and answers the boxes as scripted.
    void Waehlen(const fs::path& ordner, const std::function<void(Dialogskript&)>& boxen = {}) {
        requester_->Antworten({ordner.string()});
        Dialogskript skript(*backend);
        if (boxen) boxen(skript);
        skript.Starten();
        EXPECT_EQ(BackupOrdnerFestlegen(TextFromUtf8(einstellungen_.string())), 0);
        EXPECT_TRUE(skript.Fertig()) << "a scripted box was not shown";
        gelbeBilder_ = skript.GelbeBilder();
    }
    static std::vector<Text> Zeilen(const fs::path& ordner, std::initializer_list<const char16_t*> text) {
        std::vector<Text> z;
        for (const char16_t* t : text) z.push_back(t == nullptr ? TextFromUtf8(ordner.string()) : Text(t));
        return z;
    }

    std::unique_ptr<RequesterStandIn> requester_;
    fs::path einstellungen_;
    int gelbeBilder_ = 0;
};

// ---------------------------------------------------------------- the probe

TEST_F(BackupFolderChoice, ProbeLeavesEveryFileOfTheFolderAsItWas) {
    const fs::path stick = ordner_ / "STICK";
    Schreiben(stick / "Test.txt", "Notizen der Lehrerin\r\n");
    Schreiben(stick / ".Kladdorix-Schreibprobe-1", "auch das bleibt");
    Waehlen(stick);
    EXPECT_EQ(BackupOrdner, TextFromUtf8(stick.string()));
    EXPECT_EQ(Lesen(stick / "Test.txt"), "Notizen der Lehrerin\r\n");
    EXPECT_EQ(Lesen(stick / ".Kladdorix-Schreibprobe-1"), "auch das bleibt");
    EXPECT_EQ(Dateien(stick), (std::vector<std::string>{".Kladdorix-Schreibprobe-1", "Test.txt"}))
        << "the probe is gone and nothing else was made";
    EXPECT_TRUE(Lesen(einstellungen_).starts_with(stick.string() + "\r\n"));
    EXPECT_EQ(gelbeBilder_, 0) << "a reachable folder asks nothing";
}

TEST_F(BackupFolderChoice, ProbeFilesAreNewAndUnique) {
    const Text ordner = TextFromUtf8(ordner_.string());
    const Text a = CreateProbeFile(ordner), b = CreateProbeFile(ordner);
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    EXPECT_NE(a, b);
    EXPECT_EQ(PathKind(a), 1);
    EXPECT_TRUE(DeleteFileAt(a));
    EXPECT_TRUE(DeleteFileAt(b));
    EXPECT_EQ(CreateProbeFile(ordner + u"/fehlt"), u"");
}

TEST_F(BackupFolderChoice, AFolderThatTakesNoFileIsRefused) {
    // Chosen, then gone before the probe (a stick pulled at that moment).
    const fs::path weg = ordner_ / "weg";
    Waehlen(weg, [&](Dialogskript& s) {
        s.Box(u"Fehler", {255, 0, 0},
              Zeilen(weg, {u"Auf dem von Ihnen gewählten externen Backup-Ordner", nullptr,
                           u"konnte nicht geschrieben werden."}),
              {kOkSchalter}, 0);
    });
    EXPECT_EQ(BackupOrdner, u"");
    EXPECT_FALSE(fs::exists(einstellungen_));
}

// ---------------------------------------------------------------- names the settings file cannot hold

TEST_F(BackupFolderChoice, ANameTheSettingsFileCannotHoldIsRefused) {
    for (const char* name : {"Łódź", "Ṡicherung", "Kopie €"}) {
        SCOPED_TRACE(name);
        const fs::path ordner = ordner_ / fs::u8path(name);
        fs::create_directories(ordner);
        BackupOrdner = u"/vorher";
        Waehlen(ordner, [&](Dialogskript& s) {
            s.Box(u"Fehler", {255, 0, 0},
                  Zeilen(ordner, {u"Der Name des gewählten Ordners", nullptr, u"enthält Zeichen, die die Einstellungsdatei",
                                  u"nicht speichern kann. Bitte wählen Sie einen anderen Ordner."}),
                  {kOkSchalter}, 0);
        });
        EXPECT_EQ(BackupOrdner, u"");
        EXPECT_FALSE(fs::exists(einstellungen_));
        EXPECT_TRUE(Dateien(ordner).empty()) << "no probe was written";
    }
}

TEST_F(BackupFolderChoice, ALatin1NameIsKeptAndReadsBackToItself) {
    const fs::path ordner = ordner_ / fs::u8path("Sicherung Müller ß");
    fs::create_directories(ordner);
    Waehlen(ordner);
    const Text gewaehlt = TextFromUtf8(ordner.string());
    EXPECT_EQ(BackupOrdner, gewaehlt);
    BackupOrdner.clear();
    ASSERT_TRUE(EinstellungenLesenAus(TextFromUtf8(einstellungen_.string())));
    EXPECT_EQ(BackupOrdner, gewaehlt);
}

TEST(SettingsLines, WhatALineCanHold) {
    const std::pair<Text, bool> faelle[] = {
        {u"/media/anna/STICK", true}, {u"/home/müller/ß é ÿ", true}, {u"", true},
        {u"/home/łukasz", false},     {u"/x/€", false},             {u"/a\nb", false},
        {u"/a\rb", false},            {Text(u"/a\0b", 4), false},   {u"/x/\U0001F600", false},
    };
    for (const auto& [zeile, haltbar] : faelle) EXPECT_EQ(InEinstellungenSpeicherbar(zeile), haltbar) << Utf8FromText(zeile);
}

// ---------------------------------------------------------------- a folder on no mounted drive

class UnmountedBackupFolder : public BackupFolderChoice {
protected:
    void SetUp() override {
        BackupFolderChoice::SetUp();
        // An empty mount point left behind on the root file system.
        leer_ = fs::path("/media") / ("rk-test-" + std::to_string(::getpid()));
        std::error_code ec;
        fs::create_directories(leer_, ec);
        if (ec || !fs::is_directory(leer_)) GTEST_SKIP() << "/media takes no folder here";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(leer_, ec);
        BackupFolderChoice::TearDown();
    }
    void Antwort(int schalter) {
        Waehlen(leer_, [&](Dialogskript& s) {
            s.Box(u"Info", {255, 255, 0},
                  Zeilen(leer_, {u"Der gewählte Ordner", nullptr,
                                 u"liegt auf keinem eingehängten Laufwerk. Solange dort keines",
                                 u"eingehängt ist, wird dorthin keine Sicherungskopie geschrieben.",
                                 u"Wollen Sie ihn trotzdem als externen Backup-Ordner verwenden?"}),
                  {kJa, u"NEIN"}, schalter);
        });
    }
    fs::path leer_;
};

TEST_F(UnmountedBackupFolder, IsDroppedWithoutConfirmation) {
    Antwort(1);
    EXPECT_EQ(BackupOrdner, u"");
    EXPECT_FALSE(fs::exists(einstellungen_));
    EXPECT_TRUE(Dateien(leer_).empty()) << "nothing was written on the root file system";
}

TEST_F(UnmountedBackupFolder, IsKeptWhenConfirmed) {
    Antwort(0);
    EXPECT_EQ(BackupOrdner, TextFromUtf8(leer_.string()));
    EXPECT_TRUE(Lesen(einstellungen_).starts_with(leer_.string() + "\r\n"));
    EXPECT_TRUE(Dateien(leer_).empty());
}
}  // namespace
