// The class command menu, opened from the corner tile. Its commands come with
// the next change; until then a tap on the corner tile does nothing.
#include "classscreen/class_screen_commands.hpp"

int Klassenbefehle(TSchulklasse& klasse) { return 0; }
