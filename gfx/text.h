// Text on the back buffer: the two fonts, the block that wraps every run of
// text (font, colours, background mode), lines, shadowed text, and the two
// small pictures every window uses: the window frame and the menu cursor.
// Text is Shift-JIS throughout.
#pragma once
#include "platform/surface.h"

// A font as the game describes it (the fields of a Windows LOGFONT).
struct font_desc {
  int height = 12; // negative: character height in pixels
  int width = 0, escapement = 0, orientation = 0;
  int weight = 400;
  int italic = 0, underline = 0, strike_out = 0;
  int char_set = 128;
  int out_precision = 3, clip_precision = 2, quality = 1;
  int pitch_and_family = 0x31;
  const char* face_name = "ＭＳ　ゴシック";
};

enum text_bk_mode : int { TEXT_TRANSPARENT = 1, TEXT_OPAQUE = 2 };

constexpr int TEXT_LINE_SIZE = 512;
constexpr colorref TEXT_SHADOW = 0x010101;

struct text_data {
  // Fixed pitch, 6 pixels a single-byte character, 12 a double-byte one, 12 high.
  font_desc menu_font{};
  // Bold serif for the big Latin texts; the caller sets height to -44, -36, -22 or -18.
  font_desc title_font{-44, 0, 0, 0, 700, 0, 0, 0, 0, 3, 2, 1, 0x12, "Century"};
  char text_line[TEXT_LINE_SIZE] = {}; // each line is formatted here before it is drawn
  // the block being drawn
  bool in_block = false;
  font_desc text_font{};
  colorref text_color = 0xFFFFFF;
  colorref bk_color = 0;
  int bk_mode = TEXT_TRANSPARENT;
  // Times the window layer's rule was broken (see begin_window_layer); the
  // soak and the tests hold it at 0.
  int layer_bypasses = 0;
};

extern text_data text_drawing;
void reset_text_state();

// Starts a block of text on the back buffer: the font, white text, black
// background, and the background mode (opaque fills each character cell).
void begin_text(const font_desc& font, int bk_mode);
void end_text();
void set_text_color(colorref c);
void set_bk_color(colorref c);
// Draws len bytes of s with its top-left corner at (x, y); returns the width
// in pixels. The one-argument form takes strlen.
int text_out(int x, int y, const char* s, int len);
int text_out(int x, int y, const char* s);
// Formats into text_drawing.text_line (printf style), then draws it.
int text_printf(int x, int y, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
// Width in pixels of len bytes of s in the block's font (menu_font outside a block).
int text_width(const char* s, int len);
// Transparent text with a near-black shadow one pixel down and right.
void shadow_text(int x, int y, const char* s, colorref fg);

// The window frame of 8 x 8 pieces of waku1_surface, drawn filled.
void draw_frame(int x, int y, int w, int h);
// The 6 x 12 menu cursor at (x, y).
constexpr int CURSOR_W = 6, CURSOR_H = 12;
void draw_cursor(int x, int y);
// A copy of a picture onto the back buffer, plain or keyed.
void draw_picture(int x, int y, const surface& src, int sx, int sy, int w, int h, bool keyed);
// A keyed picture over its backdrop onto the back buffer (copy_keyed_over).
void draw_over_backdrop(int x, int y, const surface& under, int ux, int uy, const surface& src,
                        int sx, int sy, int w, int h);

// Windows drawn over one another. Between begin_window_layer and
// end_window_layer the frames, texts, cursors and pictures above are kept in
// order instead of drawn, and drawn at the end, leaving out what a frame
// drawn after them covers: a frame's pieces are opaque, so nothing of it
// would show. While the layer keeps anything, nothing else may draw on the
// back buffer nor change the pictures kept drawings copy from.
void begin_window_layer();
void end_window_layer();
bool window_layer_open();
