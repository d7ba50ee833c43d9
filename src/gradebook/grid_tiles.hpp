// Builders of the tiles that make up a gradebook's grid (title, column
// headings, name tiles, grade and average cells), with their fixed layout.
#pragma once
#include <memory>

#include "platform/text.hpp"
#include "tiles/kachel.hpp"

inline constexpr RGBFarbe kTitelfarbe{56, 48, 64};
inline const ::Text kDurchschnittssymbol = u"incbin::media/images/Durchschnitt.png";

// Rest position of column j (j >= 1 for grade columns) and of row i (i >= 1).
inline constexpr int SpaltenX(int j) { return 160 + 80 * j; }
inline constexpr int ZeilenY(int i) { return 46 + 84 * i; }
inline constexpr int kKopfY = 8;

// 1.5 x the title colour, truncated: (84, 72, 96).
RGBFarbe Namensfarbe();
// A heading colour halved per channel: the background of the column's cells.
RGBFarbe Zellfarbe(const RGBFarbe& kopffarbe);

// Corner tile (row 0, column 0); built without a fade-in.
std::shared_ptr<TTextKachel> TitelkachelBauen(const ::Text& klasse, const ::Text& fach);

// Heading of grade column j: type, its icon, date; background Typfarbe(type).
// The tile flies in from (vonX, vonY).
std::shared_ptr<TKombiKachel> NotenkopfBauen(const ::Text& typ, const ::Text& datum, int j, int vonX, int vonY);
// Heading of average column j: type and the average icon.
std::shared_ptr<TKombiKachel> DurchschnittskopfBauen(const ::Text& typ, int j, int vonX, int vonY);
// Either of the two, by the type.
std::shared_ptr<TKombiKachel> SpaltenkopfBauen(const ::Text& typ, const ::Text& datum, int j, int vonX, int vonY);

// Name tile of row i.
std::shared_ptr<TTextKachel> NamenskachelBauen(const ::Text& nachname, const ::Text& vornamen, int i, int vonX,
                                               int vonY);

// Grade cell (i, j): text colour Notenfarbe(note).
std::shared_ptr<TTextKachel> NotenzelleBauen(const ::Text& note, int i, int j, const RGBFarbe& kopffarbe, int vonX,
                                             int vonY);
// Average cell (i, j): text colour Durchschnittsfarbe of the shown value (0 when not a number).
std::shared_ptr<TTextKachel> DurchschnittszelleBauen(const ::Text& wert, int i, int j, const RGBFarbe& kopffarbe,
                                                     int vonX, int vonY);
