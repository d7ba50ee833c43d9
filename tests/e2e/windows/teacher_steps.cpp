// The teacher's steps: tile positions of the program at 1920 x 1080.
#include "teacher_steps.hpp"

#include <algorithm>

namespace steps {

int HintPixels(const Screenshot& s) {
    int n = 0;
    for (int y = 240; y < 560; ++y)
        for (int x = 200; x < 1720; x += 2) n += s.At(x, y) == kHinweis;
    return n;
}

void MainMenu(ProgramUnderTest& p, int kachel) {
    p.Click(846 + 114, 123 + 57);
    SleepMs(700);
    const int x = 652 + 4 + (kachel % 3) * 204, y = 237 + 4 + (kachel / 3) * 94;
    p.Click(x + 100, y + 45);
    SleepMs(900);
}

bool OpenOnlyClass(ProgramUnderTest& p) {
    p.Click(846 + 114, 663 + 57);
    if (!p.WaitForPixel(10, 8 + 111, kKachel, 20000)) return false;
    SleepMs(900);
    return true;
}

void ClassCommand(ProgramUnderTest& p, int i) {
    p.Click(100, 60);
    SleepMs(700);
    p.Click(4 + (i % 2) * 204 + 100, 4 + (i / 2) * 94 + 45);
    SleepMs(700);
}

void GradeByMouse(ProgramUnderTest& p, int row, int column, int t) {
    const int cx = ColumnX(column) + 38, cy = RowY(row) + 38;
    p.Click(cx, cy);
    SleepMs(700);
    const int x0 = std::max(0, std::min(cx - 98, 1920 - 196));
    const int y0 = std::max(0, std::min(cy - 194, 1080 - 388));
    p.Click(x0 + 4 + (t % 3) * 64 + 30, y0 + 4 + (t / 3) * 64 + 30);
    SleepMs(600);
}

void StartSeries(ProgramUnderTest& p, int column) {
    const int x = ColumnX(column);
    p.Click(x + 38, 60);
    SleepMs(700);
    const int mx = std::min(x - 122, 1920 - 308) + 4, my = 122 + 4;
    p.Click(mx + 156 + 76, my + 2 * 105 + 50);
    SleepMs(700);
}

bool PressBoxButton(ProgramUnderTest& p, int index, const std::string& picture) {
    int x = -1, y = -1, beforeX = -2, beforeY = -2;
    for (int i = 0; i < 60; ++i) {
        SleepMs(300);
        const Screenshot s = p.Shoot();
        if (BoxButton(s, index, x, y) && x == beforeX && y == beforeY) {
            p.Save(s, picture);
            p.Click(x, y);
            SleepMs(700);
            return true;
        }
        beforeX = x;
        beforeY = y;
    }
    p.Save(p.Shoot(), picture + "-ohne-box");
    return false;
}

void TypeAndEnter(ProgramUnderTest& p, const std::string& text) {
    SleepMs(900);  // the keyboard slides in
    p.Type(text);
    p.Key("Return");
    SleepMs(600);
}

std::string WaitForWindowNamed(ProgramUnderTest& p, const std::string& pattern, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        std::string found = p.Xdo({"search", "--onlyvisible", "--name", pattern});
        if (!found.empty()) return found.substr(0, found.find('\n'));
        SleepMs(100);
    }
    return "";
}

}  // namespace steps
