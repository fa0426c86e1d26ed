// SDL events become the window messages of the game's queue.
#include "platform/sdl/sdl_backend.h"

namespace {

bool menu_event(const SDL_Event& e) {
  bool was_open = sdl.menu.open >= 0;
  bool taken = menu_mouse(e);
  if (taken || was_open != (sdl.menu.open >= 0)) sdl_redraw();
  return taken;
}

void key_down(const SDL_KeyboardEvent& k) {
  bool was_open = sdl.menu.open >= 0;
  bool taken = menu_key(k.keysym);
  if (taken || was_open) {
    sdl_redraw();
    return;
  }
  // auto-repeat arrives as further key downs, as the game expects
  if (std::uint32_t vk = sdl_virtual_key(k.keysym)) plat_post_message(MSG_KEYDOWN, vk);
}

void window_event(const SDL_WindowEvent& w) {
  switch (w.event) {
  case SDL_WINDOWEVENT_FOCUS_GAINED:
    plat_post_message(MSG_ACTIVATEAPP, 1);
    break;
  case SDL_WINDOWEVENT_FOCUS_LOST:
    if (sdl.menu.open >= 0) {
      sdl.menu = sdl_menu_state{};
      sdl_redraw(); // the game stands still now: nothing else would wipe the popup
    }
    plat_post_message(MSG_ACTIVATEAPP, 0);
    break;
  case SDL_WINDOWEVENT_CLOSE:
    plat_post_message(MSG_CLOSE);
    break;
  case SDL_WINDOWEVENT_EXPOSED:
  case SDL_WINDOWEVENT_SIZE_CHANGED:
    sdl_redraw();
    break;
  default:
    break;
  }
}

void translate(const SDL_Event& e) {
  switch (e.type) {
  case SDL_KEYDOWN:
    key_down(e.key);
    break;
  case SDL_KEYUP:
    if (e.key.keysym.scancode == SDL_SCANCODE_LALT || e.key.keysym.scancode == SDL_SCANCODE_RALT) {
      menu_alt_released();
      sdl_redraw();
    }
    break;
  case SDL_MOUSEMOTION:
  case SDL_MOUSEBUTTONDOWN:
  case SDL_MOUSEBUTTONUP:
    menu_event(e);
    break;
  case SDL_WINDOWEVENT:
    window_event(e.window);
    break;
  case SDL_QUIT:
    plat_post_message(MSG_CLOSE);
    break;
  default:
    break;
  }
}

void pump() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) translate(e);
}

} // namespace

bool plat_peek_message(plat_msg* out) {
  if (sdl.queue.empty()) pump();
  if (sdl.queue.empty()) return false;
  *out = sdl.queue.front();
  sdl.queue.pop_front();
  return true;
}

// Blocks until an event arrives or a few milliseconds have passed, so that a
// caller waiting for the next frame tick sleeps instead of spinning.
void plat_wait_message() {
  if (!sdl.queue.empty()) return;
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, 4)) translate(e);
}

void plat_post_message(int kind, std::uint32_t wparam, std::int32_t lparam) {
  sdl.queue.push_back(plat_msg{kind, wparam, lparam});
}
