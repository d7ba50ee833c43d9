// The desktop's screen lock in the real program: a stand-in loginctl on PATH
// tells that the session is locked. The open class is saved and the program
// locks within a few seconds, with no name of the grid left in its memory as
// the program's text (UTF-16) or as the bytes of its files; after the password the class screen looks
// exactly as before.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gradebook/file_places.hpp"
#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/sealed_files.hpp"
#include "platform/text.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;
const std::string kPasswort = "Kreide und Tafel 42";
const std::string kKlassendatei = "/Noten/7a/7a Mathe.slk";

class Bildschirmsperre : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        setenv("HOME", "/tmp/rk-e2e-home", 1);
        AblageorteBinden();
        TestGradebook g{"7a", "Mathe", {{"Arbeit", "14.10.26"}, {"Test", "21.10.26"}}, {}};
        g.schueler.push_back({"Yilmazoglu", "Xenia", {"1+", "2"}, "", "", ""});
        g.schueler.push_back({"Zappelmann", "Quirin", {"4-", "3"}, "0171 998877", "Sitzplatz vorne", "3x"});
        WriteClassFile(p.Folder(), g);
        SetNewKeyLimits({1, 8192});
        std::array<unsigned char, kRecoveryBytes> code{};
        ASSERT_TRUE(PrepareNewKey(code));
        ASSERT_EQ(WriteNewKeyFile(TextFromUtf8(p.Folder() + "/.Kladdorix-Schluessel"), TextFromUtf8(kPasswort), code),
                  KeyResult::Ok);
        ASSERT_EQ(ConvertDataFile(TextFromUtf8(p.Folder() + kKlassendatei), true), ConvertResult::Converted);
        SealingOff();
        SetNewKeyLimits({});
        // "yes" while the flag file is there.
        bin = p.Folder() + "-bin";
        fs::create_directories(bin);
        std::ofstream(bin + "/loginctl") << "#!/bin/sh\n"
                                            "if [ -e '" << bin << "/gesperrt' ]; then echo yes; else echo no; fi\n";
        fs::permissions(bin + "/loginctl", fs::perms::owner_all);
        alterPfad = std::getenv("PATH");
        setenv("PATH", (bin + ":" + alterPfad).c_str(), 1);
        setenv("XDG_SESSION_ID", "c7", 1);
    }
    void TearDown() override {
        setenv("PATH", alterPfad.c_str(), 1);
        unsetenv("XDG_SESSION_ID");
        SetPlaceRule(nullptr);
        std::error_code ec;
        fs::remove_all(bin, ec);
    }
    void Eingeben(const std::string& text) { p.EnterText(text); }
    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
    std::string bin, alterPfad;
};


int Verschieden(const Screenshot& a, const Screenshot& b) {
    if (a.rgb.size() != b.rgb.size()) return -1;
    int n = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) n += a.rgb[i] != b.rgb[i];
    return n;
}
}  // namespace

TEST_F(Bildschirmsperre, TheDesktopsLockLocksTheOpenClassAndThePasswordBringsItBackAsItWas) {
    ASSERT_TRUE(p.Start());
    ASSERT_NE(p.WaitForWindow(), 0u);
    SleepMs(1500);
    Eingeben(kPasswort);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    ASSERT_TRUE(p.OpenTheOnlyClass());
    SleepMs(1500);
    const Screenshot vorher = p.Shoot();
    p.Save(vorher, "bildschirmsperre-vorher");
    const std::string gespeichert = ReadFileBytes(p.Folder() + kKlassendatei);
    EXPECT_GT(MemoryFinds(p.Pid(), {Utf16Bytes("Zappelmann")}), 0) << "the search finds the grid's name";

    std::ofstream(bin + "/gesperrt") << "";
    SleepMs(5000);  // asked every two seconds
    const Screenshot gesperrt = p.Shoot();
    p.Save(gesperrt, "bildschirmsperre-gesperrt");
    EXPECT_GT(Verschieden(gesperrt, vorher), 100000) << "the class screen is still shown";
    // Neither as the program's text nor as the file's bytes (the names are
    // ASCII: UTF-8 and Latin-1 alike).
    for (const char* geheim : {"Zappelmann", "Sitzplatz vorne"}) {
        EXPECT_EQ(MemoryFinds(p.Pid(), {Utf16Bytes(geheim)}), 0) << geheim << " stayed in memory while locked";
        EXPECT_EQ(MemoryFinds(p.Pid(), {geheim}), 0) << geheim << " stayed in memory as the file's bytes while locked";
    }
    // Saved before the lock: the class file was written again, sealed.
    const std::string waehrend = ReadFileBytes(p.Folder() + kKlassendatei);
    EXPECT_NE(waehrend, gespeichert);
    EXPECT_EQ(waehrend.substr(0, 4), "RKV2");

    fs::remove(bin + "/gesperrt");
    SleepMs(2500);
    Eingeben(kPasswort);
    SleepMs(1500);
    const Screenshot nachher = p.Shoot();
    p.Save(nachher, "bildschirmsperre-nachher");
    EXPECT_EQ(Verschieden(nachher, vorher), 0) << "the class screen differs after unlocking";

    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(10000, status));
}
