// The screens that do not show the field: the title menu, the opening text
// of a new game, the list of save slots to continue from, the ending screen,
// and "GAME OEVR" laid over the field once the party is wiped out. Their keys
// are the title menu's (field/title_menu.h) and the key dispatcher's.
#pragma once
#include "state/state.h"

// title_screens.title_mode values.
enum : i32 { TITLE_PLAY = 0, TITLE_MENU = 1, TITLE_OPENING = 2, TITLE_LOAD_LIST = 3 };

constexpr i32 PULSE_START = 50;

struct title_screens_data {
  i32 title_mode = 0;   // 1 title menu, 2 opening text, 3 load list, 0 in play
  i32 title_cursor = 0; // 0 "NEW GAME", 1 "CONTINUE"
  i32 title_slot = 0;   // load-list cursor 0..7, kept while the program runs
  // Brightness of the highlighted title item, shared with "GAME OEVR".
  i32 pulse_level = PULSE_START;
  i32 pulse_down = 0; // the title pulse is darkening
  i32 ending_fade = 0, ending_text_level = 0;
};

extern title_screens_data title_screens;
void reset_title_screens_state();

// The screen of title_screens.title_mode (1, 2 or 3) on the dark blue background,
// presented.
void draw_title_screens();
// One tick of the ending: the background brightens, then the text fades in.
// Presented.
void draw_ending_screen();
// "GAME OEVR" over the field frame while gameover_state is 2.
void draw_game_over();
