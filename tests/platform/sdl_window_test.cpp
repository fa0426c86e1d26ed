// The real window on SDL's dummy video driver: the menu bar is composed
// again only when it looks different, and what is shown is the bar as
// composed; fullscreen, game controllers (SDL's virtual joystick) and
// screenshots. Then the window under a real X display, read back from the
// X server.
#include "platform/sdl/sdl_backend.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#ifdef ZK_X11
// after gtest: Xlib defines macros (None, Bool) that gtest uses as names
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

// Under the address checker, allocations are traced through every frame:
// Mesa's driver is unloaded before the leak report, so only a full trace
// still names libGLX_mesa, which tests/fuzz/lsan.supp passes over. Other
// builds never call this.
extern "C" const char* __asan_default_options() {
  return "fast_unwind_on_malloc=0";
}

namespace {

struct SdlWindow : ::testing::Test {
  const char* driver = "dummy";
  surface back;
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", driver, 1);
    // the dummy window never has the focus that controller events want
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    ASSERT_EQ(plat_create_window("Zandrek"), 0) << SDL_GetError();
    surface_create(back, 256, 256);
    plat_msg m;
    while (plat_peek_message(&m)) {
    }
  }
  void TearDown() override {
    plat_destroy_window();
    SDL_Quit();
  }
  // The keys the game was handed for the events waiting.
  static std::vector<std::uint32_t> game_keys() {
    std::vector<std::uint32_t> keys;
    plat_msg m;
    while (plat_peek_message(&m))
      if (m.kind == MSG_KEYDOWN) keys.push_back(m.wparam);
    return keys;
  }
  std::vector<std::uint32_t> key(SDL_Scancode code, Uint16 mod = 0, Uint32 type = SDL_KEYDOWN) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym = {code, SDL_GetKeyFromScancode(code), mod, 0};
    SDL_PushEvent(&e);
    return game_keys();
  }
  static int window_pixel(int x, int y) {
    std::uint8_t p[3];
    SDL_Rect at{x, y, 1, 1};
    if (SDL_RenderReadPixels(sdl.renderer, &at, SDL_PIXELFORMAT_BGR24, p, 3) != 0) return -1;
    return p[0] << 16 | p[1] << 8 | p[2];
  }
  // The picture area of a 1 x 1 window as shown, against the back buffer.
  bool picture_shown() {
    std::vector<std::uint8_t> shown(back.px.size());
    SDL_Rect area{0, MENU_BAR_H, 256, 256};
    return SDL_RenderReadPixels(sdl.renderer, &area, SDL_PIXELFORMAT_BGR24, shown.data(),
                                256 * 3) == 0 &&
           shown == back.px;
  }
  // The bar's rows as the window shows them, against the bar composed afresh.
  bool bar_shown_as_composed() {
    int w, h;
    plat_get_client_size(&w, &h);
    std::vector<std::uint8_t> shown(static_cast<std::size_t>(w) * MENU_BAR_H * 3);
    SDL_Rect bar{0, 0, w, MENU_BAR_H};
    if (SDL_RenderReadPixels(sdl.renderer, &bar, SDL_PIXELFORMAT_BGR24, shown.data(), w * 3) != 0)
      return false;
    surface fresh;
    menu_compose(fresh, w, MENU_BAR_H);
    return std::memcmp(shown.data(), fresh.px.data(), shown.size()) == 0;
  }
};

TEST_F(SdlWindow, TheBarIsComposedAgainOnlyWhenItLooksDifferent) {
  const long n = sdl.overlay_composes;
  EXPECT_GE(n, 1) << "the first frame has a bar";
  const struct {
    SDL_Scancode key;
    int open, composes;
    const char* what;
  } steps[] = {{SDL_SCANCODE_UNKNOWN, -1, 0, "new pictures, the same bar"},
               {SDL_SCANCODE_F10, 0, 1, "the first popup opens"},
               {SDL_SCANCODE_UNKNOWN, 0, 1, "an open popup that stands still"},
               {SDL_SCANCODE_DOWN, 0, 2, "the highlight moved"},
               {SDL_SCANCODE_RIGHT, 1, 3, "the next popup"},
               {SDL_SCANCODE_ESCAPE, -1, 4, "closed"}};
  for (const auto& s : steps) {
    if (s.key) key(s.key);
    EXPECT_EQ(sdl.menu.open, s.open) << s.what;
    EXPECT_EQ(sdl.overlay_composes, n + s.composes) << s.what;
    for (int i = 0; i < 3; i++) {
      fill_rect(back, 0, 0, 256, 256, static_cast<colorref>(i * 0x102030));
      plat_present(back);
    }
    EXPECT_EQ(sdl.overlay_composes, n + s.composes) << s.what << ", then three pictures";
    EXPECT_TRUE(bar_shown_as_composed()) << s.what;
  }
  plat_set_client_size(512, 512); // the stretch itself: RealDisplay
  EXPECT_EQ(sdl.overlay_composes, n + 5);
  plat_present(back);
  EXPECT_EQ(sdl.overlay_composes, n + 5);
  EXPECT_TRUE(bar_shown_as_composed()) << "the bar spans the wider window";
}

TEST_F(SdlWindow, OnlyTheRowsThatChangedAreUploaded) {
  fill_rect(back, 0, 0, 256, 256, 0x203040);
  plat_present(back);
  long n = sdl.rows_uploaded;
  plat_present(back);
  plat_present(back);
  EXPECT_EQ(sdl.rows_uploaded, n) << "the same frame twice more";
  fill_rect(back, 10, 20, 1, 1, 0x3366FF);
  fill_rect(back, 200, 30, 1, 1, 0x0000FF);
  plat_present(back);
  EXPECT_EQ(sdl.rows_uploaded, n + 11) << "rows 20 to 30";
  EXPECT_TRUE(picture_shown());
  fill_rect(back, 0, 255, 1, 1, 0xFFFFFF);
  plat_present(back);
  EXPECT_EQ(sdl.rows_uploaded, n + 12) << "the last row alone";
  EXPECT_TRUE(picture_shown()) << "with what was uploaded before";
  key(SDL_SCANCODE_F10);
  plat_present(back);
  EXPECT_EQ(sdl.rows_uploaded, n + 12) << "the menu redraws the window without the picture";
  key(SDL_SCANCODE_ESCAPE);
  plat_destroy_window();
  ASSERT_EQ(plat_create_window("Zandrek"), 0);
  plat_present(back);
  EXPECT_EQ(sdl.rows_uploaded, n + 12 + 256) << "a new window has no picture yet";
  EXPECT_TRUE(picture_shown());
}

// Whatever the renderer's own pixel format, the window shows the picture
// dot for dot, each dot a square of the window size's scale.
TEST_F(SdlWindow, ThePictureIsShownDotForDotAtEveryWholeScale) {
  for (int y = 0; y < 256; y++)
    for (int x = 0; x < 256; x++) {
      std::uint8_t* p = surface_pixel(back, x, y);
      p[0] = static_cast<std::uint8_t>(x), p[1] = static_cast<std::uint8_t>(y);
      p[2] = static_cast<std::uint8_t>(x ^ y);
    }
  plat_present(back);
  for (auto [sx, sy] : {std::pair{1, 1}, {3, 3}, {2, 1}}) {
    plat_set_client_size(256 * sx, 256 * sy);
    SDL_Rect area{0, MENU_BAR_H, 256 * sx, 256 * sy};
    std::vector<std::uint8_t> shown(static_cast<std::size_t>(area.w) * area.h * 3);
    ASSERT_EQ(
        SDL_RenderReadPixels(sdl.renderer, &area, SDL_PIXELFORMAT_BGR24, shown.data(), area.w * 3),
        0);
    int wrong = 0;
    for (int y = 0; y < area.h; y++)
      for (int x = 0; x < area.w; x++)
        wrong += std::memcmp(&shown[(static_cast<std::size_t>(y) * area.w + x) * 3],
                             surface_pixel(back, x / sx, y / sy), 3) != 0;
    EXPECT_EQ(wrong, 0) << sx << "x" << sy;
  }
}

} // namespace

namespace {

TEST(FullscreenLayout, TheLargestWholeScaleThatFitsCentredOnTheScreen) {
  struct row {
    int screen_w, screen_h, scale, x, y;
  };
  const row rows[] = {
      {1024, 768, 3, 128, 0}, {1920, 1080, 4, 448, 28}, {1366, 768, 3, 299, 0},
      {800, 600, 2, 144, 44}, {3840, 2160, 8, 896, 56}, {600, 1000, 2, 44, 244},
      {256, 256, 1, 0, 0},    {511, 300, 1, 127, 22},
  };
  for (const row& r : rows) {
    SDL_Rect a = fullscreen_rect(r.screen_w, r.screen_h);
    EXPECT_EQ((std::vector<int>{a.x, a.y, a.w, a.h}),
              (std::vector<int>{r.x, r.y, 256 * r.scale, 256 * r.scale}))
        << r.screen_w << "x" << r.screen_h;
  }
}

TEST_F(SdlWindow, FullscreenTogglesWithoutTheGameOrTheMenuSeeingTheKeys) {
  plat_set_client_size(512, 768);
  EXPECT_TRUE(key(SDL_SCANCODE_F11).empty());
  EXPECT_TRUE(sdl_is_fullscreen());
  EXPECT_TRUE(key(SDL_SCANCODE_F11).empty());
  EXPECT_FALSE(sdl_is_fullscreen());

  // Alt held down over two Alt+Enter: in and out again, and no menu
  key(SDL_SCANCODE_LALT, KMOD_LALT);
  EXPECT_TRUE(key(SDL_SCANCODE_RETURN, KMOD_LALT).empty());
  ASSERT_TRUE(sdl_is_fullscreen());
  int sw, shell;
  SDL_GetWindowSize(sdl.window, &sw, &shell);
  SDL_Rect a = fullscreen_rect(sw, shell);
  fill_rect(back, 0, 0, 256, 256, 0x3366FF);
  plat_present(back);
  EXPECT_EQ(window_pixel(a.x, a.y), 0x3366FF);
  EXPECT_EQ(window_pixel(a.x + a.w - 1, a.y + a.h - 1), 0x3366FF);
  EXPECT_EQ(window_pixel(a.x - 1, a.y), 0) << "black beside the picture on " << sw << "x" << shell;
  EXPECT_EQ(key(SDL_SCANCODE_F10), std::vector<std::uint32_t>{}) << "no menu bar";
  EXPECT_EQ(sdl.menu.open, -1);
  EXPECT_EQ(key(SDL_SCANCODE_D), std::vector<std::uint32_t>{0x44}) << "play goes on";
  plat_set_client_size(768, 512); // a size chosen meanwhile is the one to come back to
  key(SDL_SCANCODE_LALT, KMOD_LALT);
  EXPECT_TRUE(key(SDL_SCANCODE_RETURN, KMOD_LALT).empty());
  key(SDL_SCANCODE_LALT, 0, SDL_KEYUP);
  EXPECT_FALSE(sdl_is_fullscreen());
  EXPECT_EQ(sdl.menu.open, -1) << "Alt+Enter opened the menu";
  int w, h;
  SDL_GetWindowSize(sdl.window, &w, &h);
  EXPECT_EQ(w, 768);
  EXPECT_EQ(h, 512 + MENU_BAR_H);
  plat_present(back);
  EXPECT_TRUE(bar_shown_as_composed());
  EXPECT_EQ(window_pixel(767, MENU_BAR_H + 511), 0x3366FF) << "stretched again";
}

// A controller on SDL's virtual joystick, with every button and axis a
// game controller has (SDL maps it as a standard controller).
struct virtual_pad {
  int index = -1;
  SDL_Joystick* j = nullptr;
  virtual_pad() {
    SDL_VirtualJoystickDesc d{};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    index = SDL_JoystickAttachVirtualEx(&d);
    if (index >= 0) j = SDL_JoystickOpen(index);
  }
  ~virtual_pad() { unplug(); }
  void unplug() {
    if (j) SDL_JoystickClose(j), SDL_JoystickDetachVirtual(index);
    j = nullptr;
  }
  void button(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(j, b, down); }
  void axis(SDL_GameControllerAxis a, Sint16 v) { SDL_JoystickSetVirtualAxis(j, a, v); }
};

TEST_F(SdlWindow, AGamepadWalksAndItsButtonsAreTheGamesKeys) {
  virtual_pad pad;
  ASSERT_NE(pad.j, nullptr) << SDL_GetError();
  game_keys(); // the controller is plugged in and opened
  using keys = std::vector<std::uint32_t>;

  pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  EXPECT_EQ(game_keys(), keys{VK_DOWN}) << "pressed at once";
  std::uint32_t t = SDL_GetTicks();
  pad_poll(t + PAD_REPEAT_DELAY_MS / 2);
  EXPECT_EQ(game_keys(), keys{}) << "no repeat before the delay";
  pad_poll(t + PAD_REPEAT_DELAY_MS + 1);
  pad_poll(t + PAD_REPEAT_DELAY_MS + 2);
  pad_poll(t + PAD_REPEAT_DELAY_MS + PAD_REPEAT_MS + 2);
  EXPECT_EQ(game_keys(), (keys{VK_DOWN, VK_DOWN})) << "held, it repeats at the key rate";
  pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  game_keys();
  pad_poll(t + 10 * PAD_REPEAT_DELAY_MS);
  EXPECT_EQ(game_keys(), keys{}) << "let go, no more";

  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
  EXPECT_EQ(game_keys(), keys{VK_LEFT});
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -2000); // inside the dead zone: centred
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
  EXPECT_EQ(game_keys(), keys{VK_DOWN});
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  game_keys();

  const std::pair<SDL_GameControllerButton, std::uint32_t> buttons[] = {
      {SDL_CONTROLLER_BUTTON_A, 'D'},
      {SDL_CONTROLLER_BUTTON_B, 'C'},
      {SDL_CONTROLLER_BUTTON_START, 'Q'},
      {SDL_CONTROLLER_BUTTON_Y, 'F'},
      {SDL_CONTROLLER_BUTTON_X, 'R'}};
  for (auto [b, k] : buttons) {
    pad.button(b, true);
    EXPECT_EQ(game_keys(), keys{k}) << b;
    pad.button(b, false);
    EXPECT_EQ(game_keys(), keys{}) << b << " let go";
  }

  key(SDL_SCANCODE_F10);
  pad.button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(game_keys(), keys{}) << "an open menu takes no controller keys";
  pad.button(SDL_CONTROLLER_BUTTON_A, false);
  key(SDL_SCANCODE_ESCAPE);

  pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  game_keys();
  pad.unplug();
  game_keys();
  pad_poll(SDL_GetTicks() + 10 * PAD_REPEAT_DELAY_MS);
  EXPECT_EQ(game_keys(), keys{}) << "unplugged with a direction held: no more repeats";
  virtual_pad again;
  game_keys();
  again.button(SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_EQ(game_keys(), keys{'C'}) << "plugged in again";
}

// Width, height and the first pixel (0xRRGGBB) of a PNG file; empty when unreadable.
std::vector<int> read_png(const std::string& path) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return {};
  img.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, rgb.data(), 0, nullptr)) return {};
  return {static_cast<int>(img.width), static_cast<int>(img.height),
          rgb[0] << 16 | rgb[1] << 8 | rgb[2]};
}

std::vector<std::string> pngs_in(const std::string& dir) {
  std::vector<std::string> found;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().extension() == ".png") found.push_back(e.path().string());
  std::sort(found.begin(), found.end());
  return found;
}

TEST_F(SdlWindow, F9WritesThePictureAt1xAndAtItsSizeInTheWindow) {
  namespace fs = std::filesystem;
  fs::path root = fs::temp_directory_path() / ("zk_shots_" + std::to_string(getpid()));
  fs::path home = root / "home";
  fs::remove_all(root);
  fs::create_directories(home / ".config");
  fs::create_directories(root / "game");
  std::ofstream(home / ".config/user-dirs.dirs") << "# written by the test\n"
                                                 << "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n";
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  fs::path game = fs::current_path();
  fs::current_path(root / "game");

  fill_rect(back, 0, 0, 256, 256, 0x0000FF);
  plat_present(back);
  key(SDL_SCANCODE_F9);
  EXPECT_TRUE(pngs_in(".").size() == 1) << "no pictures folder: the game folder, 1x only";
  fs::create_directories(home / "Pictures");
  plat_set_client_size(512, 256);
  EXPECT_TRUE(key(SDL_SCANCODE_PRINTSCREEN).empty()) << "not the game's key";
  std::vector<std::string> shots = pngs_in((home / "Pictures").string());
  fs::current_path(game);
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(read_png(shots[0]), (std::vector<int>{256, 256, 0xFF0000}));
  EXPECT_EQ(read_png(shots[1]), (std::vector<int>{512, 256, 0xFF0000})) << "2x1 in the window";
  fs::remove_all(root);
}

} // namespace

#ifdef ZK_X11
namespace {

struct RealDisplay : SdlWindow {
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no display";
    driver = "x11";
    SdlWindow::SetUp();
  }
};

// Pixel (x, y) of an X image is the surface pixel (blue, green, red).
bool same(XImage* img, int x, int y, surface& s, int sx, int sy) {
  unsigned long p = XGetPixel(img, x, y);
  const std::uint8_t* q = surface_pixel(s, sx, sy);
  return q[0] == (p & 255) && q[1] == (p >> 8 & 255) && q[2] == (p >> 16 & 255);
}

// What the game presents reaches the screen: the bar as composed above the
// picture stretched 2 x 2. SIGTERM closes the game as the close box does.
TEST_F(RealDisplay, TheScreenShowsTheBarAndTheStretchedPicture) {
  SDL_SysWMinfo wm;
  SDL_VERSION(&wm.version);
  ASSERT_TRUE(SDL_GetWindowWMInfo(sdl.window, &wm)) << SDL_GetError();
  Display* d = wm.info.x11.display;
  SDL_SetWindowPosition(sdl.window, 0, 0); // wholly on the screen, to be read from it
  plat_set_client_size(512, 512);
  XWindowAttributes a{};
  for (int i = 0; i < 100 && !(a.map_state == IsViewable && a.width == 512); i++) {
    game_keys(); // the window is shown and resized
    SDL_Delay(10);
    XGetWindowAttributes(d, wm.info.x11.window, &a);
  }
  ASSERT_EQ(a.height, 512 + MENU_BAR_H);
  for (int y = 0; y < 256; y++) fill_rect(back, 0, y, 256, 1, static_cast<colorref>(y * 0x010305));
  fill_rect(back, 10, 20, 1, 1, 0x3366FF);
  plat_present(back);
  Window root = DefaultRootWindow(d), child;
  int x0 = 0, y0 = 0;
  XTranslateCoordinates(d, wm.info.x11.window, root, 0, 0, &x0, &y0, &child);
  XImage* img = XGetImage(d, root, x0, y0, 512, 512 + MENU_BAR_H, AllPlanes, ZPixmap);
  ASSERT_NE(img, nullptr);
  surface bar;
  menu_compose(bar, 512, MENU_BAR_H);
  int light = 0, dark = 0, bar_wrong = 0, picture_wrong = 0;
  for (std::uint8_t v : bar.px) light += v >= 0xE0, dark += v < 0x40;
  EXPECT_GT(light, static_cast<int>(bar.px.size() / 2)) << "the menu bar is light";
  EXPECT_GT(dark, 3 * 40) << "the menu bar has no titles";
  for (int y = 0; y < MENU_BAR_H; y++)
    for (int x = 0; x < 512; x++) bar_wrong += !same(img, x, y, bar, x, y);
  for (int y = 0; y < 512; y++)
    for (int x = 0; x < 512; x++)
      picture_wrong += !same(img, x, MENU_BAR_H + y, back, x / 2, y / 2);
  XDestroyImage(img);
  EXPECT_EQ(bar_wrong, 0);
  EXPECT_EQ(picture_wrong, 0);
  raise(SIGTERM);
  bool closed = false;
  for (plat_msg m; plat_peek_message(&m);) closed |= m.kind == MSG_CLOSE;
  EXPECT_TRUE(closed) << "SIGTERM is the close box";
}

} // namespace
#endif
