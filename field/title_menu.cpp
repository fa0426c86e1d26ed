// The title menu's keys: a new game with its opening text, or a saved game
// from the load list. Every key comes here while title_screens.title_mode is not 0, so
// nothing else acts on the title screens, not even Escape.
#include "field/title_menu.h"

#include "audio/music.h"
#include "audio/sound.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "gfx/field_map.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/keys.h"
#include "state/save_slots.h"

namespace {

constexpr int OPENING_EVENT = 255;

// The map's music from its start, and the field takes over.
void start_play() {
  start_closing_wipe();
  title_screens.title_mode = TITLE_PLAY;
  music.field_music_on = 1;
  music_stop();
  play_music_entry(game.cur_music);
}

void move_cursor(int step) {
  if (title_screens.title_mode == TITLE_MENU) {
    int to = title_screens.title_cursor + step;
    if (to < 0 || to > 1) return;
    title_screens.title_cursor = to;
    title_screens.pulse_level = 254;
    title_screens.pulse_down = 1;
    play_menusound();
  } else if (title_screens.title_mode == TITLE_LOAD_LIST) {
    int to = title_screens.title_slot + step;
    if (to < 0 || to > 7) return;
    title_screens.title_slot = to;
    play_menusound();
  }
}

// The opening is typed a byte every second frame over the world map's music.
void new_game() {
  msg_window.msg_speed = 1;
  title_screens.title_mode = TITLE_OPENING;
  start_closing_wipe();
  music.field_music_on = 1;
  music_stop();
  play_music_entry(game.cur_music);
  msg_window.msg_visible = 1;
  event_start(OPENING_EVENT);
}

void end_opening() {
  msg_window.msg_visible = 0;
  msg_window.msg_speed = 0;
  start_play();
}

// An unused slot cannot be chosen; a slot whose file cannot be read any more
// leaves the player in the list rather than in a game that was never loaded,
// and a slot whose place is gone says so under the list.
void continue_from_slot() {
  int k = title_screens.title_slot;
  if (game.slots[k].map == 0) return;
  int result = resume_slot(k);
  field_menu.sys_state = SYS_MAIN;
  if (result == SLOT_PLACE_MISSING) {
    msg_print(PRINT_NEW, SLOT_PLACE_MISSING_TEXT);
    msg_window.msg_visible = 1;
  }
  if (result != 0) return;
  game.cur_slot = k; // the ending saves into the slot the game came from
  start_play();
}

void confirm() {
  play_menusound();
  if (title_screens.title_mode == TITLE_MENU && title_screens.title_cursor == 0)
    new_game();
  else if (title_screens.title_mode == TITLE_MENU)
    title_screens.title_mode = TITLE_LOAD_LIST;
  else if (title_screens.title_mode == TITLE_OPENING)
    end_opening();
  else if (title_screens.title_mode == TITLE_LOAD_LIST)
    continue_from_slot();
}

} // namespace

void title_key(int key) {
  if (title_screens.title_mode == TITLE_LOAD_LIST)
    msg_window.msg_visible = 0; // a refusal lasts until the next key
  switch (key_role(key, IN_TITLE)) {
  case KEY_DOWN:
    return move_cursor(1);
  case KEY_UP:
    return move_cursor(-1);
  case KEY_CONFIRM:
    return confirm();
  case KEY_CANCEL:
    if (title_screens.title_mode != TITLE_LOAD_LIST) return;
    play_cancel();
    title_screens.title_mode = TITLE_MENU;
    return;
  default:
    return;
  }
}
