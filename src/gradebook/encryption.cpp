// The conversion between plain and sealed files: the files of each class
// folder are collected first (so the notice can count), then rewritten one
// by one. Portraits change form first and name second; a kill between the
// two leaves a file whose name the next run still recognises.
#include "gradebook/encryption.hpp"

#include <map>
#include <string>
#include <vector>

#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/lesson_files.hpp"
#include "gradebook/names.hpp"
#include "gradebook/photo_paths.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/report_rules.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/paths.hpp"
#include "platform/private_files.hpp"
#include "platform/sealed_files.hpp"

namespace {

bool EndetMit(const Text& t, const Text& ende) {
    return t.size() >= ende.size() && t.compare(t.size() - ende.size(), ende.size(), ende) == 0;
}

// Left-overs of an interrupted write are not data: the next write removes them.
bool IstReste(const Text& name) { return EndetMit(name, kNeuEndung) || EndetMit(name, u".gedreht"); }

bool IstHexname(const Text& name) {
    if (name.size() != 36 || !EndetMit(name, u".png")) return false;
    for (size_t i = 0; i < 32; ++i)
        if (!((name[i] >= u'0' && name[i] <= u'9') || (name[i] >= u'a' && name[i] <= u'f'))) return false;
    return true;
}

struct Klassenordner {
    Text pfad;
    std::vector<Text> daten;   // class files, recovery files, backups
    std::vector<Text> bilder;  // portraits
};

std::vector<Klassenordner> Sammeln(const Text& wurzel) {
    std::vector<Klassenordner> out;
    for (const Text& e : ListFolder(wurzel, true)) {
        Klassenordner k;
        k.pfad = wurzel + u"/" + e;
        if (PathKind(k.pfad) != 2) continue;
        for (const Text& f : ListFolder(k.pfad, true)) {
            const Text p = k.pfad + u"/" + f;
            // The seating plan and the attendance are sealed like the class file.
            if (PathKind(p) == 1 && (LowerCase(ExtractExtension(f)) == u"slk" || EndetMit(f, kWiederherstellungsEndung) ||
                                     EndetMit(f, kSitzplanEndung) || EndetMit(f, kFehlzeitenEndung)))
                k.daten.push_back(p);
        }
        for (const Text& f : ListFolder(k.pfad + u"/Backups", true)) {
            const Text p = k.pfad + u"/Backups/" + f;
            if (PathKind(p) == 1 && !IstReste(f)) k.daten.push_back(p);
        }
        for (const Text& f : ListFolder(k.pfad + u"/Bilder", true)) {
            const Text p = k.pfad + u"/Bilder/" + f;
            if (PathKind(p) == 1 && !IstReste(f) && LowerCase(ExtractExtension(f)) == u"png") k.bilder.push_back(p);
        }
        out.push_back(std::move(k));
    }
    return out;
}

// Hash name -> plain portrait name, for every student of any gradebook of
// the folder (backups included, so a student who left keeps a name too).
std::map<Text, Text> PortraitnamenDerKlasse(const Klassenordner& k) {
    std::map<Text, Text> namen;
    const int skala = Notenskala;
    for (const Text& p : k.daten) {
        std::string bytes;
        if (ReadDataFile(p, bytes, kKlassendateiHoechstgroesse) != DataReadResult::Ok) continue;
        const auto klasse = KlasseAusBytes(bytes);
        if (!klasse) continue;
        for (int i = 1; i < klasse->Schueleranzahl; ++i) {
            const Schuelername n = NameInZeile(*klasse, i);
            const Text stamm = n.nachname + u" " + n.vornamen;
            const Text hex = SealedPortraitStem(stamm);
            if (!hex.empty()) namen.emplace(hex + u".png", stamm + u".png");
        }
    }
    Notenskala = skala;
    return namen;
}

// The portrait's name for the target form: "" when it keeps its name.
Text ZielnameDesBilds(const Text& name, bool versiegeln, const std::map<Text, Text>& klarnamen) {
    if (versiegeln) {
        if (IstHexname(name)) return Text();
        const Text hex = SealedPortraitStem(StripExtension(name));
        return hex.empty() ? Text() : hex + u".png";
    }
    const auto it = klarnamen.find(name);
    return it == klarnamen.end() ? Text() : it->second;
}

void BildUmstellen(const Text& pfad, bool versiegeln, const std::map<Text, Text>& klarnamen, Umstellung& u) {
    const ConvertResult r = ConvertDataFile(pfad, versiegeln);
    Zaehlen(u, r);
    if (r == ConvertResult::Refused || r == ConvertResult::Failed) return;
    const Text ordner = ExtractFolder(pfad);
    const Text ziel = ZielnameDesBilds(Mid(pfad, static_cast<int>(ordner.size()) + 2), versiegeln, klarnamen);
    if (ziel.empty()) return;
    const Text zielpfad = ordner + u"/" + ziel;
    // A portrait already under the target name was made later (while that
    // form was in use): it stays, and the older one under the other name goes.
    if (PathKind(zielpfad) == 1) {
        if (!DeleteFileAt(pfad)) ++u.fehlgeschlagen;
        FlushFolderOf(pfad);
        return;
    }
    if (!RenameFileOver(pfad, zielpfad)) {
        ++u.fehlgeschlagen;
        return;
    }
    FlushFolderOf(zielpfad);
}

}  // namespace

Text SchluesseldateiIn(const Text& programmordner) { return JoinPath(programmordner, kKeyFileName); }
Text AusschaltdateiIn(const Text& programmordner) { return SchluesseldateiIn(programmordner) + u".aus"; }

Verschluesselungsstand VerschluesselungsstandIn(const Text& programmordner) {
    if (PathKind(SchluesseldateiIn(programmordner)) == 1) return Verschluesselungsstand::An;
    if (PathKind(AusschaltdateiIn(programmordner)) == 1) return Verschluesselungsstand::Ausschalten;
    return Verschluesselungsstand::Aus;
}

namespace {
std::vector<Klassenordner> AlleOrdner(const Text& backupOrdner, bool datenordner) {
    std::vector<Klassenordner> ordner = datenordner ? Sammeln(kDatenordnerName) : std::vector<Klassenordner>();
    if (!backupOrdner.empty()) {
        for (Klassenordner& k : Sammeln(OhneEndtrenner(backupOrdner) + u"/" + kDatenordnerName))
            ordner.push_back(std::move(k));
    }
    return ordner;
}
}  // namespace

namespace {
// Sealing also rewrites a file sealed in the older form bound to no place.
bool InZielform(const Text& p, bool versiegeln) {
    return versiegeln ? IsSealedFile(p) && !IsUnboundSealedFile(p) : !IsSealedFile(p);
}
}  // namespace

int UmzustellendeDateien(bool versiegeln, const Text& backupOrdner, bool datenordner) {
    int n = 0;
    for (const Klassenordner& k : AlleOrdner(backupOrdner, datenordner)) {
        for (const Text& p : k.daten) n += !InZielform(p, versiegeln);
        for (const Text& p : k.bilder)
            n += !InZielform(p, versiegeln) ||
                 IstHexname(Mid(p, static_cast<int>(ExtractFolder(p).size()) + 2)) != versiegeln;
    }
    return n;
}

std::vector<Text> KlareKopien(const Text& backupOrdner) {
    std::vector<Text> kopien;
    for (const Text& f : ListFolder(u".", true))
        if (EndetMit(f, u" (exportiert).slk") && PathKind(f) == 1) kopien.push_back(f);
    for (const Text& f : ListFolder(kAusdruckordnerName, true))
        if (PathKind(kAusdruckordnerName + u"/" + f) == 1) kopien.push_back(kAusdruckordnerName + u"/" + f);
    std::vector<Text> wurzeln{kDatenordnerName};
    if (!backupOrdner.empty()) wurzeln.push_back(OhneEndtrenner(backupOrdner) + u"/" + kDatenordnerName);
    for (const Text& wurzel : wurzeln)
        for (const Text& k : ListFolder(wurzel, true))
            for (const Text& unter : {Text(), Text(u"/Backups"), Text(u"/Bilder")}) {
                const Text ordner = wurzel + u"/" + k + unter;
                for (const Text& f : ListFolder(ordner, true))
                    if (IstReste(f) && PathKind(ordner + u"/" + f) == 1) kopien.push_back(ordner + u"/" + f);
            }
    return kopien;
}

Umstellung DateienUmstellen(bool versiegeln, const Text& backupOrdner,
                            const std::function<void(int, int)>& fortschritt, bool datenordner) {
    std::vector<Klassenordner> ordner = AlleOrdner(backupOrdner, datenordner);
    Umstellung u;
    // Sealed files are only half the privacy: what exists is narrowed to the
    // teacher's own account too (0600 files, 0700 folders).
    if (versiegeln) {
        MakePrivateBelow(kDatenordnerName);
        if (!backupOrdner.empty()) MakePrivateBelow(OhneEndtrenner(backupOrdner) + u"/" + kDatenordnerName);
        MakePrivateBelow(kAusdruckordnerName);
        MakePrivate(Einstellungsdatei());
        MakePrivate(kSperrdateiName);
    }
    for (const Klassenordner& k : ordner) u.dateien += static_cast<int>(k.daten.size() + k.bilder.size());
    int fertig = 0;
    if (fortschritt) fortschritt(0, u.dateien);
    for (const Klassenordner& k : ordner) {
        // Names are read before anything of the folder changes form.
        const std::map<Text, Text> klarnamen = versiegeln ? std::map<Text, Text>() : PortraitnamenDerKlasse(k);
        for (const Text& p : k.daten) {
            Zaehlen(u, ConvertDataFile(p, versiegeln));
            if (IsSealedFile(p)) ++u.verschluesselt;
            if (fortschritt) fortschritt(++fertig, u.dateien);
        }
        for (const Text& p : k.bilder) {
            BildUmstellen(p, versiegeln, klarnamen, u);
            if (fortschritt) fortschritt(++fertig, u.dateien);
        }
    }
    // Portraits are counted as sealed by a second look at their folders:
    // their names have changed.
    if (versiegeln) {
        for (const Klassenordner& k : ordner)
            for (const Text& f : ListFolder(k.pfad + u"/Bilder", true))
                if (IsSealedFile(k.pfad + u"/Bilder/" + f)) ++u.verschluesselt;
    }
    return u;
}

void Zaehlen(Umstellung& u, ConvertResult r) {
    switch (r) {
        case ConvertResult::Converted: ++u.umgestellt; break;
        case ConvertResult::Refused: ++u.abgelehnt; break;
        case ConvertResult::Failed: ++u.fehlgeschlagen; break;
        case ConvertResult::Unchanged: break;
    }
}
