// The notice shown while a photo series is turned into portraits: a dark
// panel with a white frame in the middle of the screen, and how many of the
// portraits are done.
#pragma once

// Draws the notice over the current picture and presents it at once (no
// frame pacing: the import should not wait for the screen). fertig of gesamt
// portraits are done.
void WartehinweisZeigen(int fertig, int gesamt);
