// The window's menu (resource 102), the About box (105) and the icon (101).
// The platform backends draw them; the texts are Shift-JIS, '&' marks the
// mnemonic letter that follows it.
#pragma once

struct menu_item_res {
  const char* text;
  int id; // the WM_COMMAND item id
};

struct menu_popup_res {
  const char* title;
  const menu_item_res* items;
  int count;
};

constexpr int MENU_POPUPS = 3;
extern const menu_popup_res game_menu[MENU_POPUPS];

// The About box: caption, two lines (the second centred) and an OK button.
extern const char* const about_caption;
extern const char* const about_lines[2];

// The icon: ICON_SIZE rows of ICON_SIZE characters, each a colour of
// icon_colors ('.' transparent).
constexpr int ICON_SIZE = 16;
extern const char* const game_icon[ICON_SIZE];
struct icon_color {
  char code;
  unsigned char r, g, b;
};
extern const icon_color icon_colors[];
extern const int icon_color_count;
