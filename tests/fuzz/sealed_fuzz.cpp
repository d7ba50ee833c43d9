// libFuzzer target of the sealed-file reader with a key held: any bytes as a
// data file either open (plain bytes stay as they are) or are refused, never
// more than asked for; half the inputs are sealed under the key first (at one
// of four places), so the reader's way past the tag is reached too. What
// opens goes on to the class-file reader, which rk_laden_fuzz covers.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "gradebook/file_places.hpp"
#include "platform/sealed_files.hpp"

namespace {
std::string Ordner;

void Einrichten() {
    Ordner = "/tmp/rk-sealed-fuzz-" + std::to_string(::getpid());
    for (const char* o : {"", "/Noten", "/Noten/7a", "/Noten/7a/Backups", "/Noten/7a/Bilder"})
        ::mkdir((Ordner + o).c_str(), 0700);
    AblageorteBinden();
    SetNewKeyLimits({1, 8192});
    std::array<unsigned char, kRecoveryBytes> code{};
    if (!PrepareNewKey(code) || WriteNewKeyFile(TextFromUtf8(Ordner + "/key"), u"Fuzz-Passwort 1", code) != KeyResult::Ok)
        __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool eingerichtet = (Einrichten(), true);
    (void)eingerichtet;
    if (size < 1) return 0;
    const std::string_view roh(reinterpret_cast<const char*>(data + 1), size - 1);
    // Where the file lies is part of what is checked: the place comes from the input too.
    static const char* const orte[] = {"/Noten/7a/7a Mathe.slk", "/Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk",
                                       "/Noten/7a/7a Mathe.slk.ungespeichert", "/Noten/7a/Bilder/x.png"};
    const std::string pfad = Ordner + orte[(data[0] >> 1) % 4];
    const Text tpfad = TextFromUtf8(pfad);
    std::string datei;
    if (data[0] & 1) {
        if (!WriteDataFile(tpfad, roh, false)) __builtin_trap();
    } else {
        std::ofstream(pfad, std::ios::binary | std::ios::trunc).write(roh.data(), static_cast<std::streamsize>(roh.size()));
    }
    std::string klar;
    const DataReadResult r = ReadDataFile(tpfad, klar, 1 << 16);
    if (r == DataReadResult::Ok) {
        if (klar.size() > (1u << 16)) __builtin_trap();
        // Sealed here, it must open to exactly what was sealed.
        if ((data[0] & 1) && klar != roh) __builtin_trap();
    } else if ((data[0] & 1) && roh.size() <= (1u << 16)) {
        __builtin_trap();
    }
    std::string auch;
    OpenSealedBytes(roh, auch);
    std::remove(pfad.c_str());
    return 0;
}
