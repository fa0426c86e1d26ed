// The menu bar of the game's menu, drawn by us above the picture: three
// popups, operated by mouse (click a title, click an item) and by keyboard
// (F10 or Alt opens, arrows move, Enter chooses, Escape closes). While a popup
// is open no key reaches the game.
#include "platform/font.h"
#include "platform/sdl/sdl_backend.h"
#include "resources/menu.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

constexpr colorref BAR = 0xF0F0F0, TEXT = 0x000000, HOT = 0xD77800, HOT_TEXT = 0xFFFFFF,
                   EDGE = 0x808080;
bool alt_alone = false; // Alt went down and nothing else since: its release opens the menu

std::string shown(const char* text) {
  std::string s;
  for (const char* p = text; *p; p++)
    if (*p != '&') s += *p;
  return s;
}

char mnemonic(const char* text) {
  const char* a = std::strchr(text, '&');
  return a && a[1] ? static_cast<char>(std::toupper(static_cast<unsigned char>(a[1]))) : 0;
}

int title_w(int i) {
  return static_cast<int>(shown(game_menu[i].title).size()) * 6 + 14;
}
int title_x(int i) {
  int x = 2;
  for (int k = 0; k < i; k++) x += title_w(k);
  return x;
}

int popup_w(int i) {
  int w = 0;
  for (int k = 0; k < game_menu[i].count; k++) {
    int t = static_cast<int>(shown(game_menu[i].items[k].text).size()) * 6;
    if (t > w) w = t;
  }
  return (w + 48 > 96 ? w + 48 : 96);
}

// Text with the mnemonic letter underlined.
void label(surface& s, int x, int y, const char* text, colorref fg, colorref bg) {
  text_paint p{FACE_MENU, 12, fg, bg, false};
  std::string t = shown(text);
  plat_draw_text(s, x, y, t.c_str(), static_cast<int>(t.size()), p);
  if (const char* a = std::strchr(text, '&'))
    fill_rect(s, x + 6 * static_cast<int>(a - text), y + 12, 6, 1, fg);
}

void open_popup(int i, bool by_key) {
  sdl.menu.open = i;
  sdl.menu.hot = by_key ? 0 : -1;
  sdl.menu.by_key = by_key;
}

void close_menu() {
  sdl.menu = sdl_menu_state{};
}

void choose(int item) {
  const menu_popup_res& p = game_menu[sdl.menu.open];
  if (item >= 0 && item < p.count)
    plat_post_message(MSG_COMMAND, static_cast<std::uint32_t>(p.items[item].id));
  close_menu();
}

int title_at(int x, int y) {
  if (y < 0 || y >= MENU_BAR_H) return -1;
  for (int i = 0; i < MENU_POPUPS; i++)
    if (x >= title_x(i) && x < title_x(i) + title_w(i)) return i;
  return -1;
}

int item_at(int x, int y) {
  SDL_Rect r = menu_popup_rect();
  if (r.w == 0 || x < r.x || x >= r.x + r.w || y < r.y + 2 || y >= r.y + r.h - 2) return -1;
  int k = (y - r.y - 2) / MENU_ITEM_H;
  return k < game_menu[sdl.menu.open].count ? k : -1;
}

bool open_key(const SDL_Keysym& k) {
  int n = game_menu[sdl.menu.open].count;
  switch (k.scancode) {
  case SDL_SCANCODE_ESCAPE:
  case SDL_SCANCODE_F10:
  case SDL_SCANCODE_LALT:
  case SDL_SCANCODE_RALT:
    close_menu();
    break;
  case SDL_SCANCODE_LEFT:
    open_popup((sdl.menu.open + MENU_POPUPS - 1) % MENU_POPUPS, true);
    break;
  case SDL_SCANCODE_RIGHT:
    open_popup((sdl.menu.open + 1) % MENU_POPUPS, true);
    break;
  case SDL_SCANCODE_UP:
    sdl.menu.hot = (sdl.menu.hot + n - 1 + (sdl.menu.hot < 0)) % n;
    break;
  case SDL_SCANCODE_DOWN:
    sdl.menu.hot = (sdl.menu.hot + 1) % n;
    break;
  case SDL_SCANCODE_RETURN:
  case SDL_SCANCODE_KP_ENTER:
    choose(sdl.menu.hot);
    break;
  default:
    for (int i = 0; i < n; i++)
      if (k.sym < 128 && mnemonic(game_menu[sdl.menu.open].items[i].text) == std::toupper(k.sym)) {
        choose(i);
        break;
      }
  }
  return true;
}

} // namespace

SDL_Rect menu_popup_rect() {
  if (sdl.menu.open < 0) return SDL_Rect{0, 0, 0, 0};
  int i = sdl.menu.open;
  return SDL_Rect{title_x(i), MENU_BAR_H, popup_w(i), game_menu[i].count * MENU_ITEM_H + 4};
}

void menu_compose(surface& s, int w, int h) {
  if (s.w != w || s.h != h) surface_create(s, w, h);
  fill_rect(s, 0, 0, w, MENU_BAR_H, BAR);
  fill_rect(s, 0, MENU_BAR_H - 1, w, 1, 0xD0D0D0);
  for (int i = 0; i < MENU_POPUPS; i++) {
    bool open = sdl.menu.open == i;
    if (open) fill_rect(s, title_x(i), 1, title_w(i), MENU_BAR_H - 2, HOT);
    label(s, title_x(i) + 7, 4, game_menu[i].title, open ? HOT_TEXT : TEXT, BAR);
  }
  SDL_Rect r = menu_popup_rect();
  if (r.w == 0 || r.x + r.w > w || r.y + r.h > h) return;
  fill_rect(s, r.x, r.y, r.w, r.h, EDGE);
  fill_rect(s, r.x + 1, r.y + 1, r.w - 2, r.h - 2, BAR);
  const menu_popup_res& p = game_menu[sdl.menu.open];
  for (int k = 0; k < p.count; k++) {
    int y = r.y + 2 + k * MENU_ITEM_H;
    bool hot = k == sdl.menu.hot;
    if (hot) fill_rect(s, r.x + 2, y, r.w - 4, MENU_ITEM_H, HOT);
    label(s, r.x + 24, y + 4, p.items[k].text, hot ? HOT_TEXT : TEXT, BAR);
  }
}

bool menu_key(const SDL_Keysym& k) {
  bool alt = k.scancode == SDL_SCANCODE_LALT || k.scancode == SDL_SCANCODE_RALT;
  if (sdl.menu.open >= 0) {
    alt_alone = false;
    return open_key(k);
  }
  if (alt) {
    alt_alone = true;
    return true;
  }
  alt_alone = false;
  if (k.scancode == SDL_SCANCODE_F10) {
    open_popup(0, true);
    return true;
  }
  if (!(k.mod & KMOD_ALT)) return false;
  // Alt with a key is the window's, never the game's
  if (k.scancode == SDL_SCANCODE_F4) plat_post_message(MSG_CLOSE);
  for (int i = 0; i < MENU_POPUPS; i++)
    if (k.sym < 128 && mnemonic(game_menu[i].title) == std::toupper(k.sym)) open_popup(i, true);
  return true;
}

void menu_alt_cancel() {
  alt_alone = false;
}

void menu_alt_released() {
  if (alt_alone && sdl.menu.open < 0) open_popup(0, true);
  alt_alone = false;
}

bool menu_mouse(const SDL_Event& e) {
  if (e.type == SDL_MOUSEMOTION) {
    if (sdl.menu.open < 0) return false;
    int t = title_at(e.motion.x, e.motion.y);
    if (t >= 0 && t != sdl.menu.open)
      open_popup(t, false);
    else if (t < 0)
      sdl.menu.hot = item_at(e.motion.x, e.motion.y);
    return true;
  }
  if (e.button.button != SDL_BUTTON_LEFT) return sdl.menu.open >= 0;
  int x = e.button.x, y = e.button.y;
  if (e.type == SDL_MOUSEBUTTONDOWN) {
    int t = title_at(x, y);
    if (t >= 0) {
      if (t == sdl.menu.open)
        close_menu();
      else
        open_popup(t, false);
      return true;
    }
    if (sdl.menu.open >= 0 && item_at(x, y) < 0) {
      close_menu();
      return true;
    }
    return sdl.menu.open >= 0;
  }
  // an item is chosen when the button is let go over it
  if (sdl.menu.open >= 0 && item_at(x, y) >= 0) {
    choose(item_at(x, y));
    return true;
  }
  return sdl.menu.open >= 0;
}
