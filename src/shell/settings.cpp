// Reading and writing the settings file (Latin-1, CR LF; LF alone is read too).
#include "shell/settings.hpp"

#include "platform/files.hpp"
#include "platform/private_files.hpp"
#include "platform/textstream.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/program_state.hpp"
#include "tiles/info_box.hpp"

bool EinstellungenLesen() { return EinstellungenLesenAus(Einstellungsdatei()); }

bool EinstellungenLesenAus(const Text& datei) {
    BackupOrdner.clear();
    OberstufeAb = 11;
    // A link under the settings' name could lead every save into another file.
    if (IsSymbolicLink(datei)) {
        TInfoBox::bauen(u"Fehler", {255, 0, 0},
                        {u"Die Einstellungsdatei   .Kladdorix-Einstellungen", u"ist ein Verweis auf eine andere Datei.",
                         u"Bitte entfernen Sie den Verweis und starten", u"das Programm neu."},
                        {kOkSchalter})
            ->verwenden();
        return false;
    }
    const TStream strom = OpenForReading(datei);
    if (!strom) {
        // Something of that name that cannot be read (a folder, no rights):
        // running on defaults would silently ignore the user's settings.
        if (PathKind(datei) == 0) return true;
        EinstellungsfehlerBox()->verwenden();
        return false;
    }
    // A line that is there replaces the default even when it is empty.
    if (!Eof(strom)) {
        BackupOrdner = ReadLine(strom);
        if (!Eof(strom)) {
            StartOrdner = ReadLine(strom);
            if (!Eof(strom) && ReadLine(strom) == kG8Zeile) OberstufeAb = 10;
        }
    }
    Close(strom);
    return true;
}

std::shared_ptr<TInfoBox> EinstellungsfehlerBox() {
    return TInfoBox::bauen(u"Fehler", {255, 0, 0},
                           {u"Die Einstellungsdatei   .Kladdorix-Einstellungen",
                            u"scheint schreibgeschützt zu sein. Bitte ent-",
                            u"fernen Sie sie und starten das Programm neu."},
                           {kOkSchalter});
}

bool EinstellungenSchreiben() { return EinstellungenSchreibenNach(Einstellungsdatei()); }

bool InEinstellungenSpeicherbar(const Text& zeile) {
    for (char16_t c : zeile)
        if (c > 0xFF || c == u'\n' || c == u'\r' || c == 0) return false;
    return true;
}

namespace {
// The nearest folder enclosing the path whose name the file can hold, with
// a trailing "/"; "/" at worst.
Text SpeicherbarerOberordner(Text pfad) {
    while (!InEinstellungenSpeicherbar(pfad)) {
        const size_t schnitt = pfad.size() >= 2 ? pfad.find_last_of(u'/', pfad.size() - 2) : Text::npos;
        if (schnitt == Text::npos) return u"/";
        pfad.resize(schnitt + 1);
    }
    return pfad;
}
}  // namespace

bool EinstellungenSchreibenNach(const Text& datei) {
    if (!InEinstellungenSpeicherbar(BackupOrdner)) return false;
    const bool g8 = OberstufeAb == 10;
    const bool startSpeicherbar = InEinstellungenSpeicherbar(StartOrdner);
    const TStream strom = OpenForWriting(datei);
    if (!strom) return false;
    bool geschrieben = WriteLine(strom, BackupOrdner);
    if (geschrieben && (startSpeicherbar || g8))
        geschrieben = WriteLine(strom, startSpeicherbar ? StartOrdner : SpeicherbarerOberordner(StartOrdner));
    if (geschrieben && g8) geschrieben = WriteLine(strom, kG8Zeile);
    // Close also reports a write that failed only when the buffer was flushed.
    return Close(strom) && geschrieben;
}
