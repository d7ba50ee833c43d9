// libFuzzer target of the settings reader: any bytes as the settings file are
// read or refused, and what is read is written and read back unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "gradebook/program_state.hpp"
#include "platform/text.hpp"
#include "shell/settings.hpp"

namespace {

std::string Pfad, Zurueck;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (Pfad.empty()) {
        Pfad = "/tmp/rk-settings-fuzz-" + std::to_string(::getpid());
        Zurueck = Pfad + "-zurueck";
    }
    {
        std::ofstream out(Pfad, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    StartOrdner = u"/start";
    const bool gelesen = EinstellungenLesenAus(TextFromUtf8(Pfad));
    std::remove(Pfad.c_str());
    if (!gelesen) __builtin_trap();
    const Text backup = BackupOrdner, start = StartOrdner;
    const int oberstufe = OberstufeAb;
    // Only what can be stored is written; what was written reads back the same.
    if (EinstellungenSchreibenNach(TextFromUtf8(Zurueck))) {
        const bool wieder = EinstellungenLesenAus(TextFromUtf8(Zurueck));
        std::remove(Zurueck.c_str());
        if (!wieder || BackupOrdner != backup || StartOrdner != start || OberstufeAb != oberstufe) __builtin_trap();
    }
    std::remove(Zurueck.c_str());
    return 0;
}
