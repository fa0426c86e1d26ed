// Ground and wall textures that repeat every 16 pixels, so that tiles laid
// side by side join without seams.
#pragma once
#include "tools/art/art_image.h"

#include <string>

// false: no texture of that kind.
bool paint_texture(image& im, const std::string& kind, rgb dark, rgb mid, rgb light, int seed);
