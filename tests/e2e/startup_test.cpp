// The program starts in a window the size of the desktop, titled
// "Rido Kladdorix", shows its clear colour, and ends on Escape or on the
// window's close request with status 0, writing no file.
#include <gtest/gtest.h>

#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/image_decode.hpp"

namespace {
constexpr uint32_t kClearColour = (23u << 16) | (0u << 8) | 83u;

struct Geometry { int x = -1, y = -1, w = -1, h = -1; };

Geometry WindowGeometry(ProgramUnderTest& p) {
    // "WINDOW=..\nX=0\nY=0\nWIDTH=1920\nHEIGHT=1080\n..."
    const std::string out = p.Xdo({"getwindowgeometry", "--shell", std::to_string(p.Window())});
    Geometry g;
    auto field = [&](const std::string& key) {
        const size_t at = out.find(key + "=");
        return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + key.size() + 1);
    };
    g.x = field("X"); g.y = field("Y"); g.w = field("WIDTH"); g.h = field("HEIGHT");
    return g;
}

void ExpectStartedWindow(VirtualDisplay& display, ProgramUnderTest& p, const std::string& shotName) {
    ASSERT_TRUE(p.Start());
    ASSERT_NE(p.WaitForWindow(), 0u) << "no window appeared";
    std::string title = p.Xdo({"getwindowname", std::to_string(p.Window())});
    while (!title.empty() && title.back() == '\n') title.pop_back();
    EXPECT_EQ(title, "Rido Kladdorix");
    const Geometry g = WindowGeometry(p);
    EXPECT_EQ(g.w, display.Width());
    EXPECT_EQ(g.h, display.Height());
    // The task bar shows the program's own icon: the embedded 64-pixel picture.
    int iw = 0, ih = 0;
    std::vector<uint32_t> icon;
    ASSERT_TRUE(WindowIcon(display.Name(), p.Window(), iw, ih, icon)) << "the window carries no icon";
    DecodedImage want;
    const std::string png = ReadFileBytes(RK_SOURCE_DIR "/media/icons/rido-kladdorix-64.png");
    ASSERT_TRUE(DecodeImage({reinterpret_cast<const unsigned char*>(png.data()), png.size()}, want));
    ASSERT_EQ(iw, want.width);
    ASSERT_EQ(ih, want.height);
    EXPECT_EQ(icon, want.argb);
    ASSERT_TRUE(p.WaitForPixel(display.Width() / 2, display.Height() / 2, kClearColour)) << "clear colour never shown";
    const Screenshot shot = p.Shoot();
    p.Save(shot, shotName);
    for (auto [x, y] : {std::pair{0, 0}, {display.Width() - 1, display.Height() - 1}, {display.Width() / 3, 17}}) {
        EXPECT_EQ(shot.At(x, y), kClearColour) << "at " << x << "," << y;
    }
}
}  // namespace

TEST(Startup, WindowHasTitleDesktopSizeAndClearColour_EscapeEndsWithStatusZero) {
    VirtualDisplay display(1920, 1080);
    ASSERT_TRUE(display.Ok());
    ProgramUnderTest p(display);
    ExpectStartedWindow(display, p, "startup-1920x1080");
    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(5000, status)) << "Escape did not end the program";
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(p.DataFiles().empty()) << "the program wrote files on the way out";
}

TEST(Startup, CloseRequestEndsWithStatusZeroOnAnotherDesktopSize) {
    VirtualDisplay display(1280, 800);
    ASSERT_TRUE(display.Ok());
    ProgramUnderTest p(display);
    ExpectStartedWindow(display, p, "startup-1280x800");
    p.RequestClose();
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(5000, status)) << "the close request did not end the program";
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(p.DataFiles().empty());
}
