// The content tools that make the default game's pictures, sounds and music
// from the readable sources in content/ (see content/art/README.txt).
#pragma once
#include "tools/art/art_draw.h"

#include <string>

struct art_paths {
  std::string content;   // the content folder (tiles.txt, sprites.txt, art/)
  std::string resources; // the six bitmaps and thirteen sounds built into the game
  std::string game;      // the game folder: pictures, tile classes, backdrops, music
};

// Each returns an empty string on success, else the first fault with its
// source file and line.
std::string make_tile_sheets(const art_paths& p, const palette& pal);
std::string make_characters(const art_paths& p, const palette& pal);
std::string make_window_pictures(const art_paths& p, const palette& pal);
std::string make_monsters(const art_paths& p, const palette& pal);
std::string make_hit_effects(const art_paths& p, const palette& pal);
std::string make_sounds(const art_paths& p);
std::string make_music(const art_paths& p);

// Reads and paints one source of the drawing language.
std::string draw_file(const std::string& path, const palette& pal, int w, int h, picture_set& out);
std::string write_file(const std::string& path, const void* data, std::size_t size);
