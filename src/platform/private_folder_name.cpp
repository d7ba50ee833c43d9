// The private folder's name, the same on both systems: one per program
// folder, so that a second program working on another folder neither shares
// the first one's plain copies nor empties them at its start.
#include <cstdint>
#include <string>

#include "platform/files.hpp"

Text PrivateFolderName(const Text& name) {
    // FNV-1a: a name, not a secret (the folder is closed to others anyway).
    uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : Utf8FromText(CanonicalPath(u".")))
        h = (h ^ c) * 1099511628211ull;
    static const char kZiffern[] = "0123456789abcdef";
    std::string hex(16, '0');
    for (int i = 15; i >= 0; --i, h >>= 4) hex[static_cast<size_t>(i)] = kZiffern[h & 15];
    return name + u"-" + TextFromUtf8(hex);
}
