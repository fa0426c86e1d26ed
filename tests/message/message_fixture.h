// A clean game for the message window, with the back buffer and frame
// pieces in colours a test can tell apart, and frames run as the renderer
// runs them.
#pragma once
#include "message/message.h"
#include "platform/surface.h"

#include <string>

struct pixel_rgb {
  int r, g, b;
  bool operator==(const pixel_rgb&) const = default;
};

// Every subsystem the window reads from, back to its start; the back buffer
// black, frame piece k of red k + 1.
void fresh_window();
// Sets member m's name field: the text, then blanks.
void set_member_name(int m, const char* name);
// One drawn frame: the renderer's counters advance, then the window step.
void frame();
void frames(int n);
// A key while the window waits for one, as the key dispatcher handles it.
void page_key();
pixel_rgb pixel(int x, int y);
// Pixels of one colour in the rectangle.
int count_color(int x, int y, int w, int h, pixel_rgb c);
std::string line(int k);
// Writes the back buffer to a PNG in the folder ZK_PICTURES names, when it
// is set, for a person to look at.
void save_picture(const char* name);
