// The frame loop of the class screen, nested in the catalogue or in the
// creation of a new class.
#pragma once
#include "gradebook/schulklasse.hpp"

// Runs the class screen until it returns a positive code (3: end the program).
// Escape or the window's close request saves the gradebook and returns 3; when
// that save fails, a "Fehler" box says so and the class screen stays open
// unless the user chooses, and confirms, to end without saving.
int KlassenbildschirmLaufen(TSchulklasse& klasse);
