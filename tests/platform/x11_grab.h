// Pictures of a top-level X11 window, for the tests of the real window.
#pragma once
#include "platform/surface.h"

#include <string>

// The window whose name is title, or 0.
unsigned long x11_find_window(void* display, const std::string& title);
// Its contents (client area of the SDL window) as a surface; false when unreadable.
bool x11_grab(void* display, unsigned long window, surface& out);
// Moves it to the top-left corner of the screen with a new size.
void x11_resize(void* display, unsigned long window, int w, int h);
