#include "audio/music.h"
#include "battle/battle.h"
#include "event/event_internal.h"
#include "message/message.h"
#include "platform/platform.h"
#include "state/save_slots.h"

#include <cstdio>
#include <cstring>

// A message line read from a file may lack its zero: it is cut at 159 bytes.
int run_print(const event_op& o, int mode) {
  if (!op_fits(o, 2)) return op_cut_off();
  char text[EVENT_MSG_SIZE];
  std::memcpy(text, event_msg[o.c[o.p + 1]], EVENT_MSG_SIZE - 1);
  text[EVENT_MSG_SIZE - 1] = 0;
  msg_print(mode, text);
  events.event_pc = o.p + 2;
  return RUN_ON;
}

static bool answer_holds(u8 letter) {
  return (letter == ANS_YES && events.answer_key == 'Y') ||
         (letter == ANS_NO && events.answer_key == 'N');
}

int run_ans(const event_op& o) {
  if (!op_fits(o, 3)) return op_cut_off();
  events.wait_answer = 0;
  events.event_pc = answer_holds(o.c[o.p + 1]) ? o.p + 3 : o.c[o.p + 2];
  return RUN_ON;
}

static bool in_bag(u8 item_no) {
  for (u8 e : game.sb.bag)
    if (e == item_no) return true;
  return false;
}

static bool party_holds(u8 item_no) {
  for (int m = 0; m < 3; m++)
    for (u8 e : game.sb.party[m].items)
      if (e == item_no) return true;
  return false;
}

// 1 holds, 0 fails, or the error code of a bad operation byte.
static int condition(const u8* q) {
  u8 op = q[2];
  switch (q[0]) {
  case sci_system:
    if (op != sci_on && op != sci_off) return SCIC_SYSFLG;
    return game.sb.flags[q[1]] == (op == sci_on ? 1 : 0);
  case sci_sysitem:
  case sci_item:
    if (op != sci_on && op != sci_off) return SCIC_SYSITEM;
    return (q[0] == sci_item ? party_holds(q[1]) : in_bag(q[1])) == (op == sci_on);
  default:
    return SCIC_IF_ERR;
  }
}

int run_if(const event_op& o) {
  if (!op_fits(o, 2)) return op_cut_off();
  const u8* q = o.c + o.p + 1;
  if (q[0] == sci_ans) {
    if (!op_fits(o, 4)) return op_cut_off();
    events.wait_answer = 0;
    events.event_pc = answer_holds(q[1]) ? o.p + 4 : q[2];
    return RUN_ON;
  }
  if (q[0] != sci_system && q[0] != sci_sysitem && q[0] != sci_item)
    return event_error(SCIC_IF_ERR);
  if (!op_fits(o, 5)) return op_cut_off();
  int holds = condition(q);
  if (holds > 1) return event_error(holds);
  events.event_pc = holds ? o.p + 5 : q[3];
  return RUN_ON;
}

int run_system(const event_op& o) {
  if (!op_fits(o, 3)) return op_cut_off();
  u8 op = o.c[o.p + 2];
  if (op != sci_on && op != sci_off) return event_error(SCIC_SYSFLG);
  game.sb.flags[o.c[o.p + 1]] = op == sci_on ? 1 : 0;
  events.event_pc = o.p + 3;
  return RUN_ON;
}

// get: the first entry that is 0 takes the item; put: the first entry that
// holds it becomes 0. No room, or no such item, changes nothing.
static void get_or_put(u8* entries, int count, u8 item_no, bool get) {
  u8 look_for = get ? 0 : item_no;
  for (int i = 0; i < count; i++)
    if (entries[i] == look_for) {
      entries[i] = get ? item_no : 0;
      return;
    }
}

int run_sysitem(const event_op& o) {
  if (!op_fits(o, 3)) return op_cut_off();
  u8 op = o.c[o.p + 2];
  if (op != sci_get && op != sci_put) return event_error(SCIC_SYSITEM);
  get_or_put(game.sb.bag, 20, o.c[o.p + 1], op == sci_get);
  events.event_pc = o.p + 3;
  return RUN_ON;
}

// Members 0, 1 and 2 in turn, as one list of 48 entries.
int run_item(const event_op& o) {
  if (!op_fits(o, 3)) return op_cut_off();
  u8 op = o.c[o.p + 2];
  if (op != sci_get && op != sci_put) return event_error(SCIC_ITEM);
  u8 all[48];
  for (int m = 0; m < 3; m++) std::memcpy(all + 16 * m, game.sb.party[m].items, 16);
  get_or_put(all, 48, o.c[o.p + 1], op == sci_get);
  for (int m = 0; m < 3; m++) std::memcpy(game.sb.party[m].items, all + 16 * m, 16);
  events.event_pc = o.p + 3;
  return RUN_ON;
}

// An entry past the list, or one that names no file, plays nothing; the
// tune flag then stays clear, so that keys are not swallowed for ever.
static bool entry_is_file(int n) {
  if (n < 0 || n >= MUSIC_COUNT) return false;
  const char* e = game.music_list[n];
  std::size_t len = strnlen(e, sizeof game.music_list[n]);
  if (len == sizeof game.music_list[n]) return false;
  return std::strspn(e, " \t") < len;
}

int run_music(const event_op& o) {
  if (!op_fits(o, 2)) return op_cut_off();
  u8 op = o.c[o.p + 1];
  if (op == sci_stop) {
    music_stop();
    events.event_pc = o.p + 2;
    return RUN_ON;
  }
  if (op != sci_start) return event_error(SCIC_MUSIC);
  if (!op_fits(o, 3)) return op_cut_off();
  music_stop();
  music.field_music_on = 0;
  if (entry_is_file(o.c[o.p + 2])) play_tune(o.c[o.p + 2]);
  events.event_pc = o.p + 3;
  return RUN_ON;
}

int run_sound(const event_op& o) {
  if (!op_fits(o, 2)) return op_cut_off();
  u8 op = o.c[o.p + 1];
  if (op == sci_stop) {
    plat_debug_out("sci_sound: stop\n");
    events.event_pc = o.p + 2;
    return RUN_ON;
  }
  if (op != sci_start) return event_error(SCIC_SOUND);
  if (!op_fits(o, 3)) return op_cut_off();
  char line[32];
  std::snprintf(line, sizeof line, "sci_sound: %03d start\n", o.c[o.p + 2]);
  plat_debug_out(line);
  events.event_pc = o.p + 3;
  return RUN_ON;
}

int run_battle(const event_op& o) {
  if (!op_fits(o, 2)) return op_cut_off();
  u8 species_no = o.c[o.p + 1];
  music_stop();
  if (entry_is_file(species_no == 204 ? 8 : 2)) play_music_entry(species_no == 204 ? 8 : 2);
  msg_print(PRINT_NEW, ">敵だ！");
  battle.figure = events.event_person;
  start_set_battle(species_no);
  events.wait_answer = 1;
  events.event_pc = o.p + 2;
  return RUN_WAIT;
}
