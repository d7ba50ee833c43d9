// Number <-> text conversions and the text helpers (case, trimming,
// substrings, search) with the program's fixed rounding and clipping rules.
#pragma once
#include "platform/text.hpp"

// Skips leading blanks (code <= 32), takes an optional sign, then "$" hex,
// "%" binary or decimal digits up to the first other character. No digits
// give 0; values beyond 32 bits wrap.
int IntFromText(const Text& text);

// Like IntFromText for a decimal float ("1.5", "-2", ".5", "1e3"); 0 when
// the text does not start with a number. Independent of the locale.
double FloatFromText(const Text& text);

// printf "%#.9g": 9 significant digits, trailing zeros and the point kept
// (1.5 gives "1.50000000"). Independent of the locale.
Text TextFromFloat(double value);

Text TextFromInt(long long value);

// Case mapping of A-Z, Latin-1, Latin Extended-A, basic Greek and Cyrillic
// letters (and the capital sharp s), one character to one, no locale.
Text LowerCase(const Text& text);
Text UpperCase(const Text& text);

// Removes every character with code 32 or less from both ends.
Text Trim(const Text& text);

// Substrings with positions from 1; ranges are clipped to the text, so any
// argument is safe. count < 0 means "to the end". A start before 1 shortens
// the count by the part that lies before the text.
Text Mid(const Text& text, int pos1, int count = -1);
Text Left(const Text& text, int n);
Text Right(const Text& text, int n);

// 1-based position of needle in haystack at or after start1, 0 if absent.
int Instr(const Text& haystack, const Text& needle, int start1 = 1);

// Truncates toward zero (2.7 gives 2, -2.7 gives -2); saturates outside the
// int range, NaN gives 0.
int TruncToInt(double value);
