// libFuzzer target of the key-file reader: any bytes as a key file are
// refused as damaged, or tried with the password and the recovery code and
// found wrong (a random file never opens). Limits the reader takes are
// lowered to the smallest before a try, so each derivation stays quick;
// limits it refuses are left as they came.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/sealed_files.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string pfad = "/tmp/rk-keyfile-fuzz-" + std::to_string(::getpid());
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.size() >= 12) {
        uint32_t ops = 0, mem = 0;
        for (int i = 0; i < 4; ++i) {
            ops |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[4 + i])) << (8 * i);
            mem |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[8 + i])) << (8 * i);
        }
        if (KeyLimitsAccepted({ops, mem})) bytes.replace(4, 8, std::string("\x01\0\0\0\0\x20\0\0", 8));
    }
    std::ofstream(pfad, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const Text datei = TextFromUtf8(pfad);
    const KeyResult mitPasswort = UnlockWithPassword(datei, u"Kreide und Tafel 42");
    std::array<unsigned char, kRecoveryBytes> code{};
    const KeyResult mitCode = UnlockWithRecovery(datei, code);
    std::remove(pfad.c_str());
    for (KeyResult r : {mitPasswort, mitCode})
        if (r == KeyResult::Ok || r == KeyResult::Missing) __builtin_trap();
    if (SealingOn()) __builtin_trap();
    return 0;
}
