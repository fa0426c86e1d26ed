// The game's window: a menu bar we draw, and below it the picture area into
// which the 256 x 256 back buffer is stretched (nearest neighbour).
#include "platform/sdl/sdl_backend.h"
#include "resources/menu.h"

#include <cstdio>
#include <cstring>

sdl_data sdl;

static void set_icon() {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_RGBA32);
  if (!icon) return;
  for (int y = 0; y < 32; y++) {
    Uint8* row = static_cast<Uint8*>(icon->pixels) + y * icon->pitch;
    for (int x = 0; x < 32; x++) {
      char c = game_icon[y / 2][x / 2];
      Uint8 px[4] = {0, 0, 0, 0};
      for (int i = 0; i < icon_color_count; i++)
        if (icon_colors[i].code == c)
          px[0] = icon_colors[i].r, px[1] = icon_colors[i].g, px[2] = icon_colors[i].b, px[3] = 255;
      for (int k = 0; k < 4; k++) row[4 * x + k] = px[k];
    }
  }
  SDL_SetWindowIcon(sdl.window, icon);
  SDL_FreeSurface(icon);
}

// True when the renderer draws through OpenGL that a processor rasterises
// (Mesa's llvmpipe and its kin, as under a virtual display or without a
// graphics driver): there every present clears, draws and reads back the
// whole window on the processor, through threads of its own.
static bool gl_on_the_processor(SDL_Renderer* r) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(r, &info) != 0 || !info.name) return false;
  if (std::strncmp(info.name, "opengl", 6) != 0) return false;
  using get_string = const unsigned char* (*)(unsigned);
  auto get = reinterpret_cast<get_string>(SDL_GL_GetProcAddress("glGetString"));
  constexpr unsigned GL_RENDERER_NAME = 0x1F01;
  const char* name = get ? reinterpret_cast<const char*>(get(GL_RENDERER_NAME)) : nullptr;
  if (!name) return false;
  for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer"})
    if (std::strstr(name, soft)) return true;
  return false;
}

// A graphics card's renderer when there is one. Otherwise SDL's own software
// renderer into the window's shared-memory picture: it copies only what is
// drawn, at about a third of the processor time of OpenGL on the processor.
// Its textures are in the window's pixel format, so that stretching the
// picture is a plain copy of pixels and not a conversion of each one.
static bool make_renderer() {
  sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0);
  if (sdl.renderer && gl_on_the_processor(sdl.renderer)) {
    SDL_DestroyRenderer(sdl.renderer);
    // the window's picture in shared memory, not a texture of OpenGL again
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_SOFTWARE);
    // a video system without such a picture (Wayland's) keeps OpenGL
    if (!sdl.renderer) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0);
  }
  if (!sdl.renderer) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_SOFTWARE);
  if (!sdl.renderer) return false;
  SDL_RendererInfo info{};
  bool software = SDL_GetRendererInfo(sdl.renderer, &info) == 0 && info.name &&
                  std::strcmp(info.name, "software") == 0;
  // the software renderer draws into the window's own picture
  SDL_Surface* drawn = software ? SDL_GetWindowSurface(sdl.window) : nullptr;
  sdl.texture_format = SDL_PIXELFORMAT_BGR24;
  if (drawn && drawn->format->BytesPerPixel == 4) sdl.texture_format = drawn->format->format;
  sdl.picture =
      SDL_CreateTexture(sdl.renderer, sdl.texture_format, SDL_TEXTUREACCESS_STREAMING, 256, 256);
  return sdl.picture != nullptr;
}

// Rows of blue-green-red pixels into a texture of the renderer's format.
static void upload(SDL_Texture* t, const SDL_Rect& rows, const std::uint8_t* px, int pitch) {
  if (sdl.texture_format == SDL_PIXELFORMAT_BGR24) {
    SDL_UpdateTexture(t, &rows, px, pitch);
    return;
  }
  void* to = nullptr;
  int to_pitch = 0;
  if (SDL_LockTexture(t, &rows, &to, &to_pitch) != 0) return;
  SDL_ConvertPixels(rows.w, rows.h, SDL_PIXELFORMAT_BGR24, px, pitch, sdl.texture_format, to,
                    to_pitch);
  SDL_UnlockTexture(t);
}

int plat_create_window(const char* title) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    std::fprintf(stderr, "zandrek: cannot open the display: %s\n", SDL_GetError());
    return 1;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  sdl.window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 256,
                                256 + MENU_BAR_H, SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
  if (!sdl.window || !make_renderer()) {
    std::fprintf(stderr, "zandrek: cannot create the window: %s\n", SDL_GetError());
    plat_destroy_window();
    return 1;
  }
  // the picture area never gets smaller than the picture
  SDL_SetWindowMinimumSize(sdl.window, 256, 256 + MENU_BAR_H);
  set_icon();
  pad_start();
  SDL_StopTextInput(); // key downs only: no input-method composition over the picture
  // showing a window activates it, as the game expects before its first frame
  plat_post_message(MSG_ACTIVATEAPP, 1);
  sdl_redraw();
  return 0;
}

void plat_destroy_window() {
  if (sdl.window) pad_stop();
  if (sdl.overlay) SDL_DestroyTexture(sdl.overlay);
  if (sdl.picture) SDL_DestroyTexture(sdl.picture);
  if (sdl.renderer) SDL_DestroyRenderer(sdl.renderer);
  if (sdl.window) SDL_DestroyWindow(sdl.window);
  sdl.overlay = sdl.picture = nullptr;
  sdl.overlay_valid = false;
  sdl.renderer = nullptr;
  sdl.window = nullptr;
  sdl.have_picture = false;
}

void plat_set_client_size(int w, int h) {
  sdl_remember_client_size(w, h);
  if (!sdl.window || sdl_is_fullscreen()) return; // taken on leaving fullscreen
  if (SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_MAXIMIZED) SDL_RestoreWindow(sdl.window);
  SDL_SetWindowSize(sdl.window, w, h + MENU_BAR_H);
  sdl_redraw();
}

void plat_get_client_size(int* w, int* h) {
  SDL_Rect area = sdl_picture_rect();
  *w = area.w;
  *h = area.h;
}

// The bar and an open popup are composed on the CPU into their own texture,
// again only when they look different, and copied over the picture.
static void draw_overlay(int w, int h) {
  sdl_menu_look look{w, h, sdl.menu.open, sdl.menu.hot};
  if (!sdl.overlay || sdl.overlay_look.w != w || sdl.overlay_look.h != h) {
    if (sdl.overlay) SDL_DestroyTexture(sdl.overlay);
    sdl.overlay =
        SDL_CreateTexture(sdl.renderer, sdl.texture_format, SDL_TEXTUREACCESS_STREAMING, w, h);
    sdl.overlay_valid = false;
    if (!sdl.overlay) return;
  }
  if (!sdl.overlay_valid || !(sdl.overlay_look == look)) {
    menu_compose(sdl.menu_pixels, w, h);
    upload(sdl.overlay, SDL_Rect{0, 0, w, h}, sdl.menu_pixels.px.data(), w * 3);
    sdl.overlay_look = look;
    sdl.overlay_valid = true;
    sdl.overlay_composes++;
  }
  SDL_Rect bar{0, 0, w, MENU_BAR_H};
  SDL_RenderCopy(sdl.renderer, sdl.overlay, &bar, &bar);
  SDL_Rect popup = menu_popup_rect();
  if (popup.w > 0) SDL_RenderCopy(sdl.renderer, sdl.overlay, &popup, &popup);
}

void sdl_redraw() {
  if (!sdl.renderer) return;
  SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
  SDL_RenderClear(sdl.renderer);
  SDL_Rect area = sdl_picture_rect();
  if (sdl.have_picture) SDL_RenderCopy(sdl.renderer, sdl.picture, nullptr, &area);
  if (sdl_is_fullscreen()) {
    SDL_RenderPresent(sdl.renderer);
    return;
  }
  int w = area.w;
  SDL_Rect popup = menu_popup_rect();
  int oh = popup.w > 0 && popup.y + popup.h > MENU_BAR_H ? popup.y + popup.h : MENU_BAR_H;
  draw_overlay(w > 0 ? w : 1, oh);
  SDL_RenderPresent(sdl.renderer);
}

// Only the rows that differ from the picture the texture holds are uploaded,
// and a frame the window already shows is not presented again: the title
// changes a band of rows a tick, a party standing on the field mostly none.
// Whatever else changes the window (the menu, its size, an expose) redraws
// it itself.
static bool changed_rows(const surface& back, int* first, int* last) {
  constexpr int ROW = 256 * 3;
  const std::uint8_t *now = back.px.data(), *was = sdl.shown.data();
  if (!sdl.have_picture || sdl.shown.size() != back.px.size()) {
    *first = 0, *last = 255;
    return true;
  }
  int a = 0, b = 255;
  while (a <= b && std::memcmp(now + a * ROW, was + a * ROW, ROW) == 0) a++;
  if (a > b) return false;
  while (std::memcmp(now + b * ROW, was + b * ROW, ROW) == 0) b--;
  *first = a, *last = b;
  return true;
}

void plat_present(const surface& back) {
  if (!sdl.picture || back.w != 256 || back.h != 256) return;
  int first, last;
  if (!changed_rows(back, &first, &last)) return;
  sdl.shown = back.px;
  SDL_Rect rows{0, first, 256, last - first + 1};
  upload(sdl.picture, rows, back.px.data() + first * 256 * 3, 256 * 3);
  sdl.have_picture = true;
  sdl.rows_uploaded += rows.h;
  sdl_redraw();
}

std::uint32_t plat_tick_count() {
  return SDL_GetTicks();
}

void plat_debug_out(const char* text) {
  std::fputs(sjis_to_utf8(text).c_str(), stdout);
  std::fflush(stdout);
}
