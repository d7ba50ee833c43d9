// libFuzzer target of the name list reader in every character set (UTF-8,
// UTF-16 with either byte order, Windows-1252) and both line formats: the
// names it gives are non-empty and hold only what a class file can store, and
// its check of the file agrees with what it reads.
#include <cstdint>
#include <string_view>

#include "gradebook/name_list.hpp"

namespace {

bool Speicherbar(const Text& t) {
    for (char16_t c : t)
        if (c != 0x20AC && (c > 0xFF || (c >= 0x7F && c <= 0x9F) || c < 0x20)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)NamenslisteDekodieren(bytes);
    for (bool csv : {false, true}) {
        const auto namen = NamenslisteLesen(bytes, csv);
        for (const NamenslisteEintrag& e : namen) {
            if (e.nachname.empty() && e.vornamen.empty()) __builtin_trap();
            if (!Speicherbar(e.nachname) || !Speicherbar(e.vornamen)) __builtin_trap();
        }
        // A file let through as a name list stays within its limits.
        const Namenslistenmangel mangel = NamenslisteMangel(bytes, csv);
        if (mangel == Namenslistenmangel::Keiner && namen.size() > kNamenslisteHoechstnamen) __builtin_trap();
        if (mangel == Namenslistenmangel::ZuVieleNamen && namen.size() <= kNamenslisteHoechstnamen) __builtin_trap();
    }
    return 0;
}
