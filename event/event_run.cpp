#include "event/event_internal.h"
#include "message/message.h"
#include "platform/platform.h"
#include "state/save_slots.h"

#include <algorithm>
#include <cstdio>

// A record with a jump back and no wait would run for ever; no event the
// compiler writes comes near this many statements between two keys.
constexpr int RUN_LIMIT = 1 << 16;

int event_error(int code, bool end) {
  char line[48];
  const event_record& r = event_table[events.event_no & 255];
  int pc = std::clamp(events.event_pc, 0, EVENT_CODE_MAX - 1);
  std::snprintf(line, sizeof line, "err: byt%05d[%3d] err%04d", events.event_pc, r.code[pc], code);
  msg_print(PRINT_ADD, line);
  events.last_error = code;
  if (!end) return RUN_ON;
  events.event_pc = EVENT_CODE_MAX;
  return RUN_END;
}

int op_cut_off() {
  return event_error(SCIC_ERROR);
}

static int run_operand_byte(u8 op) {
  static const char* const names[] = {"error: sci_on\n", "error: sci_off\n", "error: sci_get\n",
                                      "error: sci_put\n"};
  if (op >= sci_on && op <= sci_put) plat_debug_out(names[op - sci_on]);
  return event_error(SCIC_ERROR);
}

static int run_jump(const event_op& o) {
  if (!op_fits(o, 2)) return op_cut_off();
  char line[32];
  std::snprintf(line, sizeof line, "sci_jump: %d [%d]\n", o.c[o.p + 1], o.p);
  plat_debug_out(line);
  events.event_pc = o.c[o.p + 1];
  return RUN_ON;
}

static int run_opcode(const event_op& o) {
  u8 op = o.c[o.p];
  switch (op) {
  case sci_printn:
    return run_print(o, PRINT_NEW);
  case sci_printc:
    return run_print(o, PRINT_ADD);
  case sci_ans:
    return run_ans(o);
  case sci_input:
    events.wait_answer = 1, events.event_pc = o.p + 1;
    return RUN_WAIT;
  case sci_if:
    return run_if(o);
  case sci_jump:
    return run_jump(o);
  case sci_system:
    return run_system(o);
  case sci_sysitem:
    return run_sysitem(o);
  case sci_item:
    return run_item(o);
  case sci_exit:
    plat_debug_out("sci_exit: イベント終了\n");
    events.event_pc = o.p + 1;
    return RUN_ON;
  case sci_music:
    return run_music(o);
  case sci_sound:
    return run_sound(o);
  case sci_status:
    return run_status(o);
  case sci_magic:
    msg_print(PRINT_NEW, "sci_magic:");
    return event_error(SCIC_ERROR);
  case sci_battle:
    return run_battle(o);
  default:
    return run_operand_byte(op);
  }
}

// The ending comes when the code ends, not when the flag is set, so that an
// event can say its last lines first.
static void end_of_code() {
  if (game.sb.flags[FLAG_ENDING] != 1) return;
  game.sb.flags[FLAG_ENDING] = 0;
  events.ending_shown = 1;
  save_slot(game.cur_slot);
}

void event_step() {
  const event_record& r = event_table[events.event_no & 255];
  int len = std::min<int>(r.length, EVENT_CODE_MAX);
  for (int count = 0; events.event_pc >= 0 && events.event_pc < len; count++) {
    if (count == RUN_LIMIT) {
      event_error(SCIC_ERROR);
      break;
    }
    if (run_opcode({r.code, events.event_pc, len}) == RUN_WAIT) return;
  }
  end_of_code();
}

void event_start(int n) {
  if (n < 0 || n >= EVENT_COUNT) return;
  events.event_no = n;
  events.event_pc = 0;
  events.last_error = 0;
  event_step();
}

void event_key(u32 vk) {
  events.answer_key = vk;
  events.wait_answer = 0;
  event_step();
}

void event_talk(int npc_index) {
  if (npc_index < 0 || npc_index >= NPC_COUNT) return;
  events.event_person = npc_index;
  event_start(game.npc_table[npc_index].a);
}

int event_door(int n) {
  event_start(n);
  return game.sb.flags[FLAG_DOOR_OPEN] == 1 ? 0 : 1;
}
