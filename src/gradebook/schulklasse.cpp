// Building an empty grid row and the gradebook of a new class.
#include "gradebook/schulklasse.hpp"

#include "gradebook/grid_tiles.hpp"
#include "gradebook/scale_of_class.hpp"

std::shared_ptr<TZensurzeile> TZensurzeile::bauen(int n) {
    auto zeile = std::make_shared<TZensurzeile>();
    if (n < 0) n = 0;
    zeile->Kachel.resize(static_cast<size_t>(n));
    zeile->Note.assign(static_cast<size_t>(n), 0.0f);
    return zeile;
}

std::shared_ptr<TSchulklasse> TSchulklasse::bauen(const std::array<::Text, 2>& titel, int einzeln) {
    auto k = std::make_shared<TSchulklasse>();
    k->Titel = titel;
    SkalaFuerKlasseSetzen(titel[0]);
    k->ZeileEinzelnAnzeigen = einzeln;
    k->Schueleranzahl = 1;
    k->Notenanzahl = 1;
    auto kopf = TZensurzeile::bauen(1);
    kopf->Kachel[0] = TitelkachelBauen(titel[0], titel[1]);
    k->Zensurzeile = {kopf};
    k->Telefonnummer = {::Text()};
    k->Notizen = {::Text()};
    k->VergesseneHA = {::Text()};
    k->OrganisiereOffsetGrenzen(-1, -1);
    return k;
}
