// The key dispatcher: one fixed chain over the modes of the game. The first
// mode that is active takes the key and no other code sees it; a key that
// reaches the field is decided by the key table.
#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "field/title_menu.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "shell/field_keys.h"
#include "shell/shell.h"
#include "state/state.h"

namespace {

// The key that closes a finished battle, unless an event waits for it.
void battle_over_key(int key) {
  if (events.wait_answer) return event_key(static_cast<u32>(key));
  field_menu.cmd_menu = CMD_CLOSED;
  end_battle_key();
}

// Rules 4 to 13: the modes that own every key while they are on. Returns
// true when one of them took the key.
bool mode_key(int key) {
  // An event that turned the ending on may still wait for a key; it gets
  // it further down, ends, and only then brings the ending.
  if (game.sb.flags[FLAG_ENDING] == 1 && !events.wait_answer) return true;
  if (battle.gameover_state == 2) return true;
  if (battle.gameover_state != 0) {
    gameover_key(); // the wiped-out line, then the game-over screen
    return true;
  }
  if (field_menu.system_win) {
    system_key(key);
    return true;
  }
  if (battle.battle_mode == BATTLE_FIGHTING) {
    if (battle.battle_wait_open)
      battle.battle_wait_open = 0;
    else
      battle_key(key);
    return true;
  }
  if (battle.battle_mode == BATTLE_OVER) {
    battle_over_key(key);
    return true;
  }
  if (services.shop_win) {
    play_menusound();
    shop_key(key);
    return true;
  }
  // the shop's sale question waits here too, so the shop comes first
  if (events.wait_answer) {
    event_key(static_cast<u32>(key));
    return true;
  }
  if (services.inn_win) {
    play_menusound();
    inn_key(key);
    return true;
  }
  if (services.church_win) {
    play_menusound();
    church_key(key);
    return true;
  }
  return false;
}

// The ending screen stays until the program is closed: only the closing
// keys work, even while its tune plays, and no key restarts the map's music
// or reaches the field behind it. The menu bar is not a key and still works.
void ending_key(int key) {
  if (key_role(key, IN_FIELD) != KEY_QUIT) return;
  music_stop();
  plat_post_message(MSG_CLOSE);
}

} // namespace

void key_dispatch(int key) {
  if (title_screens.title_mode != 0) return title_key(key);
  if (events.ending_shown == 1) return ending_key(key);
  // a one-off tune swallows every key; otherwise the map's music comes back
  if (music_key_restart()) return;
  if (msg_window.msg_wait_key) {
    msg_window.msg_wait_key = 0;
    msg_window.msg_line_delay_phase =
        msg_window.msg_line_delay - 1; // the next line at the next tick
    return;
  }
  if (mode_key(key)) return;
  field_key(key);
}
