#include "tests/platform/x11_grab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

static Window find_in(Display* d, Window w, const std::string& title) {
  char* name = nullptr;
  if (XFetchName(d, w, &name) && name) {
    bool match = title == name;
    XFree(name);
    if (match) return w;
  }
  Window root, parent, *kids = nullptr;
  unsigned n = 0;
  if (!XQueryTree(d, w, &root, &parent, &kids, &n)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < n && !found; i++) found = find_in(d, kids[i], title);
  if (kids) XFree(kids);
  return found;
}

unsigned long x11_find_window(void* display, const std::string& title) {
  Display* d = static_cast<Display*>(display);
  return find_in(d, DefaultRootWindow(d), title);
}

// A failed request is a failed grab, not the end of the test program.
static int ignore_error(Display*, XErrorEvent*) {
  return 0;
}

bool x11_grab(void* display, unsigned long window, surface& out) {
  Display* d = static_cast<Display*>(display);
  XSetErrorHandler(ignore_error);
  XSync(d, False);
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, window, &a) || a.map_state != IsViewable) return false;
  // read from the screen where the window is, so that a window being resized reads too
  Window root = DefaultRootWindow(d), child;
  int rx = 0, ry = 0;
  XTranslateCoordinates(d, window, root, 0, 0, &rx, &ry, &child);
  if (rx < 0 || ry < 0 || rx + a.width > DisplayWidth(d, DefaultScreen(d)) ||
      ry + a.height > DisplayHeight(d, DefaultScreen(d)))
    return false;
  XImage* img = XGetImage(d, root, rx, ry, a.width, a.height, AllPlanes, ZPixmap);
  if (!img) return false;
  surface_create(out, a.width, a.height);
  for (int y = 0; y < a.height; y++)
    for (int x = 0; x < a.width; x++) {
      unsigned long p = XGetPixel(img, x, y);
      std::uint8_t* q = surface_pixel(out, x, y);
      q[0] = p & 255, q[1] = (p >> 8) & 255, q[2] = (p >> 16) & 255;
    }
  XDestroyImage(img);
  return true;
}

void x11_resize(void* display, unsigned long window, int w, int h) {
  Display* d = static_cast<Display*>(display);
  // at the corner of the screen, so that the whole window stays readable
  XMoveResizeWindow(d, window, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
  XSync(d, False);
}
