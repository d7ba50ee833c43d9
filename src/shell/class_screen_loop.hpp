// The frame loop of the class screen, nested in the catalogue or in the
// creation of a new class.
#pragma once
#include "gradebook/schulklasse.hpp"

// The program's exit status: 1 once a class could not be saved when the
// program was asked to end (by a signal), else 0.
extern int Austrittsstatus;

// Runs the class screen until it returns a positive code (3: end the program).
// Escape or the window's close request saves the gradebook and returns 3; when
// that save fails, a "Fehler" box says so and the class screen stays open
// unless the user chooses, and confirms, to end without saving. An end signal
// saves and returns 3 without asking; a failed save is then told on standard
// error and sets Austrittsstatus to 1.
int KlassenbildschirmLaufen(TSchulklasse& klasse);
