// Reading Windows BMP pictures into 24-bit blue-green-red surfaces: every form
// a paint program writes (1, 4, 8, 16, 24 and 32 bits a pixel, with or without
// a colour table, RLE8 and RLE4, bit-field masks, either row order).
#pragma once
#include "platform/surface.h"

#include <cstddef>
#include <cstdint>

// Why a picture was refused.
enum bmp_result : int {
  BMP_OK = 0,
  BMP_SHORT = 1,      // the file ends before its header or its uncompressed pixels do
  BMP_NOT_BMP = 2,    // no "BM" signature
  BMP_BAD_HEADER = 3, // an info header or a compression we do not know
  BMP_BAD_DEPTH = 4,  // not 1, 4, 8, 16, 24 or 32 bits a pixel
  BMP_BAD_SIZE = 5,   // zero, negative or absurd width or height
  BMP_BAD_DATA = 6,   // a damaged colour table or pixels (cut short, or colours not in the table)
};

// Largest side we accept; the game's pictures are at most 320 pixels.
constexpr int BMP_MAX_SIDE = 8192;

// Decodes a BMP of size bytes into out (replaced only on success). BMP_OK or
// the reason. The header is checked before anything is allocated.
int bmp_decode(const std::uint8_t* data, std::size_t size, surface& out);
const char* bmp_result_text(int r);
