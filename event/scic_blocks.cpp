#include "event/scic_internal.h"

#include <algorithm>
#include <cstdio>

event_record& current_record() {
  return event_table[events.event_no & 255];
}

static int code_length() {
  return std::min<int>(current_record().length, EVENT_CODE_MAX);
}

int emit(const scic_stmt& s) {
  if (scic.depth + s.jump_count > SCIC_IF_DEPTH) return IF_ERROR;
  event_record& r = current_record();
  int at = code_length();
  bool fits = at + s.n <= EVENT_CODE_MAX;
  if (!fits) scic_report(EVTSET_ERROR);
  // An if that does not fit still opens its block, so that its else and
  // endif pair with it; it has no jump byte to fill.
  for (int j = 0; j < s.jump_count; j++)
    scic.if_stack[scic.depth++] = {fits ? at + s.jumps[j] : -1, -1, false};
  if (!fits) return EVTSET_ERROR;
  std::copy(s.bytes, s.bytes + s.n, r.code + at);
  r.length = static_cast<u16>(at + s.n);
  return 0;
}

static void set_jump(int at) {
  if (at >= 0 && at < EVENT_CODE_MAX) current_record().code[at] = static_cast<u8>(code_length());
}

static int evt_stmt(const char* num) {
  if (scic.in_event || scic.depth != 0) return EVTEXE_ERROR;
  int n = 0;
  char chars[4];
  if (read_number(num, &n, chars)) return EVTNUM_ERROR;
  if (n < 0 || n > 255) return EVTNUM1_ERROR;
  scic_trace("event_num = %d %x %s\n", n, n, chars);
  events.event_no = n;
  scic.in_event = true;
  current_record().length = 0;
  return 0;
}

static int open_elses() {
  int n = 0;
  for (int i = 0; i + 1 < scic.depth; i++) n += scic.if_stack[i].has_else;
  return n;
}

static int else_stmt() {
  if (scic.depth == 0 || scic.if_stack[scic.depth - 1].has_else) return ELSE_ERROR;
  scic_stmt s;
  stmt_add(&s, sci_jump);
  stmt_add(&s, 0);
  if (emit(s)) return 0; // dropped: the if goes on as if it had no else
  scic_if_entry& top = scic.if_stack[scic.depth - 1];
  top.has_else = true;
  top.else_at = code_length() - 1;
  set_jump(top.jump_at);
  scic_trace("ev=%d eljumpsv=%d jumpsv=%d else_nest=%d len=%d\n", events.event_no, top.jump_at,
             top.else_at, open_elses(), code_length());
  return 0;
}

static int endif_stmt() {
  if (scic.depth == 0) return ENDIF_ERROR;
  scic_if_entry top = scic.if_stack[--scic.depth];
  set_jump(top.has_else ? top.else_at : top.jump_at);
  return 0;
}

static void write_record_file() {
  char name[32];
  std::snprintf(name, sizeof name, "event%03d.evt", events.event_no & 255);
  std::FILE* f = std::fopen(name, "wb");
  if (!f) return; // the game never reads these files
  std::fwrite(&current_record(), sizeof(event_record), 1, f);
  std::fclose(f);
}

// A record already 128 bytes long needs no exit byte: its run ends there
// anyway, and the event still closes so that the next one can begin.
static int endevt_stmt() {
  if (!scic.in_event || scic.depth != 0) return EVTEXE_ERROR;
  if (code_length() < EVENT_CODE_MAX) {
    scic_stmt s;
    stmt_add(&s, sci_exit);
    emit(s);
  }
  scic.in_event = false;
  write_record_file();
  return 0;
}

int e_check(const char* text) {
  if (starts_with(text, "evt")) return evt_stmt(text + 3);
  if (starts_with(text, "else")) return else_stmt();
  if (starts_with(text, "endif")) return endif_stmt();
  if (starts_with(text, "endevt")) return endevt_stmt();
  return ECHK_ERROR;
}
