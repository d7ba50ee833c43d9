// libFuzzer target of the recovery file reader: any bytes as the recovery
// file beside a sealed class file, while encryption is on with the index of
// saves finished, plain or (bit 0 of the first byte) sealed in its place, go
// through the opening of the class as the catalogue does it. Every box
// returns at once (the end of the session is requested). Whatever happens,
// the class file keeps its bytes, and the recovery file is neither lost nor
// changed: it stays, is put aside into Backups with the same plain bytes, or
// is removed only when it loads to the class file's own gradebook.
// It works in a folder of its own (the program's working folder); findings
// go where -artifact_prefix says (run_fuzz.sh: the build folder).
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/file_places.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/recovery_offer.hpp"
#include "gradebook/save_index.hpp"
#include "platform/end_signals.hpp"
#include "platform/file_bytes.hpp"
#include "platform/graphics.hpp"
#include "platform/headless_backend.hpp"
#include "platform/image_font.hpp"
#include "platform/platform_context.hpp"
#include "platform/sealed_files.hpp"
#include "shell/media.hpp"
#include "tiles/info_box.hpp"

namespace fs = std::filesystem;

namespace {

const std::string kKlasse =
    "ID;PCALCOOO32\r\nC;X1;Y1;K\"7a\"\r\nC;X2;Y1;K\"Mathe\"\r\nC;X3;Y1;K\"4 Noten\"\r\nC;X1;Y2;K\"1 Sch\xFCler\"\r\n"
    "C;X3;Y3;K\"Arbeit\"\r\nC;X4;Y3;K\"schriftl.\"\r\nC;X5;Y3;K\"sonst.\"\r\nC;X6;Y3;K\"HauptF.\"\r\n"
    "C;X3;Y4;K\"14.10.15\"\r\nC;X4;Y4;K\"\xD8\"\r\nC;X5;Y4;K\"\xD8\"\r\nC;X6;Y4;K\"\xD8\"\r\n"
    "C;X1;Y5;K\"Berger\"\r\nC;X2;Y5;K\"Lena Marie\"\r\nC;X3;Y5;K\"2-\"\r\nC;X4;Y5;K\"2.25\"\r\n"
    "C;X5;Y5;K\" \"\r\nC;X6;Y5;K\"2.25\"\r\nE\r\n\r\n\r\n\r\n";
const Text kPfad = u"Noten/7a/7a Mathe.slk";
const Text kRettung = u"Noten/7a/7a Mathe.slk.ungespeichert";
std::string Klassenbytes;  // the class file as sealed on disk

void Einrichten() {
    RegisterEmbeddedMedia();
    static HeadlessBackend backend(1920, 1080);
    UseBackend(&backend);
    OpenGraphicsWindow(1920, 1080, 0, 60, 0);
    Bildschirmbreite = 1920;
    Bildschirmhoehe = 1080;
    SchriftenLaden();
    TInfoBox::LadeSchriften();
    RequestEnd();
    const fs::path ordner = "/tmp/rk-recovery-fuzz-" + std::to_string(::getpid());
    fs::create_directories(ordner / "Noten/7a/Backups");
    fs::current_path(ordner);
    static const fs::path wegraeumen = ordner;
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(wegraeumen, ec);
    });
    AblageorteBinden();
    StandpruefungBinden();
    SetNewKeyLimits({1, 8192});
    std::array<unsigned char, kRecoveryBytes> code{};
    if (!PrepareNewKey(code) || WriteNewKeyFile(u"./.Kladdorix-Schluessel", u"Fuzz-Passwort 1", code) != KeyResult::Ok ||
        !StandBeginnen() || !DateiSicherErsetzen(kPfad, kKlasse) || !StandAbschliessen() ||
        !ReadFileBytes(kPfad, Klassenbytes, 1 << 20) || !KlasseAusBytes(kKlasse))
        __builtin_trap();
}

std::vector<fs::path> Beiseite() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator("Noten/7a/Backups")) out.push_back(e.path());
    return out;
}

// A file put aside holds what the recovery file held: its very bytes, or
// (sealed again for its new place) its plain bytes. Read without the index's check.
bool HaeltDasselbe(const fs::path& p, const std::string& roh, std::string_view klar) {
    const Text pfad = TextFromUtf8(p.string());
    std::string jetzt, offen;
    if (!ReadFileBytes(pfad, jetzt, 1 << 20)) return false;
    return jetzt == roh || (OpenSealedBytes(jetzt, offen, PlaceOfFile(pfad)) && offen == klar);
}

const std::array<Text, 2> kTitel{u"7a", u"Mathe"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool eingerichtet = (Einrichten(), true);
    (void)eingerichtet;
    if (size < 1) return 0;
    const std::string_view inhalt(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        if (!WriteDataFile(kRettung, inhalt, false)) __builtin_trap();
    } else if (!WriteFileBytes(kRettung, inhalt)) {
        __builtin_trap();
    }
    std::string vorher;
    if (!ReadFileBytes(kRettung, vorher, 1 << 20)) __builtin_trap();

    const Klassenoeffnung o = KlasseMitWiederherstellungLaden(kPfad);

    std::string klasse;
    if (!ReadFileBytes(kPfad, klasse, 1 << 20) || klasse != Klassenbytes) __builtin_trap();
    if (o.klasse && KlassendateiBytes(*o.klasse) != KlassendateiBytes(*KlasseAusBytes(kKlasse))) __builtin_trap();
    const std::vector<fs::path> beiseite = Beiseite();
    std::string geblieben;
    if (ReadFileBytes(kRettung, geblieben, 1 << 20)) {
        if (geblieben != vorher || !beiseite.empty()) __builtin_trap();
    } else if (beiseite.size() == 1) {
        if (!HaeltDasselbe(beiseite[0], vorher, inhalt)) __builtin_trap();
    } else {
        // Removed: only a recovery file that holds nothing beyond the class file.
        const auto gerettet = KlasseAusBytes(inhalt, &kTitel);
        if (!beiseite.empty() || !gerettet || KlassendateiBytes(*gerettet) != KlassendateiBytes(*KlasseAusBytes(kKlasse)))
            __builtin_trap();
    }
    for (const fs::path& p : beiseite) fs::remove(p);
    fs::remove(Utf8FromText(kRettung));
    return 0;
}
