// The two scroll offsets with their speeds and limits: wheel notches, drags
// and coasting after a release.
#pragma once

class Offset {
public:
    static int ScrollX, ScrollY;
    static int ScrollSpeedX, ScrollSpeedY;
    static int DragDX, DragDY;
    static int ScrollMinX, ScrollMaxX, ScrollMinY, ScrollMaxY;

    static void setLimits(int minX, int maxX, int minY, int maxY);
    static void update(int friction, int maxSpeed);
};
