// Folder and file names of the program's data, the drive list and the
// reachability test of the external backup folder.
#include "gradebook/data_folders.hpp"

#include <algorithm>
#include <functional>

#include "platform/conversions.hpp"
#include "platform/drives.hpp"
#include "platform/file_names.hpp"
#include "platform/files.hpp"
#include "platform/paths.hpp"
#include "platform/program_folder.hpp"

namespace {

// One trailing "/" or "\" removed, then "/" + name; unlike JoinPath an empty
// folder still gives "/" + name, so the program folder "/" works too.
Text Verbinden(const Text& ordner, const Text& name) {
    Text pfad = ordner;
    if (!pfad.empty() && (pfad.back() == u'/' || pfad.back() == u'\\')) pfad.pop_back();
    return pfad + u"/" + name;
}

bool IstLaufwerksbuchstabe(const Text& wurzel) { return wurzel.size() >= 2 && wurzel[1] == u':'; }

}  // namespace

Text Programmordner() { return NormalisePath(ExecutableFolder()); }

Text Einstellungsdatei() { return EinstellungsdateiIn(Programmordner()); }
Text EinstellungsdateiIn(const Text& programmordner) { return Verbinden(programmordner, kEinstellungsdateiName); }

Text Datenordner() { return DatenordnerIn(Programmordner()); }
Text DatenordnerIn(const Text& programmordner) { return Verbinden(programmordner, kDatenordnerName); }

Text KlassenordnerPfad(const Text& datenordner, const Text& klasse) { return Verbinden(datenordner, klasse); }
Text Bilderordner(const Text& datenordner, const Text& klasse) {
    return KlassenordnerPfad(datenordner, klasse) + u"/" + kBilderordnerName;
}
Text Backupordner(const Text& datenordner, const Text& klasse) {
    return KlassenordnerPfad(datenordner, klasse) + u"/" + kBackupordnerName;
}
Text Klassendateiname(const Text& klasse, const Text& fach) { return klasse + u" " + fach + u".slk"; }
Text KlassendateiImDatenordner(const Text& klasse, const Text& fach) {
    return klasse + u"/" + Klassendateiname(klasse, fach);
}

bool IstEinfacherName(const Text& name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (char16_t c : name)
        if (c == u'/' || c == u'\\' || c < 32 || c == 127) return false;
    return SystemAcceptsFileName(name);
}

bool BleibtImDatenordner(const Text& pfad) {
    if (pfad.empty() || pfad.front() == u'/' || pfad.front() == u'\\') return false;
    std::vector<Text> teile;
    Text teil;
    for (size_t i = 0; i <= pfad.size(); ++i) {
        if (i < pfad.size() && pfad[i] != u'/' && pfad[i] != u'\\') {
            teil.push_back(pfad[i]);
            continue;
        }
        if (teil == u"..") {
            if (teile.empty()) return false;
            teile.pop_back();
        } else if (!teil.empty() && teil != u".") {
            teile.push_back(teil);
        }
        teil.clear();
    }
    // "Noten" itself is no place inside it.
    return teile.size() >= 2 && teile[0] == kDatenordnerName;
}

Text FachAusKlassendatei(const Text& klassendatei, const Text& klassenordner) {
    const Text ohne = StripExtension(klassendatei);
    const int k = static_cast<int>(ohne.size()) - 2 - 2 * static_cast<int>(klassenordner.size());
    return k <= 0 ? Text() : Right(ohne, k);
}

Text KlassendateiUnterNoten(const Text& pfad) {
    const Text datei = NormalisePath(pfad);
    const size_t letzter = datei.rfind(u'/');
    if (letzter == Text::npos || letzter == 0) return datei;
    const size_t davor = datei.rfind(u'/', letzter - 1);
    return davor == Text::npos ? datei : datei.substr(davor + 1);
}

std::array<Text, 2> KatalogTitel(const Text& pfad) {
    const Text datei = KlassendateiUnterNoten(pfad);
    const size_t trenner = datei.find(u'/');
    const Text ordner = trenner == Text::npos ? Text() : datei.substr(0, trenner);
    return {ordner, FachAusKlassendatei(datei, ordner)};
}

bool IstKlassendateiname(const Text& name) {
    Text endung = ExtractExtension(name);
    for (char16_t& c : endung)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return endung == u"slk";
}

Text Spiegeldatenordner(const Text& backupOrdner) { return Verbinden(backupOrdner, kDatenordnerName); }
Text Spiegelpfad(const Text& backupOrdner, const Text& pfadImProgrammordner) {
    return Verbinden(backupOrdner, pfadImProgrammordner);
}

std::vector<Text> Laufwerksliste() { return LaufwerkslisteAus(LogicalDrives()); }

std::vector<Text> LaufwerkslisteAus(const std::vector<std::pair<Text, int>>& laufwerke) {
    std::vector<Text> liste;
    for (const auto& [wurzel, typ] : laufwerke) {
        size_t anfang = 0, ende = wurzel.size();
        while (anfang < ende && wurzel[anfang] <= u' ') ++anfang;
        while (ende > anfang && wurzel[ende - 1] <= u' ') --ende;
        if (anfang == ende) continue;
        if (typ == kDriveRemovable || typ == kDriveFixed) liste.push_back(wurzel.substr(anfang, ende - anfang));
    }
    std::sort(liste.begin(), liste.end(), std::greater<Text>());
    return liste;
}

bool AufLaufwerk(const Text& ordner, const std::vector<Text>& laufwerke) {
    if (ordner.empty()) return false;
    // "/media/STICK" lies on "/media/STICK/" as well as "/media/STICK/x" does.
    const Text mitTrenner = ordner.back() == u'/' ? ordner : ordner + u"/";
    for (const Text& wurzel : laufwerke) {
        if (IstLaufwerksbuchstabe(wurzel)) {
            if (ordner.substr(0, 2) == wurzel.substr(0, 2)) return true;
        } else if (!wurzel.empty() && wurzel.front() == u'/') {
            const Text mount = wurzel.back() == u'/' ? wurzel : wurzel + u"/";
            if (mitTrenner.starts_with(mount)) return true;
        }
    }
    return false;
}

bool BackupOrdnerErreichbar(const Text& backupOrdner) {
    if (backupOrdner.empty()) return false;
    if (!AufLaufwerk(backupOrdner, Laufwerksliste())) return false;
    if (PathKind(backupOrdner) != 2) return false;
    return DriveOfPathPresent(backupOrdner);
}
