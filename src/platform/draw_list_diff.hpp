// Where two recorded frames can differ on screen: the quads and clears of
// each that the other lacks, matched in drawing order (a shortest edit
// script), as disjoint pixel rectangles. Outside them every pixel is reached
// by the same items in the same order in both frames, so it shows the same
// (as long as no texture changed its texels in between).
#pragma once
#include <vector>

#include "platform/draw_list.hpp"

// Fills `areas` with disjoint rectangles inside the width x height window
// that hold every difference; false when the frames differ in more items
// than are worth matching (the caller draws the frame whole then).
bool ChangedAreas(const DrawList& last, const DrawList& frame, int width, int height, std::vector<ClipRect>& areas);
