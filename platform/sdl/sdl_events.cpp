// SDL events become the window messages of the game's queue.
#include "platform/sdl/sdl_backend.h"

namespace {

bool menu_event(const SDL_Event& e) {
  bool was_open = sdl.menu.open >= 0;
  bool taken = menu_mouse(e);
  if (taken || was_open != (sdl.menu.open >= 0)) sdl_redraw();
  return taken;
}

bool alt_enter(const SDL_Keysym& k) {
  return (k.scancode == SDL_SCANCODE_RETURN || k.scancode == SDL_SCANCODE_KP_ENTER) &&
         (k.mod & KMOD_ALT);
}

// The window's own keys, which the game never sees: fullscreen and screenshots.
bool window_key(const SDL_KeyboardEvent& k) {
  if (k.keysym.scancode == SDL_SCANCODE_F11 || alt_enter(k.keysym)) {
    if (!k.repeat) sdl_toggle_fullscreen();
    return true;
  }
  if (k.keysym.scancode == SDL_SCANCODE_F9 || k.keysym.scancode == SDL_SCANCODE_PRINTSCREEN) {
    if (!k.repeat) sdl_screenshot();
    return true;
  }
  return false;
}

// The bar is hidden in fullscreen: F10 and Alt open nothing, and Alt with a
// key is still the window's.
bool fullscreen_key(const SDL_Keysym& k) {
  if (k.scancode == SDL_SCANCODE_F10 || k.scancode == SDL_SCANCODE_LALT ||
      k.scancode == SDL_SCANCODE_RALT)
    return true;
  if (!(k.mod & KMOD_ALT)) return false;
  if (k.scancode == SDL_SCANCODE_F4) plat_post_message(MSG_CLOSE);
  return true;
}

void key_down(const SDL_KeyboardEvent& k) {
  if (sdl.menu.open < 0 && window_key(k)) return;
  if (sdl_is_fullscreen()) {
    std::uint32_t vk = sdl_virtual_key(k.keysym);
    if (!fullscreen_key(k.keysym) && vk) plat_post_message(MSG_KEYDOWN, vk);
    return;
  }
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
    if ((e.key.keysym.scancode == SDL_SCANCODE_LALT ||
         e.key.keysym.scancode == SDL_SCANCODE_RALT) &&
        !sdl_is_fullscreen()) {
      menu_alt_released();
      sdl_redraw();
    }
    break;
  case SDL_MOUSEMOTION:
  case SDL_MOUSEBUTTONDOWN:
  case SDL_MOUSEBUTTONUP:
    if (!sdl_is_fullscreen()) menu_event(e);
    break;
  case SDL_WINDOWEVENT:
    window_event(e.window);
    break;
  case SDL_QUIT:
    plat_post_message(MSG_CLOSE);
    break;
  default:
    pad_event(e);
    break;
  }
}

void pump() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) translate(e);
  pad_poll(SDL_GetTicks());
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
  pad_poll(SDL_GetTicks());
}

void plat_post_message(int kind, std::uint32_t wparam, std::int32_t lparam) {
  sdl.queue.push_back(plat_msg{kind, wparam, lparam});
}
