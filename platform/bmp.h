// Reading Windows BMP pictures (24-bit and 1-bit, either row order) into
// 24-bit blue-green-red surfaces.
#pragma once
#include "platform/surface.h"

#include <cstddef>
#include <cstdint>

// Why a picture was refused.
enum bmp_result : int {
  BMP_OK = 0,
  BMP_SHORT = 1,      // the file ends before its header, colour table or pixels do
  BMP_NOT_BMP = 2,    // no "BM" signature
  BMP_BAD_HEADER = 3, // an info header we do not know, or a compressed picture
  BMP_BAD_DEPTH = 4,  // not 1 or 24 bits a pixel
  BMP_BAD_SIZE = 5,   // zero, negative or absurd width or height
};

// Largest side we accept; the game's pictures are at most 320 pixels.
constexpr int BMP_MAX_SIDE = 8192;

// Decodes a BMP of size bytes into out (replaced). BMP_OK or the reason.
int bmp_decode(const std::uint8_t* data, std::size_t size, surface& out);
const char* bmp_result_text(int r);
