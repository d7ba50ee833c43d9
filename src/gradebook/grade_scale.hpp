// The two grade scales: the value of a grade text and the text colours of
// grade and average cells. A grade is always kept as the text picked from a
// grade menu; value and colour are derived from that text here.
#pragma once
#include <array>

#include "platform/text.hpp"

// Value of a grade text on the given scale (0 grades "1+".."6", 1 points
// "15".."0"); -1.0 for any text that is no grade of that scale. Exact match,
// no trimming.
float Notenwert(const Text& note, int skala);
// The same on the active scale `Notenskala`.
float Notenwert(const Text& note);

// Text colour (red, green, blue 0..255) of a grade cell; white for texts
// without a colour of their own, intermediate grades "1-2".."5-6" included.
std::array<int, 3> Notenfarbe(const Text& note, int skala);
std::array<int, 3> Notenfarbe(const Text& note);

// Text colour of an average cell: a continuous version of Notenfarbe.
// Not clamped: a grade average above 6 gives blue above 128.
std::array<int, 3> Durchschnittsfarbe(float wert, int skala);
std::array<int, 3> Durchschnittsfarbe(float wert);
