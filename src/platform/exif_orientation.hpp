// The orientation tag that cameras and phones write into a JPEG's Exif block,
// and turning decoded pixels so that the picture stands as it was taken.
#pragma once
#include <span>

#include "platform/image_decode.hpp"

// The orientation (1..8) of an APP1 payload ("Exif\0\0" and a TIFF block);
// 1 (as stored) when there is no tag or the block is damaged.
int ExifOrientation(std::span<const unsigned char> app1);

// Turns and mirrors the pixels from the stored layout of the given
// orientation to the upright picture (5..8 swap width and height).
void ApplyExifOrientation(DecodedImage& image, int orientation);
