// The name of a grade column of the teacher's own type, typed on the
// on-screen keyboard. The four names of the average columns are refused and
// asked again: a column of that name would be taken for an average column
// and its grades overwritten.
#pragma once
#include <optional>

#include "platform/text.hpp"

// The typed name without blanks at either end, or nothing when the entry was
// cancelled.
std::optional<Text> FreienTypnamenErfragen();
