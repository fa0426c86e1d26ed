#include "audio/music.h"
#include "battle/battle_internal.h"
#include "message/message.h"

// The battle keys dismiss the report window; they never clear its lines.
bool message_shown() {
  return msg_window.msg_visible != 0;
}

void hide_message() {
  msg_window.msg_visible = 0;
}

// Back to the field after a won, fled or lost-but-allowed battle. A set
// fight's NPC is gone until the map is entered again, and no random
// encounter comes until the next stairs or edge exit.
void end_battle_key() {
  if (battle.fixed_battle == 1) {
    if (battle.figure >= 0 && battle.figure < NPC_COUNT) {
      npc& n = game.npc_table[battle.figure];
      if (n.type == 2 || n.type == 3) n.state = 1;
    }
    battle.fixed_battle = 0;
    game.encounters_on = 0;
  }
  hide_message();
  music.field_music_on = 1;
  music_stop();
  play_music_entry(game.cur_music);
  battle.battle_mode = BATTLE_NONE;
}
