// Line-oriented 8-bit text streams: Latin-1 files (or embedded resources) read
// line by line, and files written line by line with CR LF endings.
#pragma once
#include <memory>
#include "platform/text.hpp"

class TextStream;
using TStream = std::shared_ptr<TextStream>;

// Opens a file or an "incbin::" resource for reading; null when unreadable.
TStream OpenForReading(const Text& pathOrIncbin);

// Creates or truncates the file; null when it cannot be created.
TStream OpenForWriting(const Text& path);

// The next line: bytes up to a LF, a NUL or the end of the data; the
// terminator is consumed, every CR dropped, each byte one character.
// "" at the end.
Text ReadLine(const TStream& stream);

// Writes the low 8 bits of each character, then CR LF; false on a write error.
// Lines are buffered, so a failing disk may show only in Close.
bool WriteLine(const TStream& stream, const Text& line);

// True when no bytes are left to read (always for writing or null streams).
bool Eof(const TStream& stream);

// Flushes and closes; false when any write failed, so a full disk is noticed.
bool Close(const TStream& stream);
