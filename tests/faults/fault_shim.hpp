// A fault shim for the whole test process: write, fsync and rename are
// replaced by versions that fail the N-th call of one kind (EIO) while armed,
// and pass to the C library otherwise.
#pragma once

enum class Fehlerart { Schreiben, Sync, Umbenennen };

// Arms the shim: the n-th call (from 1) of the kind fails.
void FehlerBeim(Fehlerart art, int n);
// Disarms it; true when the armed failure happened.
bool FehlerEntschaerfen();
// Calls of each kind counted while armed (for finding how many there are).
int GezaehlteAufrufe(Fehlerart art);
