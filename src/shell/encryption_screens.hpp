// The teacher's side of encryption: main-menu tile 6 (switching on, changing
// the password, switching off), the password prompt at every start, and the
// lock after five minutes without input.
#pragma once
#include "platform/text.hpp"

// Idle time after which the screen is locked.
inline constexpr int kSperrNachMs = 5 * 60 * 1000;

// The key file in the working folder (the program folder).
Text Schluesseldatei();

// Tile 6 of the main menu. Returns 0.
int VerschluesselungVerwalten();

// At start, before the catalogue: with encryption on (or being switched
// off) asks for the password until it is right, then finishes any
// conversion left by an interrupted run. False when the teacher ended the
// program on the prompt, or the key file cannot be used.
bool VerschluesselungBeimStart();

// The lock: the open class saved and its rows taken away (locked_rows.hpp),
// the screen covered by the password prompt until the right password is
// typed, the rows back; the keys are wiped meanwhile. Installed as the idle
// watch of User::update while encryption is on (idle time, the desktop's
// screen lock, waking from a long sleep).
void Sperren();
