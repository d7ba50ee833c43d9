// The Notenspiegel of a grade column: how many students got each grade.
#pragma once
#include "gradebook/schulklasse.hpp"

// Shows the grade distribution of column `spalte` in an information box;
// changes nothing.
void NotenspiegelZeigen(const TSchulklasse& klasse, int spalte);
