// The real window's menu bar on SDL's dummy video driver: the bar is
// composed again only when it looks different, and what is shown is the
// bar as composed.
#include "platform/sdl/sdl_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct SdlWindow : ::testing::Test {
  surface back;
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
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
  long composes() const { return sdl.overlay_composes; }
  void key(SDL_Scancode code, SDL_Keycode sym) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
    plat_msg m;
    while (plat_peek_message(&m)) {
    }
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

TEST_F(SdlWindow, AStandingBarIsComposedOnceAndShownOnEveryFrame) {
  long first = composes();
  EXPECT_GE(first, 1) << "the first frame has a bar";
  for (int i = 0; i < 5; i++) {
    fill_rect(back, 0, 0, 256, 256, static_cast<colorref>(i * 0x102030));
    plat_present(back);
  }
  EXPECT_EQ(composes(), first) << "five pictures, the same bar";
  plat_present(back);
  EXPECT_TRUE(bar_shown_as_composed());
}

TEST_F(SdlWindow, TheBarIsComposedAgainWhenThePopupOrItsHighlightChanges) {
  long n = composes();
  key(SDL_SCANCODE_F10, SDLK_F10); // the first popup opens
  EXPECT_EQ(sdl.menu.open, 0);
  EXPECT_EQ(composes(), n + 1);
  plat_present(back);
  plat_present(back);
  EXPECT_EQ(composes(), n + 1) << "an open popup that stands still";
  key(SDL_SCANCODE_DOWN, SDLK_DOWN);
  EXPECT_EQ(composes(), n + 2) << "the highlight moved";
  key(SDL_SCANCODE_RIGHT, SDLK_RIGHT);
  EXPECT_EQ(sdl.menu.open, 1);
  EXPECT_EQ(composes(), n + 3) << "the next popup";
  plat_present(back);
  EXPECT_TRUE(bar_shown_as_composed());
  key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
  EXPECT_EQ(sdl.menu.open, -1);
  EXPECT_EQ(composes(), n + 4) << "closed";
  plat_present(back);
  EXPECT_EQ(composes(), n + 4);
  EXPECT_TRUE(bar_shown_as_composed());
}

TEST_F(SdlWindow, TheBarIsComposedAgainForANewWindowSize) {
  long n = composes();
  plat_set_client_size(512, 512);
  int w, h;
  plat_get_client_size(&w, &h);
  ASSERT_EQ(w, 512);
  EXPECT_EQ(composes(), n + 1);
  plat_present(back);
  EXPECT_EQ(composes(), n + 1);
  EXPECT_TRUE(bar_shown_as_composed()) << "the bar spans the wider window";
}

TEST_F(SdlWindow, OnlyTheRowsThatChangedAreUploaded) {
  auto pixel_shown = [](int x, int y) {
    std::uint8_t p[3];
    SDL_Rect at{x, MENU_BAR_H + y, 1, 1};
    if (SDL_RenderReadPixels(sdl.renderer, &at, SDL_PIXELFORMAT_BGR24, p, 3) != 0) return -1;
    return p[0] << 16 | p[1] << 8 | p[2];
  };
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
  EXPECT_EQ(pixel_shown(10, 20), 0x3366FF);
  EXPECT_EQ(pixel_shown(200, 30), 0x0000FF);
  EXPECT_EQ(pixel_shown(0, 0), 0x203040);
  EXPECT_EQ(pixel_shown(255, 255), 0x203040);
  fill_rect(back, 0, 255, 1, 1, 0xFFFFFF);
  plat_present(back);
  EXPECT_EQ(sdl.rows_uploaded, n + 12) << "the last row alone";
  EXPECT_EQ(pixel_shown(0, 255), 0xFFFFFF);
  EXPECT_EQ(pixel_shown(10, 20), 0x3366FF) << "what was uploaded before stays";
  key(SDL_SCANCODE_F10, SDLK_F10);
  plat_present(back);
  EXPECT_EQ(sdl.rows_uploaded, n + 12) << "the menu redraws the window without the picture";
  key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
  plat_destroy_window();
  ASSERT_EQ(plat_create_window("Zandrek"), 0);
  plat_present(back);
  EXPECT_EQ(sdl.rows_uploaded, n + 12 + 256) << "a new window has no picture yet";
  EXPECT_EQ(pixel_shown(200, 30), 0x0000FF);
}

} // namespace
