// Scrolling a large class screen with the real program under Xvfb: the frames
// that move the last picture's pixels and draw only the strips that came into
// view must show exactly what drawing the whole frame shows. RK_DRAW_CHECK
// has the program draw every frame both ways and write what differed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gradebook_files.hpp"
#include "harness.hpp"

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;

// The number after "<name>: " in the check file, -1 when missing.
long long Wert(const std::string& text, const std::string& name) {
    const size_t at = text.find(name + ": ");
    return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + name.size() + 2);
}
}  // namespace

TEST(Scrollen, WheelAndDragOverA40x60ClassScreenShiftTheSamePixelsAsTheFullDraw) {
    VirtualDisplay display{1920, 1080};
    ASSERT_TRUE(display.Ok());
    setenv("HOME", "/tmp/rk-e2e-home", 1);
    ProgramUnderTest p{display};
    WriteClassFile(p.Folder(), LargeGradebook("8c", "Mathe", 40, 60));
    const std::string pruefung = p.Folder() + "/zeichenpruefung.txt";
    setenv("RK_DRAW_CHECK", pruefung.c_str(), 1);
    const bool gestartet = p.Start();
    unsetenv("RK_DRAW_CHECK");
    ASSERT_TRUE(gestartet);
    ASSERT_NE(p.WaitForWindow(), 0u);
    ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund));
    SleepMs(700);
    p.Click(846 + 114, 663 + 57);  // the only class tile
    SleepMs(1500);

    p.MoveTo(1000, 600);
    for (int notches : {-2, -1, -3, 2, 1}) {
        p.Wheel(notches);
        SleepMs(400);
    }
    // Dragged right and down in steps, then up and left; released mid-move so it coasts.
    p.Xdo({"mousemove", "700", "500"});
    p.Xdo({"mousedown", "1"});
    for (int i = 1; i <= 12; ++i) {
        p.Xdo({"mousemove", std::to_string(700 + 37 * i), std::to_string(500 + 23 * i)});
        SleepMs(40);
    }
    for (int i = 11; i >= 0; --i) {
        p.Xdo({"mousemove", std::to_string(700 + 29 * i), std::to_string(500 + 11 * i)});
        SleepMs(40);
    }
    p.Xdo({"mouseup", "1"});
    SleepMs(3000);  // the coast ends; checked frames are slow
    p.Save(p.Shoot(), "gescrollt-geprueft");

    const std::string ergebnis = ReadFileBytes(pruefung);
    std::printf("%s", ergebnis.c_str());
    EXPECT_GT(Wert(ergebnis, "scroll frames"), 10) << ergebnis;
    EXPECT_EQ(Wert(ergebnis, "different pixels"), 0) << ergebnis;
    p.Key("Escape");
    int status = -1;
    EXPECT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
}

// Shift with the wheel, and a tilting wheel (X buttons 6 and 7), move the
// grid sideways and never up or down: the name column stays as it was. The
// class opens at its newest columns, so the first step goes back to older ones.
TEST(Scrollen, ShiftWheelAndATiltingWheelScrollTheGridSideways) {
    VirtualDisplay display{1920, 1080};
    ASSERT_TRUE(display.Ok());
    setenv("HOME", "/tmp/rk-e2e-home", 1);
    ProgramUnderTest p{display};
    WriteClassFile(p.Folder(), LargeGradebook("8c", "Mathe", 40, 60));
    ASSERT_TRUE(p.Start());
    ASSERT_NE(p.WaitForWindow(), 0u);
    ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund));
    SleepMs(700);
    p.Click(846 + 114, 663 + 57);  // the only class tile
    SleepMs(1500);
    p.MoveTo(1000, 600);
    SleepMs(300);

    // Names at the left, grades to the right of them.
    auto Gleich = [](const Screenshot& a, const Screenshot& b, int x0, int x1) {
        for (int y = 0; y < 1080; y += 3)
            for (int x = x0; x < x1; x += 3)
                if (a.At(x, y) != b.At(x, y)) return false;
        return true;
    };
    Screenshot vorher = p.Shoot();
    struct Schritt {
        const char* wie;
        std::vector<std::string> xdo;
    };
    const Schritt schritte[] = {
        {"Shift und Rad", {"keydown", "shift", "click", "--repeat", "3", "--delay", "40", "4", "keyup", "shift"}},
        {"Kipprad rechts", {"click", "--repeat", "2", "--delay", "40", "7"}},
        {"Kipprad links", {"click", "--repeat", "2", "--delay", "40", "6"}},
    };
    for (const Schritt& s : schritte) {
        SCOPED_TRACE(s.wie);
        p.Xdo(s.xdo);
        SleepMs(1500);  // the coast ends
        const Screenshot nachher = p.Shoot();
        p.Save(nachher, std::string("seitlich-") + s.wie);
        EXPECT_FALSE(Gleich(vorher, nachher, 170, 1900)) << "the grades did not move";
        EXPECT_TRUE(Gleich(vorher, nachher, 0, 150)) << "the names moved up or down";
        vorher = nachher;
    }
    p.Key("Escape");
    int status = -1;
    EXPECT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
}
