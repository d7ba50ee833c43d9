// Names of the settings file, the data folder layout and its external mirror,
// the drive list and whether the external backup folder is reachable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/drives.hpp"
#include "platform/files.hpp"
#include "platform/system_services.hpp"
#include "gradebook/data_folders.hpp"

namespace {

// A fresh folder below the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder() {
        Text base = EnvironmentVariable(u"TMPDIR");
        if (base.empty()) base = u"/tmp";
        std::random_device zufall;
        path = base + u"/rk-folders-" + TextFromUtf8(std::to_string(zufall()));
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

struct OrdnerFall {
    Text programmordner, einstellungsdatei, datenordner;
};

TEST(Folders, SettingsFileAndDataFolderBesideTheProgram) {
    const OrdnerFall faelle[] = {
        {u"/opt/rido", u"/opt/rido/.Kladdorix-Einstellungen", u"/opt/rido/Noten"},
        {u"/opt/rido/", u"/opt/rido/.Kladdorix-Einstellungen", u"/opt/rido/Noten"},
        {u"C:\\Programme\\Rido\\", u"C:\\Programme\\Rido/.Kladdorix-Einstellungen", u"C:\\Programme\\Rido/Noten"},
        // Only one separator is dropped.
        {u"/opt/rido//", u"/opt/rido//.Kladdorix-Einstellungen", u"/opt/rido//Noten"},
        // A program in the root folder must not land in the working folder.
        {u"/", u"/.Kladdorix-Einstellungen", u"/Noten"},
        {u"/home/jürgen/Schüler Noten", u"/home/jürgen/Schüler Noten/.Kladdorix-Einstellungen",
         u"/home/jürgen/Schüler Noten/Noten"},
    };
    for (const OrdnerFall& f : faelle) {
        SCOPED_TRACE(Utf8FromText(f.programmordner));
        EXPECT_EQ(EinstellungsdateiIn(f.programmordner), f.einstellungsdatei);
        EXPECT_EQ(DatenordnerIn(f.programmordner), f.datenordner);
    }
}

TEST(Folders, ProgramFolderIsTheAbsoluteFolderOfTheRunningProgram) {
    const Text ordner = Programmordner();
    ASSERT_FALSE(ordner.empty());
    EXPECT_EQ(ordner.front(), u'/');
    EXPECT_NE(ordner.back(), u'/');
    EXPECT_EQ(PathKind(ordner + u"/rk_unit_tests"), 1);
    EXPECT_EQ(Einstellungsdatei(), ordner + u"/.Kladdorix-Einstellungen");
    EXPECT_EQ(Datenordner(), ordner + u"/Noten");
}

struct KlassenFall {
    Text datenordner, klasse, fach;
    Text klassenordner, bilder, backups, dateiname, imDatenordner;
};

TEST(Folders, ClassFolderHoldsGradebooksPhotosAndBackups) {
    const KlassenFall faelle[] = {
        {u"Noten", u"7b", u"Deutsch", u"Noten/7b", u"Noten/7b/Bilder", u"Noten/7b/Backups", u"7b Deutsch.slk",
         u"7b/7b Deutsch.slk"},
        {u"/opt/rido/Noten/", u"Q11", u"Mathematik LK", u"/opt/rido/Noten/Q11", u"/opt/rido/Noten/Q11/Bilder",
         u"/opt/rido/Noten/Q11/Backups", u"Q11 Mathematik LK.slk", u"Q11/Q11 Mathematik LK.slk"},
        {u"Noten", u"5ä", u"Erdkunde (bili)", u"Noten/5ä", u"Noten/5ä/Bilder", u"Noten/5ä/Backups",
         u"5ä Erdkunde (bili).slk", u"5ä/5ä Erdkunde (bili).slk"},
    };
    for (const KlassenFall& f : faelle) {
        SCOPED_TRACE(Utf8FromText(f.klasse + u" " + f.fach));
        EXPECT_EQ(KlassenordnerPfad(f.datenordner, f.klasse), f.klassenordner);
        EXPECT_EQ(Bilderordner(f.datenordner, f.klasse), f.bilder);
        EXPECT_EQ(Backupordner(f.datenordner, f.klasse), f.backups);
        EXPECT_EQ(Klassendateiname(f.klasse, f.fach), f.dateiname);
        EXPECT_EQ(KlassendateiImDatenordner(f.klasse, f.fach), f.imDatenordner);
    }
}

TEST(Folders, RelativeDataFolderNameMatchesTheAbsoluteOne) {
    // Saving uses "Noten/..." against the working folder, the catalogue the
    // absolute path; both must end in the same folder.
    EXPECT_EQ(DatenordnerIn(u"/opt/rido"), u"/opt/rido/" + kDatenordnerName);
    EXPECT_EQ(KlassenordnerPfad(kDatenordnerName, u"7b"), u"Noten/7b");
}

struct SpiegelFall {
    Text backupOrdner, spiegel, kopieDerKlassendatei, kopieDesBackups;
};

TEST(Folders, MirrorRepeatsTheDataFolderLayoutBelowTheBackupFolder) {
    const Text backupDatei = u"Noten/7b/Backups/7b Deutsch 2024-03-01 10-15-00.slk";
    const SpiegelFall faelle[] = {
        {u"/media/anna/STICK/Sicherung", u"/media/anna/STICK/Sicherung/Noten",
         u"/media/anna/STICK/Sicherung/Noten/7b/7b Deutsch.slk",
         u"/media/anna/STICK/Sicherung/Noten/7b/Backups/7b Deutsch 2024-03-01 10-15-00.slk"},
        {u"/media/anna/STICK/", u"/media/anna/STICK/Noten", u"/media/anna/STICK/Noten/7b/7b Deutsch.slk",
         u"/media/anna/STICK/Noten/7b/Backups/7b Deutsch 2024-03-01 10-15-00.slk"},
        {u"E:\\Sicherung\\", u"E:\\Sicherung/Noten", u"E:\\Sicherung/Noten/7b/7b Deutsch.slk",
         u"E:\\Sicherung/Noten/7b/Backups/7b Deutsch 2024-03-01 10-15-00.slk"},
    };
    for (const SpiegelFall& f : faelle) {
        SCOPED_TRACE(Utf8FromText(f.backupOrdner));
        EXPECT_EQ(Spiegeldatenordner(f.backupOrdner), f.spiegel);
        // The copy of a gradebook: by its path in the program folder, and
        // by the layout helpers on the mirror; both must agree.
        EXPECT_EQ(Spiegelpfad(f.backupOrdner, u"Noten/" + KlassendateiImDatenordner(u"7b", u"Deutsch")),
                  f.kopieDerKlassendatei);
        EXPECT_EQ(KlassenordnerPfad(Spiegeldatenordner(f.backupOrdner), u"7b") + u"/" +
                      Klassendateiname(u"7b", u"Deutsch"),
                  f.kopieDerKlassendatei);
        EXPECT_EQ(Spiegelpfad(f.backupOrdner, backupDatei), f.kopieDesBackups);
    }
}

TEST(Folders, OnlySlkFilesInAnyLetterCaseAreGradebooks) {
    const std::pair<Text, bool> faelle[] = {
        {u"7b Deutsch.slk", true},    {u"7b Deutsch.SLK", true},      {u"7b Deutsch.Slk", true},
        {u"7b Deutsch.slk.bak", false}, {u"7b Deutsch.slkx", false},  {u"7b Deutsch.sl", false},
        {u"slk", false},              {u"7b Deutsch", false},         {u"Notizen.txt", false},
        {u"7b.v2 Deutsch.slk", true},
    };
    for (const auto& [name, erwartet] : faelle) EXPECT_EQ(IstKlassendateiname(name), erwartet) << Utf8FromText(name);
}

struct LaufwerkslistenFall {
    const char* was;
    std::vector<std::pair<Text, int>> laufwerke;
    std::vector<Text> liste;
};

TEST(Folders, DriveListKeepsRemovableAndFixedDrivesSortedDescending) {
    const LaufwerkslistenFall faelle[] = {
        {"drive letters", {{u"A:\\", 2}, {u"C:\\", 3}, {u"D:\\", 5}, {u"E:\\", 2}, {u"Z:\\", 4}},
         {u"E:\\", u"C:\\", u"A:\\"}},
        {"mount points", {{u"/", 3}, {u"/home/", 3}, {u"/media/anna/STICK/", 2}, {u"/boot/efi/", 3}},
         {u"/media/anna/STICK/", u"/home/", u"/boot/efi/", u"/"}},
        {"blank and control characters trimmed", {{u"  C:\\ ", 3}, {u"\tD:\\\r", 2}}, {u"D:\\", u"C:\\"}},
        {"blank entries dropped", {{u"", 3}, {u"   ", 2}, {u"C:\\", 3}}, {u"C:\\"}},
        {"unknown types dropped", {{u"C:\\", 0}, {u"D:\\", 1}, {u"E:\\", 6}}, {}},
        {"nothing", {}, {}},
    };
    for (const LaufwerkslistenFall& f : faelle) EXPECT_EQ(LaufwerkslisteAus(f.laufwerke), f.liste) << f.was;
}

TEST(Folders, DriveListOfThisMachine) {
    const std::vector<Text> liste = Laufwerksliste();
    EXPECT_TRUE(std::is_sorted(liste.begin(), liste.end(), std::greater<Text>()));
    const auto laufwerke = LogicalDrives();
    for (const Text& wurzel : liste) {
        EXPECT_EQ(PathKind(wurzel), 2) << Utf8FromText(wurzel);
        EXPECT_TRUE(std::any_of(laufwerke.begin(), laufwerke.end(), [&](const auto& l) {
            return l.first == wurzel && (l.second == kDriveRemovable || l.second == kDriveFixed);
        })) << Utf8FromText(wurzel);
    }
}

struct LaufwerksFall {
    Text ordner;
    std::vector<Text> laufwerke;
    bool drauf;
};

TEST(Folders, FolderLiesOnAListedDrive) {
    const std::vector<Text> buchstaben = {u"E:\\", u"C:\\"};
    const std::vector<Text> mounts = {u"/media/anna/STICK/", u"/home/", u"/boot/efi/"};
    const LaufwerksFall faelle[] = {
        {u"E:/Sicherung", buchstaben, true},
        {u"C:\\Sicherung", buchstaben, true},
        {u"D:/Sicherung", buchstaben, false},   // the stick is not plugged in
        {u"e:/Sicherung", buchstaben, false},   // compared exactly
        {u"E", buchstaben, false},
        {u"/media/anna/STICK/Sicherung", mounts, true},
        {u"/media/anna/STICK", mounts, true},
        {u"/media/anna/STICK2/Sicherung", mounts, false},  // whole path components
        {u"/media/anna/Sicherung", mounts, false},
        {u"/homework/x", mounts, false},
        {u"/home/anna/Sicherung", mounts, true},
        {u"/srv/Sicherung", {u"/"}, true},     // everything lies on the root file system
        {u"Sicherung", {u"/"}, false},         // relative: on no drive
        {u"", {u"/", u"C:\\"}, false},
        {u"/srv/Sicherung", {}, false},
    };
    for (const LaufwerksFall& f : faelle) EXPECT_EQ(AufLaufwerk(f.ordner, f.laufwerke), f.drauf) << Utf8FromText(f.ordner);
}

TEST(Folders, BackupFolderReachableOnlyAsAnExistingFolderOnAPresentDrive) {
    TempFolder tmp;
    const Text umlaute = tmp.path + u"/Sicherung Müller";
    ASSERT_TRUE(CreateFolder(umlaute, false));
    const Text datei = tmp.path + u"/keinOrdner.txt";
    std::ofstream(Utf8FromText(datei)) << "x";
    ASSERT_EQ(PathKind(datei), 1);

    const std::pair<Text, bool> faelle[] = {
        {tmp.path, true},
        {tmp.path + u"/", true},
        {umlaute, true},
        {tmp.path + u"/fehlt", false},
        {datei, false},
        {u"", false},
        {u".", false},  // exists, but a relative folder lies on no drive
    };
    for (const auto& [ordner, erreichbar] : faelle)
        EXPECT_EQ(BackupOrdnerErreichbar(ordner), erreichbar) << Utf8FromText(ordner);
}

}  // namespace
