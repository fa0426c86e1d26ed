#include "tools/replay/script.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

struct named_key {
  const char* name;
  int code;
};

const named_key keys[] = {
    {"BACK", 0x08},    {"TAB", 0x09},     {"RETURN", 0x0D},     {"ENTER", 0x0D},  {"SHIFT", 0x10},
    {"CONTROL", 0x11}, {"CONVERT", 0x1C}, {"NONCONVERT", 0x1D}, {"ESCAPE", 0x1B}, {"ESC", 0x1B},
    {"SPACE", 0x20},   {"PRIOR", 0x21},   {"NEXT", 0x22},       {"END", 0x23},    {"HOME", 0x24},
    {"LEFT", 0x25},    {"UP", 0x26},      {"RIGHT", 0x27},      {"DOWN", 0x28},   {"INSERT", 0x2D},
    {"DELETE", 0x2E},
};

// A whole-word unsigned number, decimal or 0x hexadecimal, at most max.
bool number(const std::string& s, std::uint32_t max, std::uint32_t* out) {
  if (s.empty() || s[0] == '-' || s[0] == '+') return false;
  char* end = nullptr;
  unsigned long long v = std::strtoull(s.c_str(), &end, 0);
  if (*end != '\0' || v > max) return false;
  *out = static_cast<std::uint32_t>(v);
  return true;
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string s; in >> s;) w.push_back(s);
  return w;
}

// The meaning of one command's words; an empty string when it is well formed.
std::string parse_step(const std::vector<std::string>& w, replay_step& s) {
  const std::string& cmd = w[0];
  size_t args = w.size() - 1;
  auto want = [&](size_t lo, size_t hi) { return args >= lo && args <= hi; };
  if (cmd == "key") {
    if (!want(1, 1)) return "key takes one key name";
    int k = key_by_name(w[1]);
    if (k < 0) return "unknown key \"" + w[1] + "\"";
    s.op = OP_KEY, s.value = static_cast<std::uint32_t>(k);
  } else if (cmd == "tick") {
    if (!want(0, 1)) return "tick takes at most one count";
    s.op = OP_TICK, s.value = 1;
    if (args == 1 && !number(w[1], 1000000, &s.value)) return "bad tick count \"" + w[1] + "\"";
  } else if (cmd == "wait") {
    if (!want(1, 1) || !number(w[1], 100000000, &s.value)) return "wait takes milliseconds";
    s.op = OP_WAIT;
  } else if (cmd == "menu") {
    if (!want(1, 1) || !number(w[1], 0xFFFF, &s.value)) return "menu takes a command id";
    s.op = OP_MENU;
  } else if (cmd == "activate") {
    if (!want(1, 1) || (w[1] != "0" && w[1] != "1")) return "activate takes 0 or 1";
    s.op = OP_ACTIVATE, s.value = w[1] == "1";
  } else if (cmd == "shot" || cmd == "dump") {
    if (!want(1, 1)) return cmd + " takes one file name";
    s.op = cmd == "shot" ? OP_SHOT : OP_DUMP, s.file = w[1];
  } else {
    return "unknown command \"" + cmd + "\"";
  }
  return "";
}

} // namespace

int key_by_name(const std::string& name) {
  std::string n = upper(name);
  if (n.size() == 1 && (std::isupper(static_cast<unsigned char>(n[0])) ||
                        std::isdigit(static_cast<unsigned char>(n[0]))))
    return n[0];
  for (const named_key& k : keys)
    if (n == k.name) return k.code;
  std::uint32_t v = 0;
  if (n.size() > 1 && n[0] == 'F' && number(n.substr(1), 24, &v) && v >= 1)
    return 0x70 + static_cast<int>(v) - 1;
  if (n.rfind("NUMPAD", 0) == 0 && n.size() == 7 && std::isdigit(static_cast<unsigned char>(n[6])))
    return 0x60 + (n[6] - '0');
  if (n.rfind("0X", 0) == 0 && number(name, 0xFE, &v) && v >= 1) return static_cast<int>(v);
  return -1;
}

int parse_script(const std::string& text, std::vector<replay_step>& out, std::string* error) {
  out.clear();
  std::istringstream in(text);
  int line_no = 0;
  for (std::string line; std::getline(in, line);) {
    line_no++;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> w = words(line);
    if (w.empty() || w[0][0] == '#') continue;
    replay_step s;
    s.line = line_no;
    std::string why = parse_step(w, s);
    if (!why.empty()) {
      *error = "line " + std::to_string(line_no) + ": " + why;
      return 1;
    }
    out.push_back(s);
  }
  return 0;
}
