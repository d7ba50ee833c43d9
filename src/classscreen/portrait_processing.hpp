// Turning a photo into a student's portrait: the brightness estimate, the
// lightening of a dark photo, the contrast curve, and the middle square of the
// photo scaled to the portrait size by nearest neighbour. No files here.
#pragma once
#include "platform/pixmap.hpp"

// Mean of red, green and blue (0..255) over 100 random samples of the middle
// square whose half side is a quarter of the photo's shorter side.
double MittlereHelligkeit(const TPixmap& foto);

// How far a dark photo is pulled toward white: 0.4 x max(0, (128 - m) / 128),
// so at most 40 %; photos of mean 128 or more are not lightened.
double Aufhellstaerke(double mittel);

// One colour component v (0..255) lightened by a: int((1 - a) v + a 255).
int Aufgehellt(int v, double a);

// The contrast curve: int(255 (0.5 - 0.5 cos(c 180/255 degrees))); it keeps
// 0 and 255 and steepens the middle tones.
int Kontrastkurve(int c);

// The middle square of the photo (left and right cut off a landscape photo,
// top and bottom off an upright one), scaled to groesse x groesse by nearest
// neighbour, every component lightened by a and then curved. 24-bit colour,
// rows aligned to 4 bytes. Null for a null photo or a size below 1.
TPixmap Portraet(const TPixmap& foto, int groesse, double a);
