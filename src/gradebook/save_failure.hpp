// The one message for a gradebook that could not be saved, shown by every
// command that saves and by the class screen when it is left with Escape.
#pragma once
#include "gradebook/schulklasse.hpp"

// A red "Fehler" box naming class and subject; the caller keeps the gradebook open.
void SpeicherfehlerZeigen(const TSchulklasse& klasse);
