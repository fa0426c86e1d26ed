// The real game in a real window: started under a virtual display, its
// window is read back from the screen. Skips without a display or before the
// game and its default data have been built.
#include "tests/platform/x11_grab.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

// after gtest: Xlib defines macros (None, Bool) that gtest uses as names
#include <X11/Xlib.h>

namespace {

constexpr int BAR = 20; // the menu bar above the picture

struct game_process {
  pid_t pid = -1;
  ~game_process() {
    if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  }
};

void pause_ms(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

const std::uint8_t* px(surface& s, int x, int y) {
  return surface_pixel(s, x, y);
}
bool same(const std::uint8_t* a, const std::uint8_t* b) {
  return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

// The game's main window: the "Zandrek" window with a picture area below its bar.
unsigned long wait_for_window(Display* d) {
  for (int i = 0; i < 100; i++) {
    unsigned long w = x11_find_window(d, "Zandrek");
    XWindowAttributes a;
    if (w && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && a.height > 256)
      return w;
    pause_ms(100);
  }
  return 0;
}

} // namespace

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
  unsigned long w = wait_for_window(d);
  ASSERT_NE(w, 0u) << "no game window appeared";
  pause_ms(600); // a few frames

  // At 1x1 the picture area is exactly the 256 x 256 back buffer.
  x11_resize(d, w, 256, 256 + BAR);
  pause_ms(400);
  surface small;
  ASSERT_TRUE(x11_grab(d, w, small));
  ASSERT_EQ(small.w, 256);
  ASSERT_EQ(small.h, 256 + BAR);
  int bar_light = 0, bar_dark = 0, lit = 0;
  for (int y = 0; y < BAR; y++)
    for (int x = 0; x < 256; x++) {
      int v = px(small, x, y)[1];
      bar_light += v >= 0xE0, bar_dark += v < 0x40;
    }
  EXPECT_GT(bar_light, 256 * BAR / 2) << "the menu bar is not drawn above the picture";
  EXPECT_GT(bar_dark, 40) << "the menu bar has no titles";
  for (int y = BAR; y < small.h; y++)
    for (int x = 0; x < 256; x++)
      lit += (px(small, x, y)[0] | px(small, x, y)[1] | px(small, x, y)[2]) != 0;
  EXPECT_GT(lit, 0) << "the picture area shows nothing";

  // At 2x2 every back-buffer pixel becomes a 2 x 2 block of the same colour.
  x11_resize(d, w, 512, 512 + BAR);
  pause_ms(600);
  surface big;
  ASSERT_TRUE(x11_grab(d, w, big));
  ASSERT_EQ(big.w, 512);
  ASSERT_EQ(big.h, 512 + BAR);
  int blocks_broken = 0, matches = 0;
  for (int y = 0; y < 256; y++)
    for (int x = 0; x < 256; x++) {
      const std::uint8_t* c = px(big, 2 * x, BAR + 2 * y);
      blocks_broken += !same(c, px(big, 2 * x + 1, BAR + 2 * y)) ||
                       !same(c, px(big, 2 * x, BAR + 2 * y + 1)) ||
                       !same(c, px(big, 2 * x + 1, BAR + 2 * y + 1));
      matches += same(c, px(small, x, BAR + y));
    }
  EXPECT_EQ(blocks_broken, 0) << "the picture is not a nearest-neighbour stretch";
  // the title screen pulses; almost all of it stands still between the two pictures
  EXPECT_GT(matches, 256 * 256 * 9 / 10) << "the stretched picture is not the same picture";

  // Closing the window ends the game normally.
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
