// Grade distribution of a column: counting by whole grade on either scale,
// the average and the share of 5 and 6, all in integer arithmetic so that
// rounding and the one-third limit are exact.
#include "gradebook/grade_distribution.hpp"

#include <cmath>

#include "gradebook/grade_scale.hpp"

namespace {
const Text kNichtGefertigt = u"n.f.";

// Whole grade 1..6 of a point value.
int GanzeNoteAusPunkten(int punkte) {
    if (punkte >= 13) return 1;
    if (punkte >= 10) return 2;
    if (punkte >= 7) return 3;
    if (punkte >= 4) return 4;
    if (punkte >= 1) return 5;
    return 6;
}

// Half-up rounding of zaehler / nenner for non-negative values.
long long GerundetGeteilt(long long zaehler, long long nenner) { return (2 * zaehler + nenner) / (2 * nenner); }
}  // namespace

Notenverteilung NotenverteilungBerechnen(const std::vector<Text>& zellen, int skala) {
    Notenverteilung v;
    for (const Text& t : zellen) {
        if (t.empty()) continue;
        if (t == kNichtGefertigt) {
            ++v.NichtGefertigt;
            continue;
        }
        const float wert = Notenwert(t, skala);
        if (wert <= -1.0f) {
            ++v.AndererText;
            continue;
        }
        int note;
        if (skala == 1) {
            const int punkte = static_cast<int>(wert);
            ++v.Punkte[static_cast<size_t>(punkte)];
            note = GanzeNoteAusPunkten(punkte);
        } else {
            // Every grade text of the scale begins with its whole grade.
            note = t[0] - u'0';
        }
        ++v.Noten[static_cast<size_t>(note - 1)];
        ++v.Benotet;
        if (note >= 5) ++v.FuenfUndSechs;
        v.Viertelsumme += std::lround(wert * 4.0f);
    }
    return v;
}

int DurchschnittHundertstel(const Notenverteilung& v) {
    if (v.Benotet == 0) return -1;
    // Quarters to hundredths: sum * 25 / count.
    return static_cast<int>(GerundetGeteilt(v.Viertelsumme * 25, v.Benotet));
}

int FuenfUndSechsProzent(const Notenverteilung& v) {
    if (v.Benotet == 0) return 0;
    return static_cast<int>(GerundetGeteilt(100LL * v.FuenfUndSechs, v.Benotet));
}

bool MehrAlsEinDrittel(const Notenverteilung& v) { return v.Benotet > 0 && 3 * v.FuenfUndSechs > v.Benotet; }
