// Today's date and the time of day as the program shows and stores them:
// "06 Dec 2026" and "14:05:09", local time, English months whatever the locale.
#pragma once
#include "platform/text.hpp"

Text CurrentDateText();
Text CurrentTimeText();

// Today's local date as numbers; false when the clock cannot be read.
bool CurrentDate(int& year, int& month, int& day);

// "%d %b %Y": two-digit day, three-letter English month, four-digit year.
// "" for a month outside 1..12.
Text FormatDateText(int year, int month, int day);

// "%H:%M:%S", each field two digits.
Text FormatTimeText(int h, int m, int s);
