// The series walk and its checks, in the order the user learns of a mistake:
// folder, order, readable folder, number of photos.
#include "classscreen/photo_series.hpp"

#include <algorithm>

#include "gradebook/names.hpp"
#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/paths.hpp"

bool IstFotodateiname(const Text& name) {
    const Text endung = LowerCase(ExtractExtension(name));
    return endung == u"jpg" || endung == u"png" || endung == u"bmp";
}

std::vector<Text> Fotonamen(const std::vector<Text>& eintraege) {
    std::vector<Text> namen;
    for (const Text& name : eintraege)
        if (name != u"." && name != u".." && IstFotodateiname(name)) namen.push_back(name);
    std::sort(namen.begin(), namen.end());  // char16_t code units, unsigned
    return namen;
}

Text OrdnerMitTrenner(const Text& pfad) {
    Text ordner = ExtractFolder(pfad);
    if (ordner.empty() || ordner.back() != u'/') ordner += u'/';
    return ordner;
}

std::vector<Text> BildserieAus(const std::vector<Text>& sortierteNamen, const Text& ordner, const Text& erstes,
                               const Text& letztes) {
    std::vector<Text> serie;
    for (const Text& name : sortierteNamen) {
        const Text pfad = ordner + name;
        if (serie.empty() && pfad != erstes) continue;
        serie.push_back(pfad);
        if (pfad == letztes) return serie;
    }
    // The last photo was not met after the first: no series at all, rather
    // than the rest of the folder given to the students.
    return {};
}

Bildserienwahl BildserieWaehlen(const Text& erstes, const Text& letztes, int schuelerzahl) {
    Bildserienwahl wahl;
    const Text ordner = OrdnerMitTrenner(erstes);
    if (ordner != OrdnerMitTrenner(letztes)) {
        wahl.fehlerzeilen = {u"Das erste und das letzte Schülerbild", u"befinden sich nicht im gleichen Ordner."};
        return wahl;
    }
    const std::vector<Text> falscheReihenfolge = {u"Diese Reihenfolge kann nicht sein.",
                                                  u"Die Nummer des ersten Schülerbilds kommt",
                                                  u"alphabetisch NACH der des letzten Schülerbilds."};
    if (NamenVergleich(erstes, u"", letztes, u"")) {
        wahl.fehlerzeilen = falscheReihenfolge;
        return wahl;
    }
    TFolderListing liste = OpenFolderListing(ordner);
    if (!liste) {
        wahl.fehlerzeilen = {u"Dieser Ordner konnte nicht geladen werden:", ordner};
        return wahl;
    }
    std::vector<Text> eintraege;
    for (Text name = NextFolderEntry(liste); !name.empty(); name = NextFolderEntry(liste)) eintraege.push_back(name);
    CloseFolderListing(liste);
    const std::vector<Text> namen = Fotonamen(eintraege);
    wahl.pfade = BildserieAus(namen, ordner, erstes, letztes);
    // Both chosen photos are in the folder, but the camera's numbering puts
    // the last before the first (a case the name order above cannot see).
    const auto da = [&](const Text& pfad) {
        return pfad.compare(0, ordner.size(), ordner) == 0 &&
               std::find(namen.begin(), namen.end(), pfad.substr(ordner.size())) != namen.end();
    };
    if (wahl.pfade.empty() && da(erstes) && da(letztes)) {
        wahl.fehlerzeilen = falscheReihenfolge;
        return wahl;
    }
    const int n = static_cast<int>(wahl.pfade.size());
    if (n != schuelerzahl) {
        wahl.fehlerzeilen = {u"Die Anzahl der " + TextFromInt(n) + u" Bilder entspricht nicht der",
                             u"Anzahl der " + TextFromInt(schuelerzahl) + u" Schüler in der Klasse",
                             u"Bitte vervollständigen Sie erst ihre Fotoaufnahmen."};
        wahl.pfade.clear();
    }
    return wahl;
}
