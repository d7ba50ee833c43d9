// The window on old drivers, with Mesa told to offer less: under OpenGL 2.1
// the catalogue and a class screen show exactly the pixels of the driver's
// newest OpenGL; below 2.1, or without framebuffer objects, one German box
// says so and the program ends without writing anything. With
// RK_E2E_WINDOWS_PROGRAM the Windows program under wine is checked the same way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "gradebook_files.hpp"
#include "harness.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;

// Variables for the programs started while it lives.
class Umgebung {
public:
    explicit Umgebung(std::vector<std::pair<std::string, std::string>> vars) : vars_(std::move(vars)) {
        for (const auto& [name, wert] : vars_) setenv(name.c_str(), wert.c_str(), 1);
    }
    ~Umgebung() {
        for (const auto& v : vars_) unsetenv(v.first.c_str());
    }

private:
    std::vector<std::pair<std::string, std::string>> vars_;
};

// The screen once two shots 300 ms apart agree (nothing moves any more).
Screenshot Ruhig(ProgramUnderTest& p) {
    Screenshot vorher = p.Shoot();
    for (int n = 0; n < 30; ++n) {
        SleepMs(300);
        Screenshot jetzt = p.Shoot();
        if (jetzt.rgb == vorher.rgb) return jetzt;
        vorher = std::move(jetzt);
    }
    ADD_FAILURE() << "the screen did not come to rest";
    return vorher;
}

struct Bilder {
    Screenshot katalog, klasse;
};

Bilder Aufnehmen(VirtualDisplay& display, const std::string& name) {
    Bilder b;
    ProgramUnderTest p(display);
    TestGradebook g{"7a", "Mathe", {{"Arbeit", "14.10.26"}, {"Test", "21.10.26"}},
                    {{"Berger", "Lena", {"2", "1-"}, "", "", ""}, {"Özdemir", "Jörg", {"3+", ""}, "", "", ""}}};
    WriteClassFile(p.Folder(), g);
    if (!p.Start() || p.WaitForWindow() == 0 || !p.WaitForPixel(960, 1070, kHintergrund)) {
        ADD_FAILURE() << name << ": no catalogue";
        return b;
    }
    b.katalog = Ruhig(p);
    p.Click(846 + 114, 663 + 57);  // the only class tile
    SleepMs(1200);
    b.klasse = Ruhig(p);
    p.Save(b.katalog, "opengl-" + name + "-katalog");
    p.Save(b.klasse, "opengl-" + name + "-klasse");
    return b;
}

// Pixels that differ between two shots of one size.
long Unterschiede(const Screenshot& a, const Screenshot& b) {
    if (a.rgb.size() != b.rgb.size()) return -1;
    long n = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) n += a.rgb[i] != b.rgb[i];
    return n;
}

// The program's message box: a window with its title smaller than the screen.
unsigned long Meldungsfenster(ProgramUnderTest& p) {
    for (int n = 0; n < 200 && p.Running(); ++n) {
        std::string baum;
        RunCommand({"xwininfo", "-root", "-tree"}, &baum);
        for (size_t at = baum.find("\"Rido Kladdorix\""); at != std::string::npos;
             at = baum.find("\"Rido Kladdorix\"", at + 1)) {
            const size_t zeile = baum.rfind('\n', at) + 1;
            const size_t ende = baum.find('\n', at);
            int w = 0, h = 0;
            const size_t groesse = baum.find_last_of(')', ende) + 1;
            if (std::sscanf(baum.c_str() + groesse, " %dx%d", &w, &h) == 2 && w < 1920 && h < 1080)
                return std::strtoul(baum.c_str() + zeile, nullptr, 16);
        }
        SleepMs(50);
    }
    return 0;
}
}  // namespace

TEST(OpenGl, UnderOpenGl21TheCatalogueAndAClassScreenShowTheSamePixels) {
    VirtualDisplay display(1920, 1080);
    ASSERT_TRUE(display.Ok());
    const Bilder neu = Aufnehmen(display, "neueste");
    Bilder alt;
    {
        const Umgebung nur21({{"MESA_GL_VERSION_OVERRIDE", "2.1"}, {"MESA_GLSL_VERSION_OVERRIDE", "120"}});
        alt = Aufnehmen(display, "2.1");
    }
    ASSERT_FALSE(neu.klasse.rgb.empty());
    EXPECT_EQ(neu.katalog.At(960, 1070), kHintergrund);
    EXPECT_GT(Unterschiede(neu.katalog, neu.klasse), 100000) << "the class screen did not open";
    EXPECT_EQ(Unterschiede(neu.katalog, alt.katalog), 0) << "catalogue";
    EXPECT_EQ(Unterschiede(neu.klasse, alt.klasse), 0) << "class screen";
}

TEST(OpenGl, BelowOpenGl21OrWithoutFramebufferObjectsOneGermanBoxAndNothingWritten) {
    VirtualDisplay display(1920, 1080);
    ASSERT_TRUE(display.Ok());
    struct Fall {
        const char* name;
        std::vector<std::pair<std::string, std::string>> vars;
    };
    const Fall faelle[] = {
        {"1.5", {{"MESA_GL_VERSION_OVERRIDE", "1.5"}}},
        // 2.1 is read as 2.1 (not as the driver's newest): without the extension it is refused.
        {"2.1-ohne-fbo",
         {{"MESA_GL_VERSION_OVERRIDE", "2.1"}, {"MESA_GLSL_VERSION_OVERRIDE", "120"}, {"GL_ARB_framebuffer_object", "0"}}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        ProgramUnderTest p(display);
        {
            const Umgebung umgebung(f.vars);
            ASSERT_TRUE(p.Start());
        }
        const unsigned long box = Meldungsfenster(p);
        ASSERT_NE(box, 0u) << "no message box";
        SleepMs(500);
        p.Save(p.Shoot(), "opengl-fehlt-" + std::string(f.name));
        p.Xdo({"windowfocus", "--sync", std::to_string(box)});
        p.Xdo({"key", "--window", std::to_string(box), "Return"});
        // A second box would keep it waiting.
        int status = 0;
        ASSERT_TRUE(p.WaitForExit(5000, status)) << "the program did not end after its box";
        EXPECT_NE(status, 0);
        // Only the run's lock file (empty) beside the program: no "Noten", no settings.
        std::vector<std::string> eintraege;
        for (const auto& e : fs::directory_iterator(p.Folder())) eintraege.push_back(e.path().filename().string());
        std::sort(eintraege.begin(), eintraege.end());
        const std::string programm = ProgramUnderTest::WindowsProgramSet() ? "Rido-Kladdorix.exe" : "rido-kladdorix";
        EXPECT_EQ(eintraege, (std::vector<std::string>{".Kladdorix-Sperre", programm}));
        std::error_code ec;
        EXPECT_EQ(fs::file_size(p.Folder() + "/.Kladdorix-Sperre", ec), 0u);
    }
}
