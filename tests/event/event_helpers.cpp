#include "event_helpers.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "platform/headless/headless.h"
#include "state/state.h"

#include <algorithm>

void fresh_game_outside(); // the message window, the ending screen, the save file

void fresh_game() {
  reset_state();
  reset_battle_state();
  reset_music_state();
  headless_reset();
  fresh_game_outside();
  ev.event_no = ev.event_pc = ev.wait_answer = 0;
  ev.answer_key = 0;
  ev.event_person = ev.last_error = 0;
}

bool logged(const std::string& line) {
  return std::find(headless.log.begin(), headless.log.end(), line) != headless.log.end();
}
