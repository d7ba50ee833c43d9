// Portraits as the seating plan shows them: read from the file once,
// averaged down to the size asked for and kept in the texture atlas, so that
// the plan opened again draws at once without decoding 30 photos. A file that
// changed since (another photo, a quarter turn) is read again; beyond
// kBehalteneBilder pictures the one unused longest goes.
#pragma once
#include <functional>

#include "platform/graphics.hpp"
#include "platform/pixmap.hpp"
#include "platform/text.hpp"

inline constexpr int kBehalteneBilder = 96;  // three classes of 32

// The picture of the portrait file at `pfad` averaged down to at most
// groesse x groesse pixels; null when there is no file or no picture in it.
TImage PortraitBild(const Text& pfad, int groesse);

// The same picture still in memory, not yet a texture: what the background
// preparation makes of a file, and the on-demand path too.
TPixmap PortraitPixmap(const Text& pfad, int groesse);

// The picture averaged down to s x s pixels (box filter, 24 bit); a picture
// not larger than that comes back as it is.
TPixmap Verkleinert(const TPixmap& bild, int s);

// Makes up to `hoechstens` portraits decoded ahead (see
// portrait_preparation.hpp) kept pictures on the graphics card, so that the
// plan opened from the class menu finds them ready; how many it made.
int VorbereitetePortraitsUebernehmen(int hoechstens);

// How many pictures are kept, and how many files were decoded so far.
struct Portraitzahlen {
    int behalten = 0;
    long long gelesen = 0;
};
Portraitzahlen PortraitZahlen();

// The lock lets every portrait go: the kept pictures, and those the screen
// that shows them holds (it names its forget call while it lives, and reads
// them again when it draws next, after unlocking).
void PortraitsVergessen();
void PortraitHalterSetzen(const void* halter, std::function<void()> vergessen);
void PortraitHalterLoesen(const void* halter);
