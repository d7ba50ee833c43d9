// Date texts of grade columns and time stamps of backup files.
#pragma once
#include "platform/text.hpp"

// Moves a date by n days and writes it as DD.MM.YY. Takes the platform's
// date text ("06 Dec 2026") or a German date (DD.MM.YY or DD.MM.YYYY).
// Only the two-digit year is kept: February has 29 days when it is
// divisible by 4, and the year wraps from 99 to 00 and back.
Text DatumVerschieben(const Text& datum, int tage);

// YY-MM-DD-HH-MM-SS of the given platform date and time texts
// ("06 Dec 2026", "18:42:59"); sorts chronologically within a century.
Text ZeitstempelAus(const Text& datum, const Text& uhrzeit);

// Time stamp of this moment, for backup file names.
Text Zeitstempel();
