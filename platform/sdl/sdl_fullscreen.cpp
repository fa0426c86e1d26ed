// Fullscreen: the whole screen black, the 256 x 256 picture in its middle at
// the largest whole-number scale that fits, so that every dot stays square
// and the same size. The menu bar hides; back in the window, the window takes
// the size the menu chose last (chosen in fullscreen too).
#include "platform/sdl/sdl_backend.h"

namespace {

constexpr int PICTURE = 256;

struct fullscreen_state {
  SDL_Window* on = nullptr; // the window made fullscreen (a new window starts windowed)
  int chosen_w = PICTURE, chosen_h = PICTURE; // client size of the last size command
};
fullscreen_state fs;

} // namespace

SDL_Rect fullscreen_rect(int screen_w, int screen_h) {
  int fit = (screen_w < screen_h ? screen_w : screen_h) / PICTURE;
  int side = (fit > 1 ? fit : 1) * PICTURE;
  return SDL_Rect{(screen_w - side) / 2, (screen_h - side) / 2, side, side};
}

bool sdl_is_fullscreen() {
  return sdl.window && fs.on == sdl.window;
}

void sdl_remember_client_size(int w, int h) {
  fs.chosen_w = w, fs.chosen_h = h;
}

SDL_Rect sdl_picture_rect() {
  int w = 0, h = 0;
  if (sdl.window) SDL_GetWindowSize(sdl.window, &w, &h);
  if (sdl_is_fullscreen()) return fullscreen_rect(w, h);
  return SDL_Rect{0, MENU_BAR_H, w, h > MENU_BAR_H ? h - MENU_BAR_H : 0};
}

void sdl_toggle_fullscreen() {
  menu_alt_cancel(); // the Alt of Alt+Enter
  if (!sdl.window) return;
  if (!sdl_is_fullscreen()) {
    if (SDL_SetWindowFullscreen(sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return;
    fs.on = sdl.window;
  } else {
    SDL_SetWindowFullscreen(sdl.window, 0);
    fs.on = nullptr;
    SDL_SetWindowSize(sdl.window, fs.chosen_w, fs.chosen_h + MENU_BAR_H);
  }
  sdl_redraw();
}
