// The game's two typefaces, read with FreeType and drawn without
// anti-aliasing onto surfaces. The menu face is the 12-dot Shinonome bitmap
// font: Shift-JIS text, 6 pixels a byte, 12 high. The title face is a bold
// serif for Latin text at any pixel height.
#pragma once
#include "platform/surface.h"

#include <string>

enum plat_face : int { FACE_MENU = 0, FACE_TITLE = 1 };

struct text_paint {
  int face = FACE_MENU;
  int px_height = 12; // the title face's character height in pixels
  colorref fg = 0xFFFFFF;
  colorref bg = 0;
  bool opaque = false; // fill each character cell with bg first
};

// Draws len bytes of Shift-JIS text with the top of its cells at y; pixels
// outside dst are clipped. Returns the advance in pixels.
int plat_draw_text(surface& dst, int x, int y, const char* s, int len, const text_paint& p);
int plat_text_width(const char* s, int len, int face, int px_height);
// The bytes the menu face reads as the character at s, of len bytes left:
// 2 for a double-byte character, otherwise 1.
int plat_char_bytes(const char* s, int len);
// Whether drawing the text writes only inside its character cells (the
// menu face's glyphs nearly all lie inside theirs).
bool plat_text_in_cells(const char* s, int len, int face);

// The font files; a missing one is reported once on standard error and its
// characters are drawn as boxes.
struct font_files {
  std::string single_byte = "/usr/share/fonts/X11/misc/shnm6x12r.pcf.gz"; // JIS X 0201
  std::string double_byte = "/usr/share/fonts/X11/misc/shnmk12.pcf.gz";   // JIS X 0208
  std::string fallback = "/usr/share/fonts/X11/misc/f12.pcf.gz";          // Unicode, CP932 extras
  std::string title = "/usr/share/fonts/opentype/urw-base35/C059-Bold.otf";
};
// Replaces the font files (tests); the faces are opened again on next use.
void plat_use_fonts(const font_files& f);
