#include "audio/music.h"
#include "battle/battle_internal.h"
#include "message/message.h"

// The battle keys dismiss the report window; they never clear its lines.
bool message_shown() {
  return mw.msg_visible != 0;
}

void hide_message() {
  mw.msg_visible = 0;
}

// Back to the field after a won, fled or lost-but-allowed battle. A set
// fight's NPC is gone until the map is entered again, and no random
// encounter comes until the next stairs or edge exit.
void end_battle_key() {
  if (bt.fixed_battle == 1) {
    if (bt.figure >= 0 && bt.figure < NPC_COUNT) {
      npc& n = st.npc_table[bt.figure];
      if (n.type == 2 || n.type == 3) n.state = 1;
    }
    bt.fixed_battle = 0;
    st.encounters_on = 0;
  }
  hide_message();
  mus.field_music_on = 1;
  music_stop();
  play_music_entry(st.cur_music);
  bt.battle_mode = BATTLE_NONE;
}
