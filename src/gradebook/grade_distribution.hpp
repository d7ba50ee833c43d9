// The grade distribution of one column as handed back with a test: how many
// students got each grade, the average, and the share of 5 and 6, which
// schools watch once it exceeds a third. Pure: works on the cell texts alone.
#pragma once
#include <array>
#include <vector>

#include "platform/text.hpp"

struct Notenverteilung {
    // Counted grades by whole grade 1..6 (index 0 = grade 1). On the grade
    // scale a grade counts by its leading digit ("2+", "2-", "2-3" are 2); on
    // the points scale 15-13 are 1, 12-10 are 2, ... 3-1 are 5 and 0 is 6.
    std::array<int, 6> Noten{};
    // Points scale only: counted grades by point value (index = points 0..15).
    std::array<int, 16> Punkte{};
    int Benotet = 0;         // counted grades: cells holding a grade of the scale, "n.f." excepted
    int NichtGefertigt = 0;  // cells holding "n.f."; not counted as a 6 here
    int AndererText = 0;     // non-empty cells holding no grade of the scale
    int FuenfUndSechs = 0;   // counted grades that are 5 or 6
    // Sum of the counted grades' values in quarters (every value is a
    // multiple of 0.25), so the average is rounded exactly.
    long long Viertelsumme = 0;
};

// Distribution of the given cell texts on scale `skala` (0 grades, 1 points).
// Texts are compared exactly, as everywhere in the gradebook.
Notenverteilung NotenverteilungBerechnen(const std::vector<Text>& zellen, int skala);

// Average of the counted grades in hundredths, rounded half up (247 for
// 2.47); -1 when there is no counted grade.
int DurchschnittHundertstel(const Notenverteilung& v);
// Share of 5 and 6 in whole percent, rounded half up; 0 without grades.
int FuenfUndSechsProzent(const Notenverteilung& v);
// Whether the 5 and 6 are more than a third of the counted grades (exactly a
// third is not).
bool MehrAlsEinDrittel(const Notenverteilung& v);
