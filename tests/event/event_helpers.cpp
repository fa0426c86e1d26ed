#include "event_helpers.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "state/state.h"

#include <algorithm>
#include <cstdio>

void fresh_game() {
  reset_state();
  reset_battle_state();
  reset_music_state();
  headless_reset();
  reset_message_state();
  std::remove("rpgpcd.pcd");
  ev.event_no = ev.event_pc = ev.wait_answer = 0;
  ev.answer_key = 0;
  ev.event_person = ev.last_error = 0;
  ev.ending_shown = 0;
}

std::vector<std::string> shown() {
  std::vector<std::string> out;
  for (int i = 0; i < mw.msg_count && i < MSG_LINES; i++) out.push_back(mw.msg_line[i]);
  return out;
}

bool ending_is_shown() {
  return ev.ending_shown == 1;
}

int saves_made() {
  std::FILE* f = std::fopen("rpgpcd.pcd", "rb");
  if (!f) return 0;
  std::fclose(f);
  return 1;
}

bool logged(const std::string& line) {
  return std::find(headless.log.begin(), headless.log.end(), line) != headless.log.end();
}
