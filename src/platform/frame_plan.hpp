// How a recorded frame reaches the kept picture: drawn whole, drawn over the
// last picture (a dialog), or, when it only scrolls named regions by whole
// pixels, the last picture shifted with only the strips that came into view
// drawn; or, when it differs from the last in a few places only (a dragged
// tile, a tapped one), drawn in those places alone. Both backends follow the
// same plan, so tests see the decision.
#pragma once
#include <vector>

#include "platform/draw_list.hpp"

struct PixelCopy {
    ClipRect from;   // in the last picture, top-left origin
    int toX = 0, toY = 0;
};

struct FramePlan {
    enum Kind { Full, Overlay, Scroll, Patch };
    Kind kind = Full;
    std::vector<PixelCopy> copies;  // Scroll: moved out of the last picture into the new one
    DrawList strips;                // Scroll, Patch: what is drawn over the kept pixels
    std::vector<ClipRect> exposed;  // Scroll: the strips that came into view; Patch: the changed areas
    // What is drawn onto the picture: the frame itself, or the strips.
    const DrawList& ToDraw(const DrawList& frame) const { return kind == Scroll || kind == Patch ? strips : frame; }
};

// `last` is the frame the kept picture shows (valid only when lastValid).
// A frame that clears the whole window is Full unless both it and `last`
// name the same scroll regions, those tile the window, and inside each the
// new frame draws exactly the last one's visible commands moved by the
// change of the region's offset. A frame whose regions did not move is a
// Patch when it differs from `last` in areas covering at most half the
// window and `texturesKept` (no atlas place was given back, and perhaps
// filled anew, since `last` began to be recorded, so the same texels lie
// under the same quads). Anything else falls back to Full.
FramePlan PlanFrame(const DrawList& last, bool lastValid, const DrawList& frame, int width, int height,
                    bool texturesKept);
