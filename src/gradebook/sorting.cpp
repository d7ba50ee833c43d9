// Name order of the student rows: each row moves with its phone, notes and
// homework entries, and every tile of a row takes the row's new height.
#include <algorithm>
#include <vector>

#include "gradebook/grid_tiles.hpp"
#include "gradebook/names.hpp"
#include "gradebook/schulklasse.hpp"

namespace {

struct Eintrag {
    size_t alt;  // index in the old arrays
    ::Text nachname, vornamen;
};

const ::Text& TextOder(const std::vector<::Text>& texte, size_t k, const ::Text& ersatz) {
    return k < texte.size() ? texte[k] : ersatz;
}

}  // namespace

int TSchulklasse::NachNamenSortieren(int /*frei*/) {
    if (Schueleranzahl < 1 || Zensurzeile.empty()) return 0;
    // Every old entry that still holds a row takes part, also those beyond
    // Schueleranzahl: a caller that removed a row has cleared its entry and
    // counted down already, so the rows below it close the gap.
    std::vector<Eintrag> rest;
    for (size_t k = 1; k < Zensurzeile.size(); ++k) {
        const auto& zeile = Zensurzeile[k];
        if (!zeile || zeile->Kachel.empty() || !zeile->Kachel[0]) continue;
        const auto& t = zeile->Kachel[0]->Text;
        rest.push_back({k, Namensschluessel(t.size() > 0 ? t[0] : ::Text()),
                        Namensschluessel(t.size() > 1 ? t[1] : ::Text())});
    }
    // Stable: students with equal keys keep their previous order.
    std::stable_sort(rest.begin(), rest.end(), [](const Eintrag& a, const Eintrag& b) {
        if (a.nachname != b.nachname) return a.nachname < b.nachname;
        return a.vornamen < b.vornamen;
    });

    const size_t anzahl = std::min(rest.size(), static_cast<size_t>(Schueleranzahl - 1));
    std::vector<std::shared_ptr<TZensurzeile>> zeilen{Zensurzeile[0]};
    std::vector<::Text> telefon{TextOder(Telefonnummer, 0, ::Text())};
    std::vector<::Text> notizen{TextOder(Notizen, 0, ::Text())};
    std::vector<::Text> vergessen{TextOder(VergesseneHA, 0, ::Text())};
    for (size_t i = 0; i < anzahl; ++i) {
        const size_t k = rest[i].alt;
        zeilen.push_back(Zensurzeile[k]);
        telefon.push_back(TextOder(Telefonnummer, k, kPlatzhalterTelefon));
        notizen.push_back(TextOder(Notizen, k, kPlatzhalterNotizen));
        vergessen.push_back(TextOder(VergesseneHA, k, kPlatzhalterVergesseneHA));
    }
    Zensurzeile = std::move(zeilen);
    Telefonnummer = std::move(telefon);
    Notizen = std::move(notizen);
    VergesseneHA = std::move(vergessen);
    // Fewer rows than counted cannot arise in a consistent record; the count
    // follows the rows so that no index points past the arrays.
    Schueleranzahl = static_cast<int32_t>(anzahl + 1);

    for (int i = 1; i < Schueleranzahl; ++i)
        for (auto& kachel : Zensurzeile[i]->Kachel)
            if (kachel) kachel->y = ZeilenY(i);
    return 0;
}
