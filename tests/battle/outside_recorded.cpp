// The message printer and the field's map change as the battle sees them,
// recorded, for as long as the game has none of its own to link against.
// The printer keeps what the player would read: names put in for their
// tokens, lines cut at 39 bytes without splitting a double-byte character.
#include "outside_recorded.h"
#include "battle/battle_links.h"
#include "battle_fixture.h"

#include <cstring>

i32 msg_visible = 0;

namespace {
std::vector<std::string> store;
int maps_entered = 0;

bool dbcs_pair(unsigned char a, unsigned char b) {
  if ((a >= 0x81 && a <= 0x9F) || (a >= 0xE0 && a <= 0xE9)) return b >= 0x40;
  return a == 0xEA && b >= 0x40 && b <= 0xAF;
}

int token_number(const char* p, int digits) {
  int v = 0;
  for (int i = 0; i < digits; i++) v = v * 10 + (p[i] == ' ' ? 0 : p[i] - '0');
  return v;
}

void put_name(std::string& out, const char* name, int width) {
  for (int i = 0; i < width && name[i] && name[i] != ' '; i++) out += name[i];
}

// The four name tokens in the order the printer looks for them.
size_t expand_token(std::string& out, const char* t) {
  size_t i = 0;
  if (!std::strncmp(t, "@NAME", 5))
    put_name(out, st.sb.party[token_number(t + 5, 1) % 5].name, 16), i += 6;
  if (!std::strncmp(t + i, "@ITEM", 5))
    put_name(out, st.item_table[token_number(t + i + 5, 3) & 255].name, 16), i += 8;
  if (!std::strncmp(t + i, "@WMSD", 5))
    put_name(out, bt.monsters[token_number(t + i + 5, 3) & 7].name, 16), i += 8;
  if (!std::strncmp(t + i, "@MAGIC", 6))
    put_name(out, st.magic_table[token_number(t + i + 6, 2) & 31].name, 8), i += 8;
  return i;
}

void append_lines(const std::string& text) {
  std::string line;
  for (size_t p = 0; p < text.size();) {
    size_t w = p + 1 < text.size() && dbcs_pair(text[p], text[p + 1]) ? 2 : 1;
    if (line.size() + 2 < 39) {
      line += text.substr(p, w);
    } else if (w == 2) {
      store.push_back(line);
      line = text.substr(p, 2);
    } else {
      store.push_back(line + text[p]);
      line.clear();
    }
    p += w;
  }
  store.push_back(line);
}
} // namespace

void msg_print(int mode, const char* text) {
  if (mode == 1) store.clear();
  if (!text) {
    msg_visible = 0;
    for (std::string& l : store) l.clear();
    return;
  }
  std::string out;
  for (size_t i = 0; out.size() < 160 && text[i] && text[i] != '\n' && text[i] != '\r';) {
    i += expand_token(out, text + i);
    if (!text[i]) break;
    out += text[i++];
  }
  append_lines(out.substr(0, 160));
  msg_visible = 1;
}

void enter_map(int map, int x, int y) {
  maps_entered++;
  st.cur_map = map;
  st.pos_x = x;
  st.pos_y = y;
}

void reset_outside() {
  store.clear();
  msg_visible = 0;
  maps_entered = 0;
}

std::vector<std::string> lines() {
  return store;
}

int maps_entered_count() {
  return maps_entered;
}
