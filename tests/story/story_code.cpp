#include "story_code.h"
#include "message/message.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace {

std::string game_file(const char* name) {
  const char* dir = std::getenv("ZK_GAME_DIR");
  return std::string(dir ? dir : ZK_GAME_DIR) + "/" + name;
}

std::string story_bytes() {
  std::ifstream in(game_file("event.sci"), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Bytes a statement takes at p, 0 when it cannot be read there.
int stmt_size(const u8* c, int p, int len) {
  switch (c[p]) {
  case sci_printn:
  case sci_printc:
  case sci_jump:
  case sci_battle:
    return 2;
  case sci_input:
  case sci_exit:
    return 1;
  case sci_system:
  case sci_sysitem:
  case sci_item:
    return 3;
  case sci_music:
  case sci_sound:
    return p + 1 < len && c[p + 1] == sci_start ? 3 : 2;
  case sci_status:
    return 5;
  case sci_if:
    if (p + 1 >= len) return 0;
    if (c[p + 1] == sci_ans) return 4;
    return c[p + 1] == sci_system || c[p + 1] == sci_sysitem || c[p + 1] == sci_item ? 5 : 0;
  default:
    return 0;
  }
}

// The ways through one event, followed from statement to statement; both
// sides of every if are taken.
struct walker {
  int n;
  const event_record& r;
  std::set<std::string> faults;
  int paths = 0;

  struct where {
    int pc = 0;
    int page = 0;   // lines since the last page mark, wait or new report
    int unseen = 0; // lines printed since the last wait
    bool ending = false;
    bool held = false; // a looping piece was started: keys are ignored for a pass
  };

  void fault(int at, const char* what) {
    char line[96];
    std::snprintf(line, sizeof line, "event %03d at %d: %s", n, at, what);
    faults.insert(line);
  }
  void print(where& s, int at, bool fresh) {
    int m = r.code[at + 1];
    if (m >= scic.event_msg_count) fault(at, "prints a message that does not exist");
    if (s.ending) fault(at, "prints after the ending flag");
    if (fresh && s.unseen > 0) fault(at, "starts a new report over lines not yet shown");
    s.page = fresh ? 1 : s.page + 1;
    // The opening is typed out a byte at a time and scrolls as it is read.
    if (s.page > 6 && n != 255) fault(at, "fills a page of more than six lines");
    s.unseen++;
    if (std::strstr(event_msg[m], "@P")) s.page = 0;
  }
  void wait(where& s, int at) {
    if (s.ending) fault(at, "waits after the ending flag");
    if (s.held) fault(at, "waits while a looping piece holds the keys");
    s.page = s.unseen = 0;
  }
  void go(where s);
  // One statement; false when the way ends there.
  bool step(where& s);
};

bool walker::step(where& s) {
  const u8* c = r.code;
  int len = r.length, at = s.pc;
  int size = stmt_size(c, at, len);
  if (size == 0 || at + size > len) return fault(at, "cannot be read on"), false;
  s.pc += size;
  switch (c[at]) {
  case sci_printn:
  case sci_printc:
    print(s, at, c[at] == sci_printn);
    break;
  case sci_input:
    wait(s, at);
    break;
  case sci_exit:
    return false;
  case sci_if: {
    int to = c[at + size - 1];
    if (to <= at || to > len) return fault(at, "jumps outside the event or back"), false;
    where other = s;
    other.pc = to;
    go(other);
    break;
  }
  case sci_jump:
    if (c[at + 1] <= at || c[at + 1] > len)
      return fault(at, "jumps outside the event or back"), false;
    s.pc = c[at + 1];
    break;
  case sci_system:
    if (c[at + 1] == FLAG_ENDING && c[at + 2] == sci_on) s.ending = true;
    break;
  case sci_music: {
    static const int one_offs[] = {3, 7, 13, 16, 17, 20};
    bool once = false;
    for (int m : one_offs) once |= size == 3 && c[at + 2] == m;
    if (size == 3 && !once && n != 255) s.held = true;
    break;
  }
  case sci_battle:
    wait(s, at);
    break;
  }
  return true;
}

void walker::go(where s) {
  if (++paths > 4096) return fault(s.pc, "has too many ways through to follow");
  while (s.pc < r.length && step(s)) {
  }
}

} // namespace

int compile_story() {
  std::string src = story_bytes();
  reset_event_state();
  reset_scic_state();
  return scic_compile_source(src.data(), src.size());
}

std::vector<std::string> story_lines() {
  std::vector<std::string> out;
  std::stringstream in(story_bytes());
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<story_stmt> statements_of(int n) {
  const event_record& r = event_table[n];
  std::vector<story_stmt> out;
  for (int p = 0; p < r.length;) {
    int size = stmt_size(r.code, p, r.length);
    if (size == 0 || p + size > r.length) {
      out.push_back({p, -1, {}});
      break;
    }
    out.push_back({p, r.code[p], std::vector<int>(r.code + p + 1, r.code + p + size)});
    p += size;
  }
  return out;
}

// The message printer itself cuts the text, with every member's name four
// full-width characters long (the longest the default party may take) and
// the items named as the item table names them.
int window_lines(const char* msg) {
  reset_state();
  for (member& m : game.sb.party) {
    std::memset(m.name, ' ', sizeof m.name);
    std::memcpy(m.name, "\x82\x6d\x82\x6d\x82\x6d\x82\x6d", 8);
  }
  msg_print(PRINT_NEW, msg);
  return msg_window.msg_count;
}

std::vector<std::string> path_faults(int n) {
  walker w{n, event_table[n], {}, 0};
  if (w.r.length > 0) w.go({});
  return std::vector<std::string>(w.faults.begin(), w.faults.end());
}
