// The message printer, the ending screen and the save slots as the
// interpreter sees them, recorded, for as long as the game has none of its
// own to link against.
#include "event/event_links.h"
#include "event_helpers.h"

#include <string>
#include <vector>

namespace {
std::vector<std::string> lines;
int saves = 0;
} // namespace

int ending_shown = 0;

void msg_print(int mode, const char* text) {
  if (mode == 1) lines.clear();
  if (text) lines.push_back(text);
}

int save_slot(int) {
  return ++saves, 0;
}

void fresh_game_outside() {
  lines.clear();
  saves = 0;
  ending_shown = 0;
}

std::vector<std::string> shown() {
  return lines;
}
bool ending_is_shown() {
  return ending_shown == 1;
}
int saves_made() {
  return saves;
}
