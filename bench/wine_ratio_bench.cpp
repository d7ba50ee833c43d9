// The Windows program under wine beside the Linux program, in the same run
// and the same virtual screen: the time from the start to the first frame of
// the catalogue, and from the tap on a 40 x 60 gradebook's tile to its class
// screen. Prints both figures and their ratio (wine / Linux); both are read
// from screenshots every 50 ms, so a figure is exact to about 60 ms.
//
//   RK_E2E_WINDOWS_PROGRAM=.../Rido-Kladdorix.exe RK_E2E_WINE_FOLDER=... \
//     rk_wine_ratio_bench [runs]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gradebook_files.hpp"
#include "harness.hpp"

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;

double Seit(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

struct Zeiten {
    double start = -1, oeffnen = -1;
};

Zeiten Messen(VirtualDisplay& display, bool linux) {
    Zeiten z;
    ProgramUnderTest p(display);
    p.Linux = linux;
    WriteClassFile(p.Folder(), LargeGradebook("8c", "Mathematik", 40, 60));
    auto t0 = std::chrono::steady_clock::now();
    if (!p.Start() || !p.WaitForPixel(960, 1070, kHintergrund, 120000)) return z;
    z.start = Seit(t0);
    SleepMs(1500);  // the tiles' fly-in
    t0 = std::chrono::steady_clock::now();
    p.Click(846 + 114, 663 + 57);
    if (p.WaitForPixel(10, 8 + 111, kKachel, 60000)) z.oeffnen = Seit(t0);
    p.Key("Escape");
    int status = 0;
    p.WaitForExit(30000, status);
    return z;
}
}  // namespace

int main(int argc, char** argv) {
    if (!ProgramUnderTest::WindowsProgramSet()) {
        std::fprintf(stderr, "RK_E2E_WINDOWS_PROGRAM names no Windows program\n");
        return 1;
    }
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    VirtualDisplay display(1920, 1080);
    if (!display.Ok()) return 1;
    // A first wine start boots its folder; it is not measured.
    Messen(display, false);
    Zeiten linux{0, 0}, wine{0, 0};
    for (int i = 0; i < runs; ++i) {
        const Zeiten l = Messen(display, true), w = Messen(display, false);
        if (l.start < 0 || l.oeffnen < 0 || w.start < 0 || w.oeffnen < 0) {
            std::fprintf(stderr, "run %d: a program did not show its catalogue or class screen\n", i + 1);
            return 1;
        }
        std::printf("run %d: start to first frame linux %.0f ms, wine %.0f ms; open 40x60 linux %.0f ms, wine %.0f ms\n",
                    i + 1, l.start, w.start, l.oeffnen, w.oeffnen);
        linux.start += l.start / runs, linux.oeffnen += l.oeffnen / runs;
        wine.start += w.start / runs, wine.oeffnen += w.oeffnen / runs;
    }
    std::printf("start to first frame: linux %.0f ms, wine %.0f ms, ratio wine/linux %.2f\n", linux.start, wine.start,
                wine.start / linux.start);
    std::printf("opening a 40x60 gradebook: linux %.0f ms, wine %.0f ms, ratio wine/linux %.2f\n", linux.oeffnen,
                wine.oeffnen, wine.oeffnen / linux.oeffnen);
    return 0;
}
