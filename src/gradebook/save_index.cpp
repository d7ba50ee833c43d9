// The index of saves: read and written whole (it holds a line per class
// file), sealed, through the same data-file calls as the gradebooks. Its
// plain form:
//   "Kladdorix-Stand 1\n"
//   "Umstellung fertig\n" (or "Umstellung offen\n")
//   one line per class file: the place in hex, the save counter, the hash of
//   the last save, the hash of a save under way or "-", separated by blanks.
// Hashes of the plain bytes, not of the sealed ones: a file sealed again
// under a new key or for a new nonce keeps its entry.
#include "gradebook/save_index.hpp"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/file_places.hpp"
#include "platform/conversions.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/paths.hpp"
#include "platform/sealed_files.hpp"
#include "platform/wipe_on_exit.hpp"

namespace {

constexpr char kKopf[] = "Kladdorix-Stand 1";
constexpr size_t kHoechstgroesse = 4u * 1024u * 1024u;

struct Eintrag {
    long long zaehler = 0;
    std::string hash, vorgemerkt;
};
struct Stand {
    bool fertig = false;
    std::map<std::string, Eintrag> eintraege;  // by the class file's place
};

Text Standdatei() { return StanddateiIn(u"."); }

std::string Hex(std::string_view s) {
    static const char ziffern[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out.push_back(ziffern[c >> 4]);
        out.push_back(ziffern[c & 15]);
    }
    return out;
}
int Nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
bool AusHex(std::string_view hex, std::string& out) {
    out.clear();
    if (hex.size() % 2 != 0) return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int a = Nibble(hex[i]), b = Nibble(hex[i + 1]);
        if (a < 0 || b < 0) return false;
        out.push_back(static_cast<char>(a * 16 + b));
    }
    return true;
}

std::string Text8(const Stand& s) {
    std::string out = std::string(kKopf) + "\nUmstellung " + (s.fertig ? "fertig" : "offen") + "\n";
    for (const auto& [ort, e] : s.eintraege)
        out += Hex(ort) + " " + std::to_string(e.zaehler) + " " + e.hash + " " +
               (e.vorgemerkt.empty() ? std::string("-") : e.vorgemerkt) + "\n";
    return out;
}

bool Zerlegen(const std::string& text, Stand& s) {
    s = Stand();
    size_t at = 0;
    std::vector<std::string> zeilen;
    while (at < text.size()) {
        const size_t ende = text.find('\n', at);
        if (ende == std::string::npos) return false;
        zeilen.push_back(text.substr(at, ende - at));
        at = ende + 1;
    }
    if (zeilen.size() < 2 || zeilen[0] != kKopf) return false;
    if (zeilen[1] == "Umstellung fertig") s.fertig = true;
    else if (zeilen[1] != "Umstellung offen") return false;
    for (size_t i = 2; i < zeilen.size(); ++i) {
        std::vector<std::string> teile;
        size_t von = 0;
        const std::string& z = zeilen[i];
        for (size_t bis; (bis = z.find(' ', von)) != std::string::npos; von = bis + 1) teile.push_back(z.substr(von, bis - von));
        teile.push_back(z.substr(von));
        std::string ort;
        if (teile.size() != 4 || !AusHex(teile[0], ort) || teile[1].empty() || teile[1].size() > 18 ||
            teile[1].find_first_not_of("0123456789") != std::string::npos || teile[2].size() != 64)
            return false;
        Eintrag e;
        e.zaehler = std::stoll(teile[1]);
        e.hash = teile[2];
        if (teile[3] != "-") e.vorgemerkt = teile[3];
        s.eintraege[ort] = e;
    }
    return true;
}

// Only the sealed, bound form counts: a plain or unbound index is no index.
bool Lesen(Stand& s) {
    const Text pfad = Standdatei();
    if (CurrentSealMode() != SealMode::Unlocked || PathKind(pfad) != 1 || !IsSealedFile(pfad) ||
        IsUnboundSealedFile(pfad))
        return false;
    std::string text;
    return ReadDataFile(pfad, text, kHoechstgroesse) == DataReadResult::Ok && Zerlegen(text, s);
}

bool Schreiben(const Stand& s) {
    return CurrentSealMode() == SealMode::Unlocked && WriteDataFile(Standdatei(), Text8(s), true);
}

// Below the program's own "Noten" (relative to the program folder, which is
// the working folder, or absolute); the mirror is not.
bool ImDatenordner(const Text& pfad) {
    Text p = pfad;
    while (p.compare(0, 2, u"./") == 0) p.erase(0, 2);
    const Text relativ = kDatenordnerName + u"/";
    if (p.compare(0, relativ.size(), relativ) == 0) return true;
    const Text absolut = Datenordner() + u"/";
    return p.compare(0, absolut.size(), absolut) == 0;
}

bool IstKlassendateiOrt(const std::string& ort) {
    static const std::string art("Klassendatei\0", 13);
    return ort.compare(0, art.size(), art) == 0;
}

// The place under which the file at pfad is counted; "" for every file that
// is not counted.
std::string GezaehlterOrt(const Text& pfad) {
    if (CurrentSealMode() != SealMode::Unlocked || !ImDatenordner(pfad)) return std::string();
    std::string ort = Ablageort(pfad);
    return IstKlassendateiOrt(ort) ? ort : std::string();
}

bool Pruefen(const Text& pfad, SealedForm form, std::string_view klar) {
    if (CurrentSealMode() != SealMode::Unlocked || !ImDatenordner(pfad)) return true;
    Stand s;
    // Without an index there is nothing to compare with; the start makes one.
    if (!Lesen(s)) return true;
    if (s.fertig && form != SealedForm::Bound) return false;
    const std::string ort = Ablageort(pfad);
    const auto it = s.eintraege.find(ort);
    if (!IstKlassendateiOrt(ort) || it == s.eintraege.end()) return true;
    Eintrag& e = it->second;
    const std::string hash = ContentHash(klar);
    if (hash == e.hash) return true;
    if (e.vorgemerkt.empty() || hash != e.vorgemerkt) return false;
    // The save got as far as the file but not to the index: it is recorded now.
    e.hash = e.vorgemerkt;
    e.vorgemerkt.clear();
    ++e.zaehler;
    Schreiben(s);
    return true;
}

}  // namespace

Text StanddateiIn(const Text& programmordner) { return JoinPath(programmordner, kStanddateiName); }

Standlage StandLage() {
    Stand s;
    if (!Lesen(s)) return Standlage::Fehlt;
    return s.fertig ? Standlage::Fertig : Standlage::Offen;
}

bool StandBeginnen() { return Schreiben(Stand()); }

bool StandAbschliessen() {
    Stand s;
    Lesen(s);
    // Read before the mark is set: files of either form open as they are.
    s.fertig = false;
    for (const Text& k : ListFolder(kDatenordnerName, true)) {
        const Text ordner = kDatenordnerName + u"/" + k;
        if (PathKind(ordner) != 2) continue;
        for (const Text& f : ListFolder(ordner, true)) {
            const Text pfad = ordner + u"/" + f;
            const std::string ort = Ablageort(pfad);
            std::string klar;
            if (!IstKlassendateiOrt(ort) || PathKind(pfad) != 1 ||
                ReadDataFile(pfad, klar, kKlassendateiHoechstgroesse) != DataReadResult::Ok)
                continue;
            Eintrag& e = s.eintraege[ort];
            e.hash = ContentHash(klar);
            e.vorgemerkt.clear();
            ++e.zaehler;
        }
    }
    s.fertig = true;
    return Schreiben(s);
}

void StandVerwerfen() {
    DeleteFileAt(Standdatei());
    FlushFolderOf(Standdatei());
}

bool StandVormerken(const Text& pfad, std::string_view bytes) {
    const std::string ort = GezaehlterOrt(pfad);
    Stand s;
    if (ort.empty() || !Lesen(s)) return true;
    const auto it = s.eintraege.find(ort);
    if (it != s.eintraege.end() && !it->second.vorgemerkt.empty()) {
        // An earlier save that got no further than its file: reading the
        // file records it when it is that save, so it stays accepted.
        std::string klar;
        const WipeOnExit weg(klar);
        ReadDataFile(pfad, klar, kKlassendateiHoechstgroesse);
        if (!Lesen(s)) return false;
    }
    s.eintraege[ort].vorgemerkt = ContentHash(bytes);
    return Schreiben(s);
}

void StandEintragen(const Text& pfad, std::string_view bytes) {
    const std::string ort = GezaehlterOrt(pfad);
    Stand s;
    if (ort.empty() || !Lesen(s)) return;
    Eintrag& e = s.eintraege[ort];
    e.hash = ContentHash(bytes);
    e.vorgemerkt.clear();
    ++e.zaehler;
    // Not written: the hash under way accepts the file, and the next read records it.
    Schreiben(s);
}

void StandpruefungBinden() { SetReadCheck(&Pruefen); }

Ablehnung AblehnungsgrundVon(const Text& pfad) {
    if (!IsSealedFile(pfad)) return Ablehnung::Unverschluesselt;
    if (IsUnboundSealedFile(pfad)) return Ablehnung::AlteForm;
    std::string roh, klar;
    const bool oeffnet = ReadFileBytes(pfad, roh, kKlassendateiHoechstgroesse + 64) &&
                         OpenSealedBytes(roh, klar, PlaceOfFile(pfad));
    std::fill(klar.begin(), klar.end(), '\0');
    return oeffnet ? Ablehnung::AelterStand : Ablehnung::Beschaedigt;
}
