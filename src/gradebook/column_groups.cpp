// Group rules for deleting and moving columns and for adding average groups:
// a group is "schriftl.", "sonst." and "HauptF." or "NebenF." side by side,
// found from any of its three members.
#include "gradebook/column_groups.hpp"

#include "gradebook/grade_types.hpp"

namespace {

const Text kSchriftlich = u"schriftl.";
const Text kSonstig = u"sonst.";

// A complete group ends at column g (g >= 3: the name column stays in front).
bool GruppeEndetBei(const std::vector<Text>& typen, int g) {
    return g >= 3 && g < static_cast<int>(typen.size()) && IstGesamtdurchschnitt(typen[g]) &&
           typen[g - 1] == kSonstig && typen[g - 2] == kSchriftlich;
}

// First column of the complete group that column k belongs to, or 0.
int GruppenanfangVon(const std::vector<Text>& typen, int k) {
    for (int g = k; g <= k + 2; ++g)
        if (g - 2 <= k && GruppeEndetBei(typen, g)) return g - 2;
    return 0;
}

}  // namespace

Spaltenbereich LoeschBereich(const std::vector<Text>& typen, int k) {
    const int a = GruppenanfangVon(typen, k);
    if (a == 0) return {k, k};
    return {a, a + 2};
}

std::optional<Linksverschiebung> LinksBereich(const std::vector<Text>& typen, int k) {
    if (k <= 1 || k >= static_cast<int>(typen.size())) return std::nullopt;
    Spaltenbereich wandert{k, k};
    if (const int a = GruppenanfangVon(typen, k); a != 0) {
        if (a == 1) return std::nullopt;  // the group stands first already
        wandert = {a, a + 2};
    }
    const int a = wandert.erste;
    Spaltenbereich uebersprungen{a - 1, a - 1};
    if (GruppeEndetBei(typen, a - 1)) uebersprungen = {a - 3, a - 1};
    return Linksverschiebung{wandert, uebersprungen};
}

std::vector<int> SpaltenfolgeNach(int spalten, const Linksverschiebung& v) {
    std::vector<int> folge;
    folge.reserve(static_cast<size_t>(spalten));
    for (int j = 0; j < v.uebersprungen.erste; ++j) folge.push_back(j);
    for (int j = v.wandert.erste; j <= v.wandert.letzte; ++j) folge.push_back(j);
    for (int j = v.uebersprungen.erste; j <= v.uebersprungen.letzte; ++j) folge.push_back(j);
    for (int j = v.wandert.letzte + 1; j < spalten; ++j) folge.push_back(j);
    return folge;
}

Gruppenzulassung NeueGruppePruefen(const std::vector<Text>& typen, const Text& gesamttyp) {
    int haupt = 0, neben = 0;
    for (size_t j = 1; j < typen.size(); ++j) {
        if (typen[j] == u"HauptF.") ++haupt;
        if (typen[j] == u"NebenF.") ++neben;
    }
    if (haupt >= 2 || neben >= 2) return Gruppenzulassung::ZweiVorhanden;
    if ((haupt == 1 && gesamttyp == u"NebenF.") || (neben == 1 && gesamttyp == u"HauptF."))
        return Gruppenzulassung::Gemischt;
    return Gruppenzulassung::Erlaubt;
}
