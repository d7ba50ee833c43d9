// Whole files as raw bytes: reading with a size limit, and writing a file in
// one piece, for formats whose byte mapping the caller decides.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text.hpp"

// Reads the whole file into out. False when it cannot be opened or read, or
// when it is larger than maxBytes (out is then empty).
bool ReadFileBytes(const Text& path, std::string& out, size_t maxBytes);

// Creates or truncates the file and writes the bytes; false when the file
// cannot be created or any write or the close fails (a full disk shows here).
bool WriteFileBytes(const Text& path, std::string_view bytes);
