// The bytes of a class file: characters to bytes and back (Latin-1 with the
// euro sign at 0x80), cell records with doubled semicolons, and a line reader
// over a file held in memory.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text.hpp"

// Byte of a character: the euro sign is 0x80 (as in the Western Windows code
// page), every other character its low 8 bits. Line ends and NUL inside a
// value would split the file's lines, so they are written as a blank.
unsigned char ByteVonZeichen(char16_t c);
// Character of a byte: 0x80 is the euro sign, every other byte its Latin-1 character.
char16_t ZeichenVonByte(unsigned char b);

// Appends the line's bytes and CR LF.
void ZeileAnhaengen(std::string& out, const ::Text& zeile);
// Appends "C;X<x>;Y<y>;K\"<value>\"" and CR LF: an empty value as one blank,
// every ";" of the value as ";;" so that a spreadsheet sees no extra fields.
void ZellsatzAnhaengen(std::string& out, int x, int y, const ::Text& wert);

// Lines of a file held in memory, read as the program's text files are: a
// line ends at LF, at NUL or at the end, every CR is dropped.
class Zeilenleser {
public:
    explicit Zeilenleser(std::string_view bytes) : bytes_(bytes) {}
    bool Ende() const { return pos_ >= bytes_.size(); }
    // The next line, "" at the end.
    ::Text Naechste();
    // How many lines the whole data holds (what Naechste gives before Ende);
    // kZuLang as soon as one line holds more than hoechstlaenge bytes.
    static constexpr size_t kZuLang = static_cast<size_t>(-1);
    static size_t Zeilenanzahl(std::string_view bytes, size_t hoechstlaenge = kZuLang);

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

// Leading blanks, an optional sign and decimal digits, as a count line is
// read; 0 without digits. Saturates at +-2^31, beyond every int count, so a
// huge count is seen as huge and not wrapped into a small one, and the
// product of two counts still fits a long long.
inline constexpr long long kGanzzahlGrenze = 1LL << 31;
long long GanzzahlAusText(const ::Text& text);
