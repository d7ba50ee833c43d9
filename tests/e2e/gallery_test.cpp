// The gallery's pictures, rendered with the real OpenGL backend under Xvfb:
// every shared menu, a box with two buttons and the keyboard, checked at
// pixels: panel and tile colours, bevel edges, text and images drawn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "harness.hpp"
#include "platform/image_decode.hpp"

namespace {
struct Picture {
    DecodedImage img;
    uint32_t At(int x, int y) const { return img.argb[size_t(y) * img.width + x] & 0xFFFFFF; }
};

uint32_t Rgb(int r, int g, int b) { return (uint32_t(std::min(r, 255)) << 16) | (uint32_t(std::min(g, 255)) << 8) | uint32_t(std::min(b, 255)); }

bool Near(uint32_t c, uint32_t want, int tol) {
    for (int s = 0; s < 24; s += 8)
        if (std::abs(int((c >> s) & 0xFF) - int((want >> s) & 0xFF)) > tol) return false;
    return true;
}

class Gallery : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        out_ = std::string(RK_E2E_OUTPUT) + "/gallery";
        std::filesystem::create_directories(out_);
        VirtualDisplay display(1920, 1080);
        ASSERT_TRUE(display.Ok());
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        status_ = RunCommand({RK_GALLERY_PATH, out_});
        std::ifstream index(out_ + "/gallery.txt");
        std::string line;
        while (std::getline(index, line)) {
            std::istringstream in(line);
            std::string name;
            in >> name;
            std::vector<int> v;
            int n;
            while (in >> n) v.push_back(n);
            rows_[name] = v;
        }
    }
    Picture Load(const std::string& name) {
        Picture p;
        std::ifstream f(out_ + "/" + name + ".png", std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(DecodeImage(bytes, p.img)) << name;
        return p;
    }
    // Pixels of a rectangle that differ clearly from a colour.
    static int Differing(const Picture& p, int x, int y, int w, int h, uint32_t from) {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) n += !Near(p.At(i, j), from, 24);
        return n;
    }
    static inline std::string out_;
    static inline int status_ = -1;
    static inline std::map<std::string, std::vector<int>> rows_;
};
}  // namespace

TEST_F(Gallery, EverySharedMenuShowsPanelBevelledTilesTextAndImages) {
    ASSERT_EQ(status_, 0);
    struct Menu { const char* name; bool images; };
    for (const Menu& m : {Menu{"notenmenue-0", false}, {"notenmenue-1", false}, {"hauptmenue", true},
                          {"klassenmenue", true}, {"spaltentypmenue", true}, {"typwechselmenue", true},
                          {"schuelermenue", true}, {"spaltenmenue", true}}) {
        SCOPED_TRACE(m.name);
        ASSERT_EQ(rows_.count(m.name), 1u);
        const std::vector<int>& r = rows_[m.name];
        ASSERT_EQ(r.size(), 17u);
        const int px = r[0], py = r[1], tx = r[7], ty = r[8], tw = r[9], th = r[10];
        const uint32_t panel = Rgb(r[4], r[5], r[6]), face = Rgb(r[11], r[12], r[13]);
        const uint32_t text = Rgb(r[14], r[15], r[16]);
        const Picture p = Load(m.name);
        ASSERT_EQ(p.img.width, 1920);
        EXPECT_EQ(p.At(px + 1, py + 1), panel);
        EXPECT_EQ(p.At(tx + 2, ty + th - 3), face);
        EXPECT_EQ(p.At(tx, ty + th / 2), Rgb(r[11] * 3 / 2, r[12] * 3 / 2, r[13] * 3 / 2));  // light left edge
        EXPECT_EQ(p.At(tx + tw - 1, ty + th / 2), Rgb(r[11] / 2, r[12] / 2, r[13] / 2));   // dark right edge
        int textPixels = 0;
        for (int j = ty; j < ty + th; ++j)
            for (int i = tx; i < tx + tw; ++i) textPixels += Near(p.At(i, j), text, 40);
        EXPECT_GT(textPixels, 15) << "no text drawn on the first tile";
        if (m.images) {
            // Lines other than text, in the tile's image line, differ from face and text.
            int imagePixels = 0;
            for (int j = ty + 2; j < ty + th - 2; ++j)
                for (int i = tx + 2; i < tx + tw - 2; ++i)
                    imagePixels += !Near(p.At(i, j), face, 24) && !Near(p.At(i, j), text, 60);
            EXPECT_GT(imagePixels, 20) << "no image drawn on the first tile";
        }
    }
}

TEST_F(Gallery, InformationBoxHasItsFrameLineTitleAndTwoButtons) {
    ASSERT_EQ(status_, 0);
    const std::vector<int>& r = rows_["infobox"];
    ASSERT_EQ(r.size(), 17u);
    const Picture p = Load("infobox");
    const int x = r[0], y = r[1], w = r[2], h = r[3];
    EXPECT_EQ(p.At(x + 1, y + h / 2), Rgb(36, 36, 36));
    EXPECT_EQ(p.At(x + 2, y + h / 2), Rgb(255, 255, 0));  // the frame line two pixels in
    EXPECT_EQ(p.At(x + 3, y + h / 2), Rgb(36, 36, 36));
    EXPECT_GT(Differing(p, x + 10, y + 10, w - 20, 50, Rgb(36, 36, 36)), 100) << "no title";
    const int bx = r[7], by = r[8], bw = r[9], bh = r[10];
    EXPECT_EQ(p.At(bx + 2, by + bh - 3), Rgb(56, 56, 56));
    EXPECT_GT(Differing(p, bx + 2, by + 2, bw - 4, bh - 4, Rgb(56, 56, 56)), 50) << "no button text";
    // The second button stands right of the first.
    EXPECT_EQ(p.At(bx + bw + 20 + bw / 2, by + bh - 3), Rgb(56, 56, 56));
}

TEST_F(Gallery, KeyboardShowsSelectionShiftAndCaret) {
    ASSERT_EQ(status_, 0);
    const std::vector<int>& k = rows_["tastatur"];
    const std::vector<int>& a = rows_["taste-a"];
    const std::vector<int>& c = rows_["caret"];
    ASSERT_EQ(k.size(), 8u);
    ASSERT_EQ(a.size(), 4u);
    ASSERT_EQ(c.size(), 4u);
    const Picture sel = Load("tastatur-auswahl"), shift = Load("tastatur-shift");
    EXPECT_EQ(sel.At(k[0] + 2, k[1] + k[3] - 3), Rgb(0, 0, 0));           // keyboard background
    EXPECT_EQ(sel.At(a[0] + 2, a[1] + a[3] - 3), Rgb(48, 47, 55));        // a character key
    EXPECT_EQ(sel.At(k[4] + 2, k[5] + 2), Rgb(255, 255, 255));            // the text field
    int underlay = 0;
    for (int i = k[4]; i < k[4] + k[6]; ++i) underlay += sel.At(i, k[5] + k[7] / 2) == Rgb(255, 160, 160);
    EXPECT_GT(underlay, 100) << "the prompt is not shown selected";
    // Shift swaps the key's lines: the lower half of the "a" key changes.
    EXPECT_GT(Differing(shift, a[0] + 2, a[1] + a[3] / 2, a[2] - 4, a[3] / 2 - 2, Rgb(48, 47, 55)), 20);
    int changed = 0;
    for (int j = a[1]; j < a[1] + a[3]; ++j)
        for (int i = a[0]; i < a[0] + a[2]; ++i) changed += sel.At(i, j) != shift.At(i, j);
    EXPECT_GT(changed, 30) << "shift did not change the key's picture";
    bool caret = false;
    for (int n = 0; n < 3; ++n) {
        const Picture p = Load("tastatur-caret-" + std::to_string(n));
        caret |= p.At(c[0] + 1, c[1] + c[2] / 2) == Rgb(255, 0, 0);
    }
    EXPECT_TRUE(caret) << "no caret in any of three pictures 220 ms apart";
}
