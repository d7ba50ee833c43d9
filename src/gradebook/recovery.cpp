// Keeping edits safe between saves. Not built yet: edits stay in memory until
// the class is saved.
#include "gradebook/schulklasse.hpp"

void TSchulklasse::AenderungVermerken() {}
