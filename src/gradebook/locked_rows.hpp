// The open class's rows while the screen is locked: saved first, then their
// texts (names, grades, notes, telephone numbers, forgotten homework and the
// grades the undo list would restore) sealed under the data key into one
// block and wiped from the tiles. After unlocking they are opened and put
// back into the very same tiles, so that every reference into the grid stays
// valid and the screen looks exactly as before. Sealed, the block is no more
// readable than the class file on the disk.
#pragma once
#include "gradebook/schulklasse.hpp"

// The class on the class screen; null elsewhere.
extern TSchulklasse* OffeneKlasse;

// Needs the data key (call it before locking). Saves the class, then takes
// its rows away; false (and nothing taken) when they could not be sealed.
bool ZeilenWegschliessen(TSchulklasse& klasse);
// With the data key held again: the rows back where they were. False when
// the block does not open (the rows then stay away and nothing of the class
// is written).
bool ZeilenZurueckholen(TSchulklasse& klasse);
