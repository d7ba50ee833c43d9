// The notice shown during long work (a photo series turned into portraits,
// the files of a conversion): a dark panel with a white frame in the middle
// of the screen, and how many of the pieces are done.
#pragma once
#include "platform/text.hpp"

inline const Text kFotoHinweis = u"Sämtliche Fotos werden nun kopiert, verkleinert und optimiert ...";

// Draws the notice over the current picture and presents it at once (no
// frame pacing: the import should not wait for the screen). fertig of gesamt
// portraits are done.
void WartehinweisZeigen(int fertig, int gesamt, const Text& was = kFotoHinweis);
