// Reads the class level from the leading digits of a class name.
#include "gradebook/class_level.hpp"

#include "platform/conversions.hpp"

int ExtrahiereStufe(const Text& klasse) {
    // One digit 2..9 is the level itself; otherwise two characters may give
    // 10..13. A lone "1" (e.g. "1c", "14a") stays level 1.
    int erste = IntFromText(Left(klasse, 1));
    if (erste >= 2 && erste <= 9) return erste;
    int zwei = IntFromText(Left(klasse, 2));
    if (zwei >= 10 && zwei <= 13) return zwei;
    return erste == 1 ? 1 : 0;
}
