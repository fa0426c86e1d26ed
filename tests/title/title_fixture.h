// A clean game on the title screen, with sounds that leave a line in the
// headless log and a back buffer a test can read.
#pragma once
#include "platform/surface.h"

#include <string>

struct pixel_rgb {
  int r, g, b;
  bool operator==(const pixel_rgb&) const = default;
};

void fresh_title();
// Lines of the headless log equal to line ("sound: menusound", ...), and
// forgetting them.
int logged(const std::string& line);
void clear_log();
pixel_rgb pixel(int x, int y);
int count_color(int x, int y, int w, int h, pixel_rgb c);
// Writes the back buffer to the folder ZK_PICTURES names, when it is set.
void save_picture(const char* name);
