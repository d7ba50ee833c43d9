// Wipes a buffer of plain gradebook bytes on every way out of its scope, so
// no copy of a name stays behind in freed memory (the lock wipes the keys,
// and what was read or written under them must not outlive it).
#pragma once
#include <string>

#include "platform/sealed_files.hpp"

class WipeOnExit {
public:
    explicit WipeOnExit(std::string& bytes) : bytes_(bytes) {}
    WipeOnExit(const WipeOnExit&) = delete;
    WipeOnExit& operator=(const WipeOnExit&) = delete;
    ~WipeOnExit() { WipeBytes(bytes_); }

private:
    std::string& bytes_;
};
