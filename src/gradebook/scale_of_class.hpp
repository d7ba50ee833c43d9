// The grade scale follows the class that is opened or built: points from the
// upper-school level on, grades below it.
#pragma once
#include "gradebook/class_level.hpp"
#include "platform/text.hpp"
#include "gradebook/program_state.hpp"

inline void SkalaFuerKlasseSetzen(const ::Text& klasse) {
    Notenskala = ExtrahiereStufe(klasse) >= OberstufeAb ? 1 : 0;
}
