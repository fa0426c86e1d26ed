// The real game in a real window: started under a virtual display, its
// window is read back from the screen. Skips without a display or before the
// game and its default data have been built.
#include "platform/surface.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// after gtest: Xlib defines macros (None, Bool) that gtest uses as names
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int BAR = 20; // the menu bar above the picture

struct game_process {
  pid_t pid = -1;
  ~game_process() {
    if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  }
};

void pause_ms(int ms) {
  usleep(static_cast<useconds_t>(ms) * 1000);
}

Window find_window(Display* d, Window w, const std::string& title) {
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
  for (unsigned i = 0; i < n && !found; i++) found = find_window(d, kids[i], title);
  if (kids) XFree(kids);
  return found;
}

// The game's main window: the "Zandrek" window with a picture area below its bar.
Window wait_for_window(Display* d) {
  for (int i = 0; i < 100; i++) {
    Window w = find_window(d, DefaultRootWindow(d), "Zandrek");
    XWindowAttributes a;
    if (w && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && a.height > 256)
      return w;
    pause_ms(100);
  }
  return 0;
}

// A failed request is a failed grab, not the end of the test program.
int ignore_error(Display*, XErrorEvent*) {
  return 0;
}

// The window's contents as a surface; false when unreadable.
bool grab(Display* d, Window window, surface& out) {
  XSetErrorHandler(ignore_error);
  XSync(d, False);
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, window, &a) || a.map_state != IsViewable) return false;
  XImage* img = XGetImage(d, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
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

bool same(const std::uint8_t* a, const std::uint8_t* b) {
  return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

} // namespace

// At 2 x 2, in the corner of the screen: the menu bar with its titles over
// the picture, every back-buffer pixel a 2 x 2 block of one colour; closing
// the window ends the game normally.
TEST(RealWindow, ShowsTheMenuBarAndTheStretchedPicture) {
  const char* display = std::getenv("DISPLAY");
  const char* game_dir = std::getenv("ZK_GAME_DIR");
  if (!display || !*display) GTEST_SKIP() << "no display";
  if (!std::filesystem::exists(ZK_GAME_PROGRAM)) GTEST_SKIP() << "zandrek is not built yet";
  if (!game_dir || !std::filesystem::exists(std::string(game_dir) + "/rpg.ini"))
    GTEST_SKIP() << "the default game is not built yet";
  Display* d = XOpenDisplay(nullptr);
  if (!d) GTEST_SKIP() << "cannot open the display";

  game_process game;
  game.pid = fork();
  ASSERT_GE(game.pid, 0);
  if (game.pid == 0) {
    if (chdir(game_dir) != 0) _exit(127);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(ZK_GAME_PROGRAM, "zandrek", static_cast<char*>(nullptr));
    _exit(127);
  }
  Window w = wait_for_window(d);
  ASSERT_NE(w, 0u) << "no game window appeared";
  pause_ms(600); // a few frames, and the size the game sets itself at the start
  XMoveResizeWindow(d, w, 0, 0, 512, 512 + BAR);
  XSync(d, False);
  pause_ms(600);
  surface big;
  ASSERT_TRUE(grab(d, w, big));
  ASSERT_EQ(big.w, 512);
  ASSERT_EQ(big.h, 512 + BAR);
  int bar_light = 0, bar_dark = 0, lit = 0, blocks_broken = 0;
  for (int y = 0; y < BAR; y++)
    for (int x = 0; x < 512; x++) {
      int v = surface_pixel(big, x, y)[1];
      bar_light += v >= 0xE0, bar_dark += v < 0x40;
    }
  EXPECT_GT(bar_light, 512 * BAR / 2) << "the menu bar is not drawn above the picture";
  EXPECT_GT(bar_dark, 40) << "the menu bar has no titles";
  for (int y = 0; y < 256; y++)
    for (int x = 0; x < 256; x++) {
      const std::uint8_t* c = surface_pixel(big, 2 * x, BAR + 2 * y);
      lit += (c[0] | c[1] | c[2]) != 0;
      blocks_broken += !same(c, surface_pixel(big, 2 * x + 1, BAR + 2 * y)) ||
                       !same(c, surface_pixel(big, 2 * x, BAR + 2 * y + 1)) ||
                       !same(c, surface_pixel(big, 2 * x + 1, BAR + 2 * y + 1));
    }
  EXPECT_GT(lit, 0) << "the picture area shows nothing";
  EXPECT_EQ(blocks_broken, 0) << "the picture is not a nearest-neighbour stretch";

  kill(game.pid, SIGTERM);
  int status = -1;
  for (int i = 0; i < 50 && waitpid(game.pid, &status, WNOHANG) == 0; i++) pause_ms(100);
  if (WIFEXITED(status)) {
    game.pid = -1;
    EXPECT_EQ(WEXITSTATUS(status), 0);
  } else {
    ADD_FAILURE() << "the game did not end when its window was closed";
  }
  XCloseDisplay(d);
}
