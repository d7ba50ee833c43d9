// The row menu of a student. Not built yet: a tap does nothing.
#include "classscreen/class_screen_commands.hpp"

int Zeilenbefehle(TSchulklasse& klasse, int zeile) { return 0; }
