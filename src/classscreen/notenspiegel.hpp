// The Notenspiegel of a grade column: how many students got each grade, the
// average and the share of 5 and 6, shown in an information box.
#pragma once
#include <vector>

#include "gradebook/grade_distribution.hpp"
#include "gradebook/schulklasse.hpp"

// One message line of the box with its colour.
struct NotenspiegelZeile {
    ::Text text;
    RGBFarbe farbe{255, 255, 255};

    bool operator==(const NotenspiegelZeile&) const = default;
};

// The box's button that prints the Notenspiegel.
inline const ::Text kDruckenSchalter = u"Drucken";

// "Arbeit vom 14.10.26": the column's type (or "Spalte ohne Namen") and date.
::Text NotenspiegelKopf(const TKachel& kopf);
// The distribution of the cells of column `spalte` on scale `skala`.
Notenverteilung SpaltenVerteilung(const TSchulklasse& klasse, int spalte, int skala);
// Whether the column has counts to show: a grade or report column with at
// least one counted grade.
bool NotenspiegelMoeglich(const TSchulklasse& klasse, int spalte, const Notenverteilung& v);
// The lines below the counts: how many were counted and left out, the average
// with a decimal comma, "5 und 6: k von n (p %)" and the one-third line.
std::vector<NotenspiegelZeile> NotenspiegelAuswertung(const Notenverteilung& v);

// The message lines for column `spalte` (>= 1) on scale `skala`: the column's
// type and date, then the counts, or why there is no Notenspiegel.
std::vector<NotenspiegelZeile> NotenspiegelZeilen(const TSchulklasse& klasse, int spalte, int skala);

// Shows the grade distribution of column `spalte` in an information box on
// the active scale; its "Drucken" button prints it. Changes nothing.
void NotenspiegelZeigen(const TSchulklasse& klasse, int spalte);
