// Class-wide operations of the program's shell (no instances).
#pragma once
#include "gradebook/class_level.hpp"
#include "platform/text.hpp"

class Kladdorix {
public:
    // Class level of a class name: "7b" is 7, "10a" is 10 (see class_level.hpp).
    static int ExtrahiereStufe(const Text& klasse) { return ::ExtrahiereStufe(klasse); }
};
