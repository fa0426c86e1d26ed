// Shared state of the SDL backend: the window, its renderer and textures,
// the message queue and the menu bar we draw above the picture.
#pragma once
#include "platform/platform.h"
#include "platform/surface.h"

#include <SDL.h>

#include <deque>
#include <string>
#include <vector>

// Height of the menu bar above the picture area, in window pixels.
constexpr int MENU_BAR_H = 20;
constexpr int MENU_ITEM_H = 20;

struct sdl_menu_state {
  int open = -1; // the popup shown, -1 none
  int hot = -1;  // the highlighted item of it, -1 none
  bool by_key = false;
};

// What the bar and its popup look like: the overlay is composed again only
// when this changes, so that a standing menu costs one texture copy a frame.
struct sdl_menu_look {
  int w = 0, h = 0;
  int open = -1, hot = -1;
  bool operator==(const sdl_menu_look&) const = default;
};

struct sdl_data {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* picture = nullptr; // the 256 x 256 back buffer
  SDL_Texture* overlay = nullptr; // the menu bar and an open popup
  sdl_menu_look overlay_look;     // what the overlay texture holds
  bool overlay_valid = false;     // false: its pixels are to be composed again
  long overlay_composes = 0;      // how often it was composed and uploaded
  bool have_picture = false;
  // of the picture and the overlay: blue-green-red, or the window's for the software renderer
  Uint32 texture_format = SDL_PIXELFORMAT_BGR24;
  std::vector<std::uint8_t> shown; // the back buffer the picture texture holds
  long rows_uploaded = 0;          // of the picture, ever
  std::deque<plat_msg> queue;
  sdl_menu_state menu;
  surface menu_pixels; // overlay composed here, then uploaded
};

extern sdl_data sdl;

// sdl_window.cpp
void sdl_redraw(); // the last picture and the menu again (expose, resize, menu change)
// sdl_keys.cpp: the virtual-key code of a key, 0 for none the game knows
std::uint32_t sdl_virtual_key(const SDL_Keysym& k);
// sdl_menu.cpp
void menu_compose(surface& dst, int w, int h); // the bar at the top, the popup below it
SDL_Rect menu_popup_rect();                    // where the open popup is, w 0 when closed
bool menu_key(const SDL_Keysym& k);            // true when the menu took the key
bool menu_mouse(const SDL_Event& e);           // true when the menu took the event
void menu_alt_released();

// sdl_fullscreen.cpp: F11 and Alt+Enter. In fullscreen the menu bar hides
// and the picture stands at the largest whole-number scale, centred on black.
SDL_Rect fullscreen_rect(int screen_w, int screen_h);
bool sdl_is_fullscreen();
void sdl_toggle_fullscreen();
void sdl_remember_client_size(int w, int h); // the size the menu chose
SDL_Rect sdl_picture_rect();                 // where the picture is in the window
// sdl_screenshot.cpp: F9 and Print Screen. The last picture shown, as PNG
// at 1x and at the size it has in the window; 0 when written.
int sdl_screenshot();
std::string screenshot_folder(); // the player's pictures folder, else the game folder
// sdl_pad.cpp: game controllers, opened as they are plugged in; their
// d-pad, left stick and buttons become the game's own keys.
constexpr std::uint32_t PAD_REPEAT_DELAY_MS = 300, PAD_REPEAT_MS = 40;
void pad_start();
void pad_stop();
bool pad_event(const SDL_Event& e); // true when it was a controller's
void pad_poll(std::uint32_t now);   // a held direction repeats like a held key
// sdl_menu.cpp: an Alt that was part of a shortcut does not open the menu
void menu_alt_cancel();
