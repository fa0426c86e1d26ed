#include "event/scic_internal.h"

#include <cstring>
#include <initializer_list>

namespace {

const char* const ON_OFF[] = {"on", "off"};
const char* const ON_OFF_GET_PUT[] = {"on", "off", "get", "put"};
const char* const START_STOP[] = {"start", "stop"};
const char* const UP_DOWN_SET[] = {"up", "down", "set"};

int add_all(scic_stmt* out, std::initializer_list<int> bytes, int error) {
  for (int b : bytes)
    if (stmt_add(out, b)) return error;
  return 0;
}

// systemNNN / sysitemNNN / itemNNN: opcode, number, operation byte 0x58 + the
// index of the word found.
int flag_like(const char* num, int opcode, const char* const* words, int count, int error,
              scic_stmt* out) {
  int n = 0;
  char chars[4];
  if (read_number(num, &n, chars)) return error;
  if (opcode == sci_system) scic_trace("system1 %s\n", chars);
  if (opcode == sci_system) scic_trace("system2 %04x %d\n", n, n);
  const char* after = nullptr;
  int w = find_word(num + 3, words, count, &after);
  if (w < 0) {
    if (opcode == sci_system) scic_trace("s_check error.\n");
    return error;
  }
  return add_all(out, {opcode, n, sci_on + w}, error);
}

int sound_stmt(const char* num, scic_stmt* out) {
  int n = 0;
  char chars[4];
  if (read_number(num, &n, chars)) return SOUND_ERROR;
  const char* after = nullptr;
  int w = find_word(num + 3, START_STOP, 2, &after);
  if (w < 0) return SOUND_ERROR;
  if (w == 0) return add_all(out, {sci_sound, sci_start, n}, SOUND_ERROR);
  return add_all(out, {sci_sound, sci_stop}, SOUND_ERROR);
}

// The value is stored as 16 bits, high byte first, so that values above 255
// reach the 16- and 32-bit fields whole.
int status_stmt(const char* num, scic_stmt* out) {
  int index = 0, value = 0;
  char chars[4], vchars[4];
  if (read_number(num, &index, chars)) return STATUS_ERROR;
  scic_trace("status1 %s\n", chars);
  scic_trace("status2 %04x %d\n", index, index);
  const char* after = nullptr;
  int w = find_word(num + 3, UP_DOWN_SET, 3, &after);
  if (w < 0) {
    scic_trace("s_check error.\n");
    return STATUS_ERROR;
  }
  if (read_number(after, &value, vchars)) return STATUS_ERROR;
  scic_trace("status %s %s\n", UP_DOWN_SET[w], vchars);
  u16 v = static_cast<u16>(value);
  return add_all(out, {sci_status, index, sci_up + w, v >> 8, v & 0xFF}, STATUS_ERROR);
}

// The condition of an if: from the first a, i or s after the keyword.
int if_stmt(const char* rest, scic_stmt* out) {
  if (stmt_add(out, sci_if)) return IF_ERROR;
  const char* cond = std::strpbrk(rest, "ais");
  if (!cond) return IF_ERROR;
  int rc = 0;
  if (*cond == 'a')
    rc = a_check(cond, out);
  else if (*cond == 'i')
    rc = i_check(cond, out);
  else
    rc = s_check(cond, out);
  if (rc) return rc;
  if (out->jump_count >= SCIC_IF_DEPTH) return IF_ERROR;
  out->jumps[out->jump_count++] = out->n;
  return stmt_add(out, 0) ? IF_ERROR : 0;
}

} // namespace

int a_check(const char* text, scic_stmt* out) {
  scic_trace("a_check start. >> %s\n", text);
  if (!starts_with(text, "ans")) return ANS_ERROR;
  const char* answer = std::strpbrk(text + 3, "ny");
  if (!answer) return ANS_ERROR;
  return add_all(out, {sci_ans, *answer}, ANS_ERROR);
}

int i_check(const char* text, scic_stmt* out) {
  scic_trace("i_check start. >> %s\n", text);
  if (starts_with(text, "item"))
    return flag_like(text + 4, sci_item, ON_OFF_GET_PUT, 4, ITEM_ERROR, out);
  if (starts_with(text, "if")) return if_stmt(text + 2, out);
  if (starts_with(text, "input")) return add_all(out, {sci_input}, IF_ERROR);
  return IF_ERROR;
}

int m_check(const char* text, scic_stmt* out) {
  scic_trace("m_check start. >> [%d] %s\n", scic.line_no, text);
  if (!starts_with(text, "music")) return MUSIC_ERROR;
  int n = 0;
  char chars[4];
  if (read_number(text + 5, &n, chars) || n < 0 || n > 255) return MUSICN_ERROR;
  const char* after = nullptr;
  int w = find_word(text + 8, START_STOP, 2, &after);
  if (w < 0) return MUSIC_ERROR;
  if (w == 0) return add_all(out, {sci_music, sci_start, n}, MUSIC_ERROR);
  return add_all(out, {sci_music, sci_stop}, MUSIC_ERROR);
}

// The text runs from the first quote of either kind to the next of either
// kind; *msg and *len locate it in the line.
int p_check(const char* text, scic_stmt* out, const char** msg, int* len) {
  scic_trace("p_check start. >> %s\n", text);
  int op = starts_with(text, "printn") ? sci_printn : starts_with(text, "printc") ? sci_printc : 0;
  if (!op) return PCHK_ERROR;
  const char* open = std::strpbrk(text + 6, "\"'");
  if (!open) return PCHK_ERROR;
  const char* close = std::strpbrk(open + 1, "\"'\n");
  if (!close || *close == '\n') return PCHK_ERROR;
  if (scic.event_msg_count >= EVENT_MSG_COUNT) return PCHK_ERROR;
  *msg = open + 1;
  *len = static_cast<int>(close - open - 1);
  return add_all(out, {op, scic.event_msg_count}, PCHK_ERROR);
}

int s_check(const char* text, scic_stmt* out) {
  scic_trace("s_check start. >> %s\n", text);
  if (starts_with(text, "system"))
    return flag_like(text + 6, sci_system, ON_OFF, 2, SYSNUM_ERROR, out);
  if (starts_with(text, "sysitem"))
    return flag_like(text + 7, sci_sysitem, ON_OFF_GET_PUT, 4, SYSITEM_ERROR, out);
  if (starts_with(text, "sound")) return sound_stmt(text + 5, out);
  if (starts_with(text, "status")) return status_stmt(text + 6, out);
  return S_ERROR;
}
