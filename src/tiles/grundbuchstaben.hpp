// Letters that a Latin-1 text cannot hold, written with their base letter:
// the name-list import and the keyboard keep "Doğan" as "Dogan" instead of
// losing the letter, and the name order sorts "Łukasz" under L.
#pragma once
#include "platform/text.hpp"

// The base letter(s) of a letter outside Latin-1: Ł gives L, ğ gives g, ı
// gives i, Ş gives S, Œ gives OE, ẞ gives SS. "" for a character without a
// Latin base letter (a symbol, a Greek letter, half of a surrogate pair).
::Text Grundbuchstaben(char16_t c);
