// Student photos: a class from a camera series, a single portrait. Not built
// yet.
#include "gradebook/schulklasse.hpp"

int TSchulklasse::ImportiereBilder() { return 0; }
int TSchulklasse::PraepariereEinzelnesBild(const ::Text& pfad, int zeile) { return 0; }
