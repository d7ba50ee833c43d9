// Changes to a student's portrait file: following a new name, and quarter
// turns. Each replaces the portrait in one step, so an interruption leaves
// either the old or the new picture, never a broken one.
#pragma once
#include "gradebook/schulklasse.hpp"
#include "platform/pixmap.hpp"
#include "platform/text.hpp"

// The portrait file of the student in row `zeile`, below the data folder
// "Noten" of the working folder (the program's folder); "" when the name is
// not a plain file name, so that no name reaches outside "Bilder".
Text PortraitDerZeile(const TSchulklasse& klasse, int zeile);

enum class Portraitergebnis {
    erledigt,
    keinBild,          // no portrait file there: nothing to do
    nichtLesbar,       // the file is no picture the program can read
    nichtGeschrieben,  // the new file could not be written; the old one is unchanged
};

// Moves the portrait at `alt` to `neu` (both full paths); keinBild when `alt`
// is not a file.
Portraitergebnis PortraitUmbenennen(const Text& alt, const Text& neu);

// The picture turned by a quarter, clockwise when `rechts`: 24-bit colour
// without alpha, rows aligned to 4 bytes. Null for a null picture.
TPixmap Vierteldrehung(const TPixmap& bild, bool rechts);

// Turns the portrait file at `pfad` by a quarter: the turned picture is
// written beside it and then renamed over it.
Portraitergebnis PortraitDrehen(const Text& pfad, bool rechts);
