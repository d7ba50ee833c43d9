// Writing a record as its class file: the bytes in the file's record order,
// and the save that replaces the old file only by a complete new one.
#include "gradebook/class_file.hpp"
#include "gradebook/class_file_format.hpp"
#include "gradebook/lesson_files.hpp"
#include "gradebook/save_index.hpp"
#include "platform/conversions.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/sealed_files.hpp"
#include "platform/wipe_on_exit.hpp"

bool KlassendateiAufPlatteZwingen = true;

namespace {

// Text k of a tile, "" when the tile or the text is missing: a broken
// record still gives a file that loads.
::Text TextVon(const TSchulklasse& klasse, int i, int j, size_t k) {
    if (i < 0 || static_cast<size_t>(i) >= klasse.Zensurzeile.size() || !klasse.Zensurzeile[i]) return ::Text();
    const auto& kacheln = klasse.Zensurzeile[i]->Kachel;
    if (j < 0 || static_cast<size_t>(j) >= kacheln.size() || !kacheln[j]) return ::Text();
    const auto& texte = kacheln[j]->Text;
    return k < texte.size() ? texte[k] : ::Text();
}

// Row 4 of a column: the date of a grade heading (three texts), "Ø" for an
// average heading, a blank when the heading's last text is empty.
::Text DatumszeileVon(const TSchulklasse& klasse, int j) {
    if (klasse.Zensurzeile.empty() || !klasse.Zensurzeile[0]) return ::Text();
    const auto& kacheln = klasse.Zensurzeile[0]->Kachel;
    if (static_cast<size_t>(j) >= kacheln.size() || !kacheln[j] || kacheln[j]->Text.empty()) return ::Text();
    const auto& texte = kacheln[j]->Text;
    if (texte.back().empty()) return ::Text();
    return texte.size() == 3 ? texte[2] : ::Text(u"\u00D8");
}

const ::Text& Dateitext(const std::vector<::Text>& texte, int i, const ::Text& platzhalter) {
    static const ::Text leer;
    if (i < 0 || static_cast<size_t>(i) >= texte.size() || texte[i] == platzhalter) return leer;
    return texte[i];
}

}  // namespace

std::string KlassendateiBytes(const TSchulklasse& klasse) {
    const int N = klasse.Notenanzahl < 1 ? 1 : klasse.Notenanzahl;
    const int S = klasse.Schueleranzahl < 1 ? 1 : klasse.Schueleranzahl;
    std::string out;
    out.reserve(static_cast<size_t>(S) * static_cast<size_t>(N + 5) * 24 + 256);
    ZeileAnhaengen(out, u"ID;PCALCOOO32");
    ZellsatzAnhaengen(out, 1, 1, klasse.Titel[0]);
    ZellsatzAnhaengen(out, 2, 1, klasse.Titel[1]);
    ZellsatzAnhaengen(out, 3, 1, TextFromInt(N - 1) + u" Noten");
    ZellsatzAnhaengen(out, 1, 2, TextFromInt(S - 1) + u" Sch\u00FCler");
    for (int j = 1; j < N; ++j) ZellsatzAnhaengen(out, j + 2, 3, TextVon(klasse, 0, j, 0));
    for (int j = 1; j < N; ++j) ZellsatzAnhaengen(out, j + 2, 4, DatumszeileVon(klasse, j));
    for (int i = 1; i < S; ++i) {
        ZellsatzAnhaengen(out, 1, i + 4, TextVon(klasse, i, 0, 0));
        ZellsatzAnhaengen(out, 2, i + 4, TextVon(klasse, i, 0, 1));
        for (int j = 1; j < N; ++j) ZellsatzAnhaengen(out, j + 2, i + 4, TextVon(klasse, i, j, 0));
    }
    ZeileAnhaengen(out, u"E");
    for (int i = 1; i < S; ++i) {
        ZeileAnhaengen(out, Dateitext(klasse.Telefonnummer, i, kPlatzhalterTelefon));
        ZeileAnhaengen(out, Dateitext(klasse.Notizen, i, kPlatzhalterNotizen));
        ZeileAnhaengen(out, Dateitext(klasse.VergesseneHA, i, kPlatzhalterVergesseneHA));
    }
    return out;
}

bool DateiSicherErsetzen(const ::Text& pfad, std::string_view bytes) {
    // The index of saves learns of a class file before and after it is
    // written, so a kill in between never makes the new file look older.
    if (!StandVormerken(pfad, bytes) || !WriteDataFile(pfad, bytes, KlassendateiAufPlatteZwingen)) return false;
    StandEintragen(pfad, bytes);
    return true;
}

Speicherergebnis TSchulklasse::speichern(const ::Text& dateiname, bool wiederherstellungBehalten) {
    const ::Text& klasse = Titel[0];
    const ::Text& fach = Titel[1];
    const ::Text datei = dateiname.empty() ? KlassendateiPfad(*this) : u"Noten/" + dateiname;
    // A name from a damaged or foreign file never places anything outside
    // "Noten"; rows taken away by the lock are never written as blanks.
    if (!SpeicherortZulaessig(*this, datei) || !GesperrteZeilen.empty()) return {};
    // Every save, not only the first, makes sure the class folder is
    // complete: photos and backups have their place even when a folder was
    // removed by hand.
    const ::Text ordner = KlassenordnerRelativ(klasse);
    if (PathKind(ordner) != 2) CreateFolder(ordner, true);
    CreateFolder(ordner + u"/Bilder", false);
    CreateFolder(ordner + u"/Backups", false);

    std::string bytes = KlassendateiBytes(*this);
    const WipeOnExit weg(bytes);
    if (!DateiSicherErsetzen(datei, bytes)) return {};
    const Speicherergebnis ergebnis = BackupsSchreiben(klasse, fach, Mid(datei, 7), bytes);
    UnterrichtSichern(*this, datei);
    // The class file now holds every edit: what the recovery file kept for a
    // crash is saved, and an offer of it at the next opening would be stale.
    if (!wiederherstellungBehalten) WiederherstellungEntfernen(datei);
    return ergebnis;
}
