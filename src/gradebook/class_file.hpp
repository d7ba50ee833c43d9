// Class file operations beyond the record's own methods: the file's bytes
// built and parsed in memory, the crash-safe write, and the switch that lets
// the benchmark skip forcing the bytes onto the disk.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "gradebook/schulklasse.hpp"
#include "platform/file_bytes.hpp"

// True in the program: every saved file is forced onto the disk before it
// replaces the old one. Only measurements turn it off.
extern bool KlassendateiAufPlatteZwingen;

// Larger files are no gradebook (a full year of a big class is some 100 KB);
// laden refuses them instead of reading them into memory.
inline constexpr size_t kKlassendateiHoechstgroesse = 16u * 1024u * 1024u;

// The complete class file of the record, byte for byte.
std::string KlassendateiBytes(const TSchulklasse& klasse);
// Limits of a readable class file: a file beyond them is damaged (no
// gradebook comes near them) and refused before anything is built for it.
inline constexpr size_t kWertHoechstlaenge = 1000;
inline constexpr long long kHoechstanzahlSpalten = 500;
inline constexpr long long kHoechstanzahlSchueler = 500;

// The record read from class file bytes; null for a damaged file. With
// `titel`, the record takes these class and subject names (and the grade
// scale of that class) instead of those in its first cells.
std::shared_ptr<TSchulklasse> KlasseAusBytes(std::string_view bytes, const std::array<::Text, 2>* titel = nullptr);
// The class and subject in the first cells of class file bytes that load.
std::array<::Text, 2> TitelDerBytes(std::string_view bytes);

// Writes the bytes to pfad + ".neu", forces them onto the disk, renames the
// file over pfad and forces the rename onto the disk: pfad then holds either
// its old or its new content, whatever happens in between, and a true result
// survives a power cut. False (and pfad untouched) on a failure before the rename.
bool DateiSicherErsetzen(const ::Text& pfad, std::string_view bytes);
inline const ::Text kNeuEndung = kReplacementSuffix;

// The recovery file of a class file: its path + ".ungespeichert". It holds the
// class as a save would write it, after every edit not yet saved.
inline const ::Text kWiederherstellungsEndung = u".ungespeichert";
::Text Wiederherstellungspfad(const ::Text& klassendatei);
// Removes the recovery file of the class file after a successful save.
void WiederherstellungEntfernen(const ::Text& klassendatei);
// Replaces the recovery file beside the class file (KlassendateiPfad)
// by the class's current bytes; false when it could not be written.
bool WiederherstellungSchreiben(const TSchulklasse& klasse);

// The record's class file relative to the working folder: "Noten/" + its
// Klassendatei, or the standard name of its titles.
::Text KlassendateiPfad(const TSchulklasse& klasse);
// Whether the record may write its class file `datei` (relative to the
// working folder): the class is a plain folder name, "<class> <subject>.slk"
// a plain file name, and the file lies below "Noten".
bool SpeicherortZulaessig(const TSchulklasse& klasse, const ::Text& datei);

// Paths relative to the working folder (the program folder): "Noten/<class>",
// "Noten/<class>/<class> <subject>.slk" and the backup
// "Noten/<class>/Backups/<class> <subject> <stamp>.slk".
::Text KlassenordnerRelativ(const ::Text& klasse);
::Text KlassendateiRelativ(const ::Text& klasse, const ::Text& fach);
::Text BackupPfad(const ::Text& klasse, const ::Text& fach, const ::Text& zeitstempel);
// The dated backup of a just saved class file, unless the newest backup of
// the class and subject holds the same bytes, and the copies below the
// external backup folder when it is reachable (the class file always, and the
// backup that holds these bytes). The result names what could not be written.
Speicherergebnis BackupsSchreiben(const ::Text& klasse, const ::Text& fach, const ::Text& name,
                                  std::string_view bytes);
// The newest dated backup "<K> <F> <stamp>.slk" in the Backups folder of the
// class (relative, as BackupPfad gives it); "" when there is none.
::Text NeuestesBackup(const ::Text& klasse, const ::Text& fach);
