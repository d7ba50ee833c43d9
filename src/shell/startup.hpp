// Program start: resources, fonts, window, timer, folders; then the main loop.
#pragma once
#include "platform/text.hpp"

// The whole run after the backend is installed; returns the exit status.
int KladdorixMain();
// Start-up steps up to the main loop; false when the program must end.
bool Hochfahren();
// Takes the lock of the program folder for the whole run; false (after a
// system message box titled "Rido Kladdorix") when another copy holds it.
bool EinzigesProgrammImOrdner();
// The catalogue's frame loop; returns 0 when the user quits.
int Hauptschleife();
// HOME and USERPROFILE (an unset one counts as "") -> the requesters' start folder.
Text DefaultStartOrdner(const Text& home, const Text& userProfile);
