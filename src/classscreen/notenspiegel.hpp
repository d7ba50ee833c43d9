// The Notenspiegel of a grade column: how many students got each grade, the
// average and the share of 5 and 6, shown in an information box.
#pragma once
#include <vector>

#include "gradebook/schulklasse.hpp"

// One message line of the box with its colour.
struct NotenspiegelZeile {
    ::Text text;
    RGBFarbe farbe{255, 255, 255};

    bool operator==(const NotenspiegelZeile&) const = default;
};

// The message lines for column `spalte` (>= 1) on scale `skala`: the column's
// type and date, then the counts, or why there is no Notenspiegel.
std::vector<NotenspiegelZeile> NotenspiegelZeilen(const TSchulklasse& klasse, int spalte, int skala);

// Shows the grade distribution of column `spalte` in an information box on
// the active scale; changes nothing.
void NotenspiegelZeigen(const TSchulklasse& klasse, int spalte);
