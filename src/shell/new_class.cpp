// A new class from the main menu: it is on disk before its class screen
// opens, so the catalogue lists it and a crash leaves its unsaved changes
// to be offered. A class and subject that exist already (as a tile, a class
// file, or only as an earlier session's unsaved changes) are opened instead
// of being replaced by an empty class.
#include "gradebook/data_folders.hpp"
#include "gradebook/save_failure.hpp"
#include "platform/files.hpp"
#include "shell/catalogue.hpp"
#include "gradebook/class_file.hpp"

namespace Katalog {

std::shared_ptr<TSchulklasse> NeueKlasseAnlegen(const Text& klasse, const Text& fach) {
    for (size_t i = 0; i < Klassenkacheln.size() && i < Klassendateien.size(); ++i) {
        const auto& k = Klassenkacheln[i];
        if (k && k->Text.size() >= 2 && k->Text[0] == klasse && k->Text[1] == fach)
            return KlasseLaden(kDatenordnerName + u"/" + Klassendateien[i], Klassendateien[i], Klassenordner[i]);
    }
    const Text datei = KlassendateiImDatenordner(klasse, fach);
    const Text pfad = kDatenordnerName + u"/" + datei;
    if (PathKind(pfad) == 0) {
        auto neu = TSchulklasse::bauen({klasse, fach}, 0);
        // Unsaved changes of a class that was never saved stay for the offer below.
        const Speicherergebnis e = neu->speichern(u"", true);
        if (e && (!e.backupFehlt.empty() || !e.spiegelFehlt.empty())) SicherungswarnungZeigen(*neu, e);
        // A class file that cannot be written: the class screen still opens,
        // and leaving it reports the save as every class screen does.
        if (!e || PathKind(Wiederherstellungspfad(pfad)) != 1) return neu;
    }
    return KlasseLaden(pfad, datei, klasse);
}

}  // namespace Katalog
