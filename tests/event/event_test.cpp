#include "event_test.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "message/message.h"
#include "platform/headless/headless.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

const char* const EXAMPLE = "evt012\n"
                            "if system040 off\n"
                            "  printn \"Will you help us?\"\n"
                            "input\n"
                            "if ans y\n"
                            "item007 get\n"
                            "system040 on\n"
                            "else\n"
                            "printc 'Pity.'\n"
                            "endif\n"
                            "endif\n"
                            "endevt\n";

int compile(const std::string& source) {
  reset_event_state();
  reset_scic_state();
  for (const char* f : {"eventdat.evt", "eventmsg.msg", "eventmsg.mgb"}) std::remove(f);
  char name[32];
  for (int n = 0; n < EVENT_COUNT; n++) {
    std::snprintf(name, sizeof name, "event%03d.evt", n);
    std::remove(name);
  }
  return scic_compile_source(source.data(), source.size());
}

bool file_exists(const char* name) {
  return std::ifstream(name).good();
}

std::vector<int> table_code(int n, bool from_file) {
  event_record r = event_table[n];
  std::vector<u8> all = read_file("eventdat.evt");
  if (from_file && all.size() != sizeof events.table) return {};
  if (from_file) std::memcpy(&r, &all[sizeof r * n], sizeof r);
  return std::vector<int>(r.code, r.code + std::min<int>(r.length, EVENT_CODE_MAX));
}

int first_error(int* line) {
  if (scic.error_count == 0) return 0;
  if (line) *line = scic.errors[0].line;
  return scic.errors[0].code;
}

void fresh_game() {
  reset_state();
  reset_battle_state();
  reset_music_state();
  headless_reset();
  reset_message_state();
  std::remove("rpgpcd.pcd");
  events.event_no = events.event_pc = events.wait_answer = 0;
  events.answer_key = 0;
  events.event_person = events.last_error = 0;
  events.ending_shown = 0;
}

std::vector<std::string> shown() {
  std::vector<std::string> out;
  for (int i = 0; i < msg_window.msg_count && i < MSG_LINES; i++)
    out.push_back(msg_window.msg_line[i]);
  return out;
}
