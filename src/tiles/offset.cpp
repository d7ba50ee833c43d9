// Scrolling: a wheel notch jumps 8 x friction and coasts (sideways with Shift
// or a tilting wheel); a drag moves with the finger's displacement from the
// touch-down point; friction slows the coast.
#include "tiles/offset.hpp"

#include <algorithm>
#include <cstdlib>

#include "tiles/user.hpp"

int Offset::ScrollX = 0, Offset::ScrollY = 0;
int Offset::ScrollSpeedX = 0, Offset::ScrollSpeedY = 0;
int Offset::DragDX = 0, Offset::DragDY = 0;
int Offset::ScrollMinX = 0, Offset::ScrollMaxX = 0, Offset::ScrollMinY = 0, Offset::ScrollMaxY = 0;

namespace {
// With a minimum above the maximum the minimum wins.
void Clamp(int& offset, int& speed, int lo, int hi) {
    if (offset < lo) {
        offset = lo;
        speed = 0;
    } else if (offset > hi) {
        offset = hi;
        speed = 0;
    }
}

int Sign(int v) { return (v > 0) - (v < 0); }

int DragSpeed(int displacement, int speed, int f, int maxSpeed) {
    const int cube = f * f * f;
    return Sign(displacement) * std::min(maxSpeed, std::max(std::abs(speed), std::abs(displacement) / cube));
}

int Coast(int speed, int f) {
    if (speed < 0) return std::min(0, speed + f);
    if (speed > 0) return std::max(0, speed - f);
    return 0;
}
}  // namespace

void Offset::setLimits(int minX, int maxX, int minY, int maxY) {
    ScrollMinX = minX;
    ScrollMaxX = maxX;
    ScrollMinY = minY;
    ScrollMaxY = maxY;
    Clamp(ScrollX, ScrollSpeedX, ScrollMinX, ScrollMaxX);
    Clamp(ScrollY, ScrollSpeedY, ScrollMinY, ScrollMaxY);
}

void Offset::update(int f, int maxSpeed) {
    if (WheelMove != 0 || WheelMoveX != 0) {
        if (WheelMove != 0) {
            ScrollSpeedY = WheelMove * std::min(maxSpeed, 8 * f);
            ScrollY += ScrollSpeedY;
            Clamp(ScrollY, ScrollSpeedY, ScrollMinY, ScrollMaxY);
        }
        // Sideways the same: Shift with the wheel, or a tilting wheel.
        if (WheelMoveX != 0) {
            ScrollSpeedX = WheelMoveX * std::min(maxSpeed, 8 * f);
            ScrollX += ScrollSpeedX;
            Clamp(ScrollX, ScrollSpeedX, ScrollMinX, ScrollMaxX);
        }
        return;
    }
    const float dx = PointerPosX - AnchorX;
    const float dy = PointerPosY - AnchorY;
    if (TouchState == 2 && (std::abs(dx - DragDX) > 1 || std::abs(dy - DragDY) > 1)) {
        DragDX = static_cast<int>(dx);  // toward zero
        DragDY = static_cast<int>(dy);
        ScrollSpeedX = DragSpeed(DragDX, ScrollSpeedX, f, maxSpeed);
        ScrollX += ScrollSpeedX;
        Clamp(ScrollX, ScrollSpeedX, ScrollMinX, ScrollMaxX);
        ScrollSpeedY = DragSpeed(DragDY, ScrollSpeedY, f, maxSpeed);
        ScrollY += ScrollSpeedY;
        Clamp(ScrollY, ScrollSpeedY, ScrollMinY, ScrollMaxY);
        return;
    }
    AnchorX = PointerPosX;
    AnchorY = PointerPosY;
    ScrollSpeedX = Coast(ScrollSpeedX, f);
    ScrollSpeedY = Coast(ScrollSpeedY, f);
    ScrollX += ScrollSpeedX;
    ScrollY += ScrollSpeedY;
    Clamp(ScrollX, ScrollSpeedX, ScrollMinX, ScrollMaxX);
    Clamp(ScrollY, ScrollSpeedY, ScrollMinY, ScrollMaxY);
}
