// Where the program keeps its files: program folder, settings file, data
// folder "Noten" with its class folders, the mirror below an external backup
// folder, and the drive list that decides whether that folder is reachable.
#pragma once
#include <array>
#include <utility>
#include <vector>

#include "platform/text.hpp"

inline const Text kEinstellungsdateiName = u".Kladdorix-Einstellungen";
// Locked by the running program so that a second start on the same folder
// ends at once; it stays empty and may stay behind.
inline const Text kSperrdateiName = u".Kladdorix-Sperre";
// The private folder (0700, outside the program folder) for plain copies
// while encryption is on; emptied at every start and end.
inline const Text kPrivaterOrdnerName = u"rido-kladdorix";
inline const Text kDatenordnerName = u"Noten";
inline const Text kBilderordnerName = u"Bilder";
inline const Text kBackupordnerName = u"Backups";

// The folder that holds the program file, absolute, with "/" separators.
// It is also the working folder for the whole run, so kDatenordnerName on its
// own names the data folder for saving, backups and deleting.
Text Programmordner();

// ".Kladdorix-Einstellungen" beside the program (not in the home folder).
Text Einstellungsdatei();
// The same for a given program folder; one trailing "/" or "\" is dropped.
Text EinstellungsdateiIn(const Text& programmordner);

// Programmordner + "/Noten", the absolute name the catalogue scans.
Text Datenordner();
Text DatenordnerIn(const Text& programmordner);

// The layout below a data folder (absolute, relative "Noten", or the mirror's
// "Noten"): the class folder is named exactly as the class and holds the
// gradebooks of all its subjects plus "Bilder" and "Backups".
Text KlassenordnerPfad(const Text& datenordner, const Text& klasse);
Text Bilderordner(const Text& datenordner, const Text& klasse);
Text Backupordner(const Text& datenordner, const Text& klasse);
// class + " " + subject + ".slk", e.g. "7b Deutsch.slk".
Text Klassendateiname(const Text& klasse, const Text& fach);
// The gradebook's path inside a data folder: "7b/7b Deutsch.slk".
Text KlassendateiImDatenordner(const Text& klasse, const Text& fach);
// Whether a name can stand on its own as one folder or file name: not empty,
// not "." or "..", and without "/", "\" or a control character. A class,
// subject or student name becomes part of a path only when it is one.
bool IstEinfacherName(const Text& name);
// Whether a path relative to the program folder ("Noten/7b/7b Mathe.slk")
// names something below "Noten" once its "." and ".." are resolved as text.
// Links are not followed: a class folder that is a link stays allowed.
bool BleibtImDatenordner(const Text& pfad);
// The class and subject of a gradebook file as the catalogue shows them. For
// "7b/7b Mathe.slk" (or an absolute path ending so) that is the class folder
// 7b and the subject taken by position: the end of the extension-less path,
// (its length) - 2 - 2 * (length of the folder name) characters, "" when that
// is not positive. For a file named class + " " + subject + ".slk" it is
// exactly the subject.
Text FachAusKlassendatei(const Text& klassendatei, const Text& klassenordner);
std::array<Text, 2> KatalogTitel(const Text& pfad);
// The last two parts of a path, "7b/7b Mathe.slk": the gradebook below its data folder.
Text KlassendateiUnterNoten(const Text& pfad);
// Whether a file name counts as a gradebook: its extension is "slk" in any
// letter case.
bool IstKlassendateiname(const Text& name);

// The mirror of the data folder: backupOrdner + "/Noten".
Text Spiegeldatenordner(const Text& backupOrdner);
// Where a file given relative to the program folder ("Noten/7b/...") is
// copied below the external backup folder: backupOrdner + "/" + that path.
Text Spiegelpfad(const Text& backupOrdner, const Text& pfadImProgrammordner);

// Root names of the drives that are present and removable or fixed, in
// descending text order. Without drive letters a drive is a mounted file
// system and its root the mount point with a trailing "/" ("/", "/home/",
// "/media/anna/STICK/"); pseudo, network and optical mounts are left out.
std::vector<Text> Laufwerksliste();
// The list made from (root, drive type) pairs: roots trimmed of characters
// up to code 32 at both ends, empty roots and other types than removable (2)
// or fixed (3) dropped, the rest sorted descending.
std::vector<Text> LaufwerkslisteAus(const std::vector<std::pair<Text, int>>& laufwerke);

// Whether the folder lies on one of the listed drives. A drive-letter root
// ("C:\") matches when the first two characters are equal, exactly (so
// "c:/x" is not on "C:\"); a mount-point root matches when the folder lies
// below it, whole path components compared ("/media/STICK2" is not on
// "/media/STICK/"). Relative folders lie on no drive.
bool AufLaufwerk(const Text& ordner, const std::vector<Text>& laufwerke);

// Whether copies may go to the external backup folder: it is not empty, lies
// on a drive of Laufwerksliste, is an existing folder, and its drive is
// present as DriveOfPathPresent decides. The list test alone would pass any
// absolute path on a system whose root "/" is a fixed drive; the last test
// catches a folder below /media, /run/media or /mnt whose stick is not
// plugged in, where only an empty mount-point folder was left behind. Such a
// folder counts as unreachable and the copies are skipped without a word.
bool BackupOrdnerErreichbar(const Text& backupOrdner);
