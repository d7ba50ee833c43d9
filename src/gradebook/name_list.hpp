// Name lists as teachers get them: plain text with one "Nachname Vornamen" per
// line, or CSV exports of school administration programs and spreadsheets
// ("Nachname;Vornamen" or "Nachname,Vornamen", quoted fields, a header line),
// in UTF-8, UTF-16 or Windows-1252. Pure functions on the file's bytes, so the
// rules can be tested without a file.
#pragma once
#include <string_view>
#include <vector>

#include "platform/text.hpp"

struct NamenslisteEintrag {
    ::Text nachname, vornamen;
    bool angepasst = false;  // a character was replaced or dropped
    ::Text vorher;           // with angepasst: "Nachname Vornamen" as the list has it
};

// Limits of a file that is a name list: a class has far fewer students, and a
// name far fewer letters; anything beyond is some other file.
inline constexpr size_t kNamenslisteHoechstnamen = 200;
inline constexpr size_t kNamenslisteHoechstzeile = 200;

enum class Namenslistenmangel { Keiner, Steuerzeichen, LangeZeile, ZuVieleNamen };

// Why the bytes are no name list: a NUL or another control character than
// tab, CR and LF in the decoded text, a line of more than
// kNamenslisteHoechstzeile characters, or more than kNamenslisteHoechstnamen names.
Namenslistenmangel NamenslisteMangel(std::string_view bytes, bool csv);

// The file's text: UTF-8 after a byte-order mark or when the bytes are valid
// UTF-8 holding non-ASCII characters, UTF-16 after its byte-order mark,
// Windows-1252 otherwise.
::Text NamenslisteDekodieren(std::string_view bytes);

// The text as a class file can hold it (Latin-1 and the euro sign): a letter
// outside loses its accent (Ł gives L, Œ gives OE), any other such character
// is dropped. `angepasst` tells whether anything changed.
::Text FuerKlassendatei(const ::Text& text, bool& angepasst);

// The students of the list in file order: blank lines skipped, a line split at
// its first blank or control character into surname and first names; with
// csv, the first two fields, a header line ("Nachname" or "Name" in the first
// field) skipped. Names come adapted to the class file.
std::vector<NamenslisteEintrag> NamenslisteLesen(std::string_view bytes, bool csv);
