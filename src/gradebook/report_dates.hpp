// The date of a new "Zeugnis" column: the half-year report (31 January) or
// the end-of-year report (15 July) that follows the last report column, or
// that follows today when the class has none.
#pragma once
#include <optional>

#include "platform/text.hpp"

// letztesZeugnis: the date (DD.MM.YY) of the rightmost "Zeugnis" column, if
// any; heute: today as DD.MM.YY. A report date that is not 8 characters long
// is ignored and today decides.
Text NaechstesZeugnisdatum(const std::optional<Text>& letztesZeugnis, const Text& heute);
