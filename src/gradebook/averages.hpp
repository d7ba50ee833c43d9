// Averages of one student row: which columns form the average groups, the
// written and other averages of a half-year, and the cells they fill.
#pragma once
#include <optional>
#include <vector>

#include "platform/text.hpp"

// Last columns ("HauptF." / "NebenF.") of the average groups; 0 = no such group.
// g2 is the current half-year's group, g1 the one before it.
struct Durchschnittsgruppen {
    int g1 = 0;
    int g2 = 0;
};

// typen[j] is the type of column j (typen[0], the name column, is not looked at).
Durchschnittsgruppen GruppenFinden(const std::vector<Text>& typen);

// Written and other average of the columns von..bis (inclusive); missing when
// the half-year has no grade of that kind.
struct Teilschnitte {
    std::optional<float> schriftlich;
    std::optional<float> sonstig;
};

Teilschnitte HalbjahrMitteln(const std::vector<Text>& typen, const std::vector<Text>& noten, int von, int bis,
                             int skala);

// An average as its cell shows it: the first four characters of "%#.9g", cut, never rounded.
Text Durchschnittsanzeige(float wert);

// New content of one average cell: a value, or nothing to clear it.
struct Durchschnittszelle {
    int spalte = 0;
    std::optional<float> wert;

    bool operator==(const Durchschnittszelle&) const = default;
};

// Every average cell of one row, in the order they are written; empty when
// the row has no group. noten[j] is the text of cell j.
std::vector<Durchschnittszelle> Zeilendurchschnitte(const std::vector<Text>& typen, const std::vector<Text>& noten,
                                                    int skala);
