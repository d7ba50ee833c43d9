// How a recorded frame reaches the kept picture: drawn whole, drawn over the
// last picture (a dialog), or, when it only scrolls named regions by whole
// pixels, the last picture shifted with only the strips that came into view
// drawn. Both backends follow the same plan, so tests see the decision.
#pragma once
#include <vector>

#include "platform/draw_list.hpp"

struct PixelCopy {
    ClipRect from;   // in the last picture, top-left origin
    int toX = 0, toY = 0;
};

struct FramePlan {
    enum Kind { Full, Overlay, Scroll };
    Kind kind = Full;
    std::vector<PixelCopy> copies;  // Scroll: moved out of the last picture into the new one
    DrawList strips;                // Scroll: what is drawn over the moved pixels
    std::vector<ClipRect> exposed;  // Scroll: the strips that came into view
    // What is drawn onto the picture: the frame itself, or the strips.
    const DrawList& ToDraw(const DrawList& frame) const { return kind == Scroll ? strips : frame; }
};

// `last` is the frame the kept picture shows (valid only when lastValid).
// A frame that clears the whole window is Full unless both it and `last`
// name the same scroll regions, those tile the window, and inside each the
// new frame draws exactly the last one's visible commands moved by the
// change of the region's offset; anything else falls back to Full.
FramePlan PlanFrame(const DrawList& last, bool lastValid, const DrawList& frame, int width, int height);
