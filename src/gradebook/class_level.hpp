// Class level of a class name ("7b" is 7, "10a" is 10), which places the
// class in the catalogue and chooses its grade scale.
#pragma once
#include "platform/text.hpp"

// Level 0..13 of a class name or of a path that begins with it; 0 when the
// name does not start with a usable number.
int ExtrahiereStufe(const Text& klasse);
