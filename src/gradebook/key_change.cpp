// The walk of the re-seal: sealed files are found by their mark wherever
// they lie (class files, recovery files, backups, portraits, seating plans,
// attendance and anything else), each keeps its place as associated data.
// Portraits are sealed anew first and renamed second; a kill between the
// two leaves a file under the new key with the old name, which the next run
// still recognises and renames.
#include "gradebook/key_change.hpp"

#include <map>
#include <string>
#include <vector>

#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/save_index.hpp"
#include "gradebook/names.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/paths.hpp"
#include "platform/sealed_files.hpp"

namespace {

bool EndetMit(const Text& t, const Text& ende) {
    return t.size() >= ende.size() && t.compare(t.size() - ende.size(), ende.size(), ende) == 0;
}

// Left-overs of an interrupted write are not data: the next write removes them.
bool IstReste(const Text& name) { return EndetMit(name, kNeuEndung) || EndetMit(name, u".gedreht"); }

// Deep enough for every layout the program writes; a linked folder that
// loops back ends here.
constexpr int kTiefe = 6;

void VersiegelteSammeln(const Text& ordner, int tiefe, std::vector<Text>& out) {
    if (tiefe > kTiefe) return;
    for (const Text& e : ListFolder(ordner, true)) {
        const Text p = ordner + u"/" + e;
        const int art = PathKind(p);
        if (art == 2) VersiegelteSammeln(p, tiefe + 1, out);
        else if (art == 1 && !IstReste(e) && IsSealedFile(p)) out.push_back(p);
    }
}

Text NameIn(const Text& pfad) { return Mid(pfad, static_cast<int>(ExtractFolder(pfad).size()) + 2); }

// Old portrait name -> new one, for every student of any gradebook of the
// class folder (backups and recovery files included).
std::map<Text, Text> Portraitnamen(const Text& klassenordner) {
    std::map<Text, Text> namen;
    const int skala = Notenskala;
    for (const Text& unter : {Text(), u"/" + kBackupordnerName}) {
        const Text ordner = klassenordner + unter;
        for (const Text& f : ListFolder(ordner, true)) {
            if (!(LowerCase(ExtractExtension(f)) == u"slk" || EndetMit(f, kWiederherstellungsEndung))) continue;
            std::string bytes;
            if (ReadDataFile(ordner + u"/" + f, bytes, kKlassendateiHoechstgroesse) != DataReadResult::Ok) continue;
            const auto klasse = KlasseAusBytes(bytes);
            if (!klasse) continue;
            for (int i = 1; i < klasse->Schueleranzahl; ++i) {
                const Schuelername n = NameInZeile(*klasse, i);
                const Text stamm = n.nachname + u" " + n.vornamen;
                const Text alt = PreviousPortraitStem(stamm), neu = SealedPortraitStem(stamm);
                if (!alt.empty() && !neu.empty()) namen.emplace(alt + u".png", neu + u".png");
            }
        }
    }
    Notenskala = skala;
    return namen;
}

// A portrait under its old key's name takes the new key's name; one already
// there was made after the change and stays, the older one goes.
bool BildUmbenennen(const Text& pfad, const std::map<Text, Text>& namen) {
    const auto it = namen.find(NameIn(pfad));
    if (it == namen.end()) return true;
    const Text ziel = ExtractFolder(pfad) + u"/" + it->second;
    const bool ok = PathKind(ziel) == 1 ? DeleteFileAt(pfad) : RenameFileOver(pfad, ziel);
    FlushFolderOf(ziel);
    return ok;
}

}  // namespace

Neuversiegelung NeuVersiegeln(const Text& spiegel, bool spiegelFehlt,
                              const std::function<void(int, int)>& fortschritt) {
    Neuversiegelung n;
    n.spiegelAusgelassen = spiegelFehlt;
    std::vector<Text> wurzeln{kDatenordnerName};
    // The stick's files only once its key file holds the new key: a kill in
    // between must leave them openable with the code that key file needs.
    if (!spiegel.empty()) {
        if (CopyKeyFileInto(spiegel)) wurzeln.push_back(OhneEndtrenner(spiegel) + u"/" + kDatenordnerName);
        else n.spiegelAusgelassen = true;
    }
    std::vector<Text> dateien;
    for (const Text& w : wurzeln) VersiegelteSammeln(w, 0, dateien);
    // The index of saves beside the key file is sealed like the gradebooks.
    if (PathKind(StanddateiIn(u".")) == 1) dateien.push_back(StanddateiIn(u"."));
    Umstellung& u = n.zahlen;
    u.dateien = static_cast<int>(dateien.size());
    if (fortschritt) fortschritt(0, u.dateien);
    std::map<Text, std::map<Text, Text>> namenJeKlasse;
    int fertig = 0;
    for (const Text& p : dateien) {
        const ConvertResult r = ResealDataFile(p);
        Zaehlen(u, r);
        const Text ordner = ExtractFolder(p);
        if ((r == ConvertResult::Converted || r == ConvertResult::Unchanged) && NameIn(ordner) == kBilderordnerName) {
            const Text klassenordner = ExtractFolder(ordner);
            auto it = namenJeKlasse.find(klassenordner);
            if (it == namenJeKlasse.end()) it = namenJeKlasse.emplace(klassenordner, Portraitnamen(klassenordner)).first;
            if (!BildUmbenennen(p, it->second)) ++u.fehlgeschlagen;
        }
        if (fortschritt) fortschritt(++fertig, u.dateien);
    }
    if (u.fehlgeschlagen == 0 && !n.spiegelAusgelassen) {
        if (FinishDataKeyChange() != KeyResult::Ok) ++u.fehlgeschlagen;
        // The stick's key file loses the previous key too (else the next save does it).
        else if (!spiegel.empty()) CopyKeyFileInto(spiegel);
    }
    return n;
}
