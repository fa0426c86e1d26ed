// Modal message boxes (the system's, with UTF-8 text) and our About box.
#include "platform/font.h"
#include "platform/sdl/sdl_backend.h"
#include "resources/menu.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

void plat_message_box(const char* text, const char* caption) {
  std::string t = sjis_to_utf8(text), c = sjis_to_utf8(caption);
  // the system box draws Japanese only in a UTF-8 locale
  std::string kept = std::setlocale(LC_CTYPE, nullptr);
  std::setlocale(LC_CTYPE, "C.UTF-8");
  int r = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, c.c_str(), t.c_str(), sdl.window);
  std::setlocale(LC_CTYPE, kept.c_str());
  if (r != 0) std::fprintf(stderr, "[%s] %s\n", c.c_str(), t.c_str());
  sdl_redraw();
}

namespace {

constexpr int ABOUT_W = 210, ABOUT_H = 110;
const SDL_Rect ok_button{75, 76, 60, 22};

void compose_about(surface& s, bool pressed) {
  surface_create(s, ABOUT_W, ABOUT_H);
  fill_rect(s, 0, 0, ABOUT_W, ABOUT_H, 0xF0F0F0);
  for (int y = 0; y < 32; y++)
    for (int x = 0; x < 32; x++)
      for (int i = 0; i < icon_color_count; i++)
        if (icon_colors[i].code == game_icon[y / 2][x / 2])
          fill_rect(s, 12 + x, 12 + y, 1, 1,
                    icon_colors[i].r | icon_colors[i].g << 8 |
                        static_cast<colorref>(icon_colors[i].b) << 16);
  text_paint p{FACE_MENU, 12, 0, 0xF0F0F0, false};
  plat_draw_text(s, 54, 16, about_lines[0], static_cast<int>(std::strlen(about_lines[0])), p);
  int w2 =
      plat_text_width(about_lines[1], static_cast<int>(std::strlen(about_lines[1])), FACE_MENU, 12);
  plat_draw_text(s, (ABOUT_W - w2) / 2, 52, about_lines[1],
                 static_cast<int>(std::strlen(about_lines[1])), p);
  const SDL_Rect& b = ok_button;
  fill_rect(s, b.x, b.y, b.w, b.h, 0x0078D7);
  fill_rect(s, b.x + 2, b.y + 2, b.w - 4, b.h - 4, pressed ? 0xD0D0D0 : 0xFFFFFF);
  plat_draw_text(s, b.x + (b.w - 12) / 2, b.y + 5, "OK", 2, p);
}

void show_about(SDL_Renderer* r, SDL_Texture* t, bool pressed) {
  surface s;
  compose_about(s, pressed);
  SDL_UpdateTexture(t, nullptr, s.px.data(), ABOUT_W * 3);
  SDL_RenderClear(r);
  SDL_RenderCopy(r, t, nullptr, nullptr);
  SDL_RenderPresent(r);
}

bool in_ok(int x, int y) {
  const SDL_Rect& b = ok_button;
  return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
}

// Runs until OK (Enter, Space, Escape, a click on OK or the close box).
void about_loop(SDL_Window* w, SDL_Renderer* r, SDL_Texture* t) {
  Uint32 id = SDL_GetWindowID(w);
  show_about(r, t, false);
  for (SDL_Event e; SDL_WaitEvent(&e);) {
    if (e.type == SDL_KEYDOWN && e.key.windowID == id) {
      SDL_Scancode sc = e.key.keysym.scancode;
      if (sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_SPACE || sc == SDL_SCANCODE_ESCAPE ||
          sc == SDL_SCANCODE_KP_ENTER)
        return;
    } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.windowID == id) {
      show_about(r, t, in_ok(e.button.x, e.button.y));
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.windowID == id) {
      if (in_ok(e.button.x, e.button.y)) return;
      show_about(r, t, false);
    } else if (e.type == SDL_WINDOWEVENT && e.window.windowID == id) {
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) return;
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED) show_about(r, t, false);
    } else if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) {
      sdl_redraw();
    }
  }
}

} // namespace

void plat_about_box() {
  // over the middle of the game's window, as a box it owns
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
  if (sdl.window && !sdl_is_fullscreen()) {
    int gx, gy, gw, gh;
    SDL_GetWindowPosition(sdl.window, &gx, &gy);
    SDL_GetWindowSize(sdl.window, &gw, &gh);
    x = gx + (gw - ABOUT_W) / 2, y = gy + (gh - ABOUT_H) / 2;
  }
  SDL_Window* w = SDL_CreateWindow(about_caption, x, y, ABOUT_W, ABOUT_H, SDL_WINDOW_SHOWN);
  SDL_Renderer* r = w ? SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE) : nullptr;
  SDL_Texture* t =
      r ? SDL_CreateTexture(r, SDL_PIXELFORMAT_BGR24, SDL_TEXTUREACCESS_STREAMING, ABOUT_W, ABOUT_H)
        : nullptr;
  if (t) {
    if (sdl.window) SDL_SetWindowModalFor(w, sdl.window);
    about_loop(w, r, t);
  } else {
    std::string text = sjis_to_utf8(about_lines[0]) + "\n" + sjis_to_utf8(about_lines[1]);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, about_caption, text.c_str(), sdl.window);
  }
  if (t) SDL_DestroyTexture(t);
  if (r) SDL_DestroyRenderer(r);
  if (w) SDL_DestroyWindow(w);
  // keys typed into the box are not the game's
  SDL_FlushEvents(SDL_KEYDOWN, SDL_KEYUP);
  sdl_redraw();
}
