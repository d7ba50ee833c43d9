// The column menu of a grade column. Not built yet: a tap does nothing.
#include "classscreen/class_screen_commands.hpp"

int Spaltenbefehle(TSchulklasse& klasse, int spalte) { return 0; }
