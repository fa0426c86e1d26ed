// What the interpreter's sources share: the statement being run and the
// handlers of its opcodes.
#pragma once
#include "event/event.h"

// How a statement left the run.
enum : int {
  RUN_ON = 0,   // go on with the next statement at event_pc
  RUN_WAIT = 1, // suspended until the next key
  RUN_END = 2,  // an error ended the run
};

// The statement at p of the current event, whose code is len bytes long.
struct event_op {
  const u8* c;
  int p;
  int len;
};

// True when the statement's n bytes (opcode included) lie inside the code.
inline bool op_fits(const event_op& o, int n) {
  return o.p + n <= o.len;
}

// Shows the error line for the statement at event_pc; end 1 also ends the run.
int event_error(int code, bool end = true);
// The error 206 of a statement whose operands lie past the end of its code.
int op_cut_off();

int run_print(const event_op& o, int mode);
int run_if(const event_op& o);
int run_ans(const event_op& o);
int run_system(const event_op& o);
int run_sysitem(const event_op& o);
int run_item(const event_op& o);
int run_music(const event_op& o);
int run_sound(const event_op& o);
int run_status(const event_op& o);
int run_battle(const event_op& o);
