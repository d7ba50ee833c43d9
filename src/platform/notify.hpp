// Modal system message box, for what the program's own drawing cannot show.
#pragma once
#include "platform/text.hpp"

// A box titled with the application title, the text and an OK button; a
// warning icon when serious is not 0.
void Notify(const Text& text, int serious);
