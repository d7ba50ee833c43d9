// Whole files as raw bytes: reading with a size limit, writing a file in one
// piece, and replacing a file so that a crash or power cut leaves either its
// old or its new content, for formats whose byte mapping the caller decides.
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

// Suffix of the file written beside the target before it replaces it.
inline constexpr char16_t kReplacementSuffix[] = u".neu";

// Writes the bytes to path + ".neu" (a leftover or a link there is removed
// first), forces them onto the disk (when durable),
// renames that file over path and then forces the folder entry of the rename
// onto the disk (when durable), so that a save that reports success survives
// a power cut. False, with path untouched and nothing left beside it, when
// any step before the rename fails; false after the rename only when the
// folder could not be flushed. A path that names anything but a plain file
// is refused.
bool ReplaceFileBytes(const Text& path, std::string_view bytes, bool durable);
