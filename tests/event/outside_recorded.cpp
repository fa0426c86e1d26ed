// What the interpreter left for the player: the lines of the message window,
// whether the ending screen is up, and whether the save file was written.
#include "event_helpers.h"
#include "gfx/title_screens.h"
#include "message/message.h"

#include <cstdio>
#include <string>
#include <vector>

void fresh_game_outside() {
  reset_message_state();
  reset_title_screens_state();
  std::remove("rpgpcd.pcd");
}

std::vector<std::string> shown() {
  std::vector<std::string> out;
  for (int i = 0; i < mw.msg_count && i < MSG_LINES; i++) out.push_back(mw.msg_line[i]);
  return out;
}

bool ending_is_shown() {
  return ts.ending_shown == 1;
}

int saves_made() {
  std::FILE* f = std::fopen("rpgpcd.pcd", "rb");
  if (!f) return 0;
  std::fclose(f);
  return 1;
}
