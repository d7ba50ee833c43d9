// The per-format decoders behind DecodeImage; each checks its own signature
// or header and fills out only on success.
#pragma once
#include <span>
#include "platform/image_decode.hpp"

bool LooksLikePng(std::span<const unsigned char> bytes);
bool LooksLikeJpeg(std::span<const unsigned char> bytes);
bool LooksLikeBmp(std::span<const unsigned char> bytes);

bool DecodePng(std::span<const unsigned char> bytes, DecodedImage& out);
bool DecodeJpeg(std::span<const unsigned char> bytes, DecodedImage& out, int minShortSide = 0);
bool DecodeBmp(std::span<const unsigned char> bytes, DecodedImage& out);
bool DecodeTga(std::span<const unsigned char> bytes, DecodedImage& out);
