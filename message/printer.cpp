// The message printer: names put in for their tokens, the text cut into
// window lines without splitting a double-byte character, the lines added to
// the store. The window reveals them frame by frame (message_window.cpp).
#include "battle/battle.h"
#include "message/message.h"

#include <cstring>

namespace {

// A name token: its word, the number of digits after it and how far the
// input moves on past it (the magic token is one byte longer than its word
// and two digits, so it too moves by eight).
struct name_token {
  const char* word;
  int len, digits, advance;
};
// In the order the printer looks for them at one place of the text.
const name_token name_tokens[4] = {
    {"@NAME", 5, 1, 6}, {"@ITEM", 5, 3, 8}, {"@WMSD", 5, 3, 8}, {"@MAGIC", 6, 2, 8}};

// Callers write "@MAGIC%2d" as well as "@MAGIC%02d": a blank counts as 0.
// -1 when a byte is no digit, which names no entry.
int token_number(const char* p, int digits) {
  int v = 0;
  for (int k = 0; k < digits; k++) {
    char c = p[k] == ' ' ? '0' : p[k];
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

// The name field a token number stands for, or nullptr when the number is
// outside its table: such a token then stands for nothing.
const char* token_name(int kind, int n, int* width) {
  if (n < 0) return nullptr;
  switch (kind) {
  case 0:
    *width = sizeof game.sb.party[0].name;
    return n < 5 ? game.sb.party[n].name : nullptr;
  case 1:
    *width = sizeof game.item_table[0].name;
    return n < 256 ? game.item_table[n].name : nullptr;
  case 2:
    *width = sizeof battle.monsters[0].name;
    return n < MONSTER_SLOTS ? battle.monsters[n].name : nullptr;
  default:
    *width = sizeof game.magic_table[0].name;
    return n < 32 ? game.magic_table[n].name : nullptr;
  }
}

struct expansion {
  const char* in;
  int i = 0;
  char* out;
  int o = 0;
};

// A name is copied up to its first blank or NUL, and never past the end of
// the work buffer however long the names of one text are together.
void copy_name(expansion& e, const char* name, int width) {
  for (int k = 0; k < width && name[k] && name[k] != ' ' && e.o < MSG_EXPAND_SIZE; k++)
    e.out[e.o++] = name[k];
}

// A token at the input position: its name copied, the input moved past it.
// A token whose digits the text ends inside is no token; it stays as text.
void expand_token(expansion& e, int kind) {
  const name_token& t = name_tokens[kind];
  const char* p = e.in + e.i;
  if (std::strncmp(p, t.word, t.len) != 0) return;
  for (int k = 0; k < t.digits; k++)
    if (!p[t.len + k]) return;
  int width = 0;
  if (const char* name = token_name(kind, token_number(p + t.len, t.digits), &width))
    copy_name(e, name, width);
  e.i += t.advance;
}

int store_next_line() {
  if (msg_window.msg_count < MSG_LINES - 1) msg_window.msg_count++;
  return msg_window.msg_count;
}

// The line a text is written into; a line written anew may stop the reveal
// at its own page mark again.
char* start_line(int k) {
  if (msg_window.msg_wait_line == k) msg_window.msg_wait_line = -1;
  return msg_window.msg_line[k];
}

// Cuts the text into lines of at most 39 bytes; a double-byte character
// that would end past column 38 begins the next line instead.
void put_lines(const char* text, int n) {
  char* line = start_line(msg_window.msg_count);
  int c = 0;
  for (int p = 0; p < n;) {
    int w = is_dbcs_pair(static_cast<u8>(text[p]), static_cast<u8>(text[p + 1])) ? 2 : 1;
    if (c + 2 < MSG_LINE_BYTES) {
      std::memcpy(line + c, text + p, w);
      c += w;
    } else if (w == 2) {
      line[c] = 0;
      line = start_line(store_next_line());
      std::memcpy(line, text + p, 2);
      c = 2;
    } else {
      line[c] = text[p];
      line[c + 1] = 0;
      line = start_line(store_next_line());
      c = 0;
    }
    p += w;
  }
  line[c] = 0;
  store_next_line();
}

} // namespace

int msg_expand(const char* text, char (&out)[MSG_EXPAND_SIZE + 1]) {
  std::memset(out, 0, sizeof out);
  expansion e{text, 0, out, 0};
  while (e.o < MSG_EXPAND_SIZE && text[e.i] && text[e.i] != '\n' && text[e.i] != '\r') {
    for (int kind = 0; kind < 4; kind++) expand_token(e, kind);
    if (e.o >= MSG_EXPAND_SIZE) break;
    char c = text[e.i];
    out[e.o++] = c;
    if (!c) break; // a token stood last
    e.i++;
  }
  return static_cast<int>(std::strlen(out));
}

void msg_print(int mode, const char* text) {
  if (mode == PRINT_NEW) {
    msg_window.msg_count = msg_window.msg_reveal_line = msg_window.msg_top_line =
        msg_window.msg_reveal_col = 0;
    std::memset(msg_window.msg_line, 0, sizeof msg_window.msg_line);
    msg_window.msg_wait_line = -1;
  }
  if (!text) {
    msg_window.msg_visible = 0;
    for (auto& line : msg_window.msg_line) line[0] = 0;
    return;
  }
  char out[MSG_EXPAND_SIZE + 1];
  int n = msg_expand(text, out);
  put_lines(out, n);
  msg_window.msg_visible = 1;
}
