// The drawing language of the art sources: each "picture NAME [W H]" is
// painted by the lines that follow it, in order (textures, shaded ovals and
// polygons, boxes, lines, dots, outlined layers). See content/art/README.txt.
#pragma once
#include "tools/art/art_source.h"

#include <map>
#include <string>
#include <vector>

using picture_set = std::map<std::string, image>;

// Paints every picture of the lines into out (default size w x h);
// "from NAME" may start a picture from one painted earlier, in out or here.
std::string draw_pictures(const std::vector<src_line>& lines, const palette& pal, int w, int h,
                          picture_set& out);

// Deterministic texture noise: the same (x, y, seed) always gives the same value.
unsigned art_hash(int x, int y, int seed);
// Ordered dither threshold 0..15 of a pixel, for shade bands.
int bayer4(int x, int y);
