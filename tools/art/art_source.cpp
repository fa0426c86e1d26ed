#include "tools/art/art_source.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

std::string split_source(const std::string& path, const std::string& text,
                         std::vector<src_line>& out) {
  std::istringstream in(text);
  int n = 0;
  for (std::string s; std::getline(in, s);) {
    n++;
    if (auto c = s.find('#'); c != std::string::npos) s.erase(c);
    std::istringstream ws(s);
    src_line l{path, n, {}};
    for (std::string w; ws >> w;) l.words.push_back(w);
    if (!l.words.empty()) out.push_back(std::move(l));
  }
  return "";
}

std::string read_source(const std::string& path, std::vector<src_line>& out) {
  std::ifstream in(path);
  if (!in) return path + ": cannot be opened";
  std::stringstream text;
  text << in.rdbuf();
  return split_source(path, text.str(), out);
}

std::string fault(const src_line& l, const std::string& what) {
  return l.file + ":" + std::to_string(l.line) + ": " + what;
}

bool int_of(const std::string& w, int lo, int hi, int& out) {
  if (w.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(w.c_str(), &end, 10);
  if (*end || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

bool num_of(const std::string& w, double lo, double hi, double& out) {
  if (w.empty()) return false;
  char* end = nullptr;
  double v = std::strtod(w.c_str(), &end);
  if (*end || !(v >= lo && v <= hi)) return false;
  out = v;
  return true;
}

std::string read_palette(const std::vector<src_line>& lines, palette& out) {
  for (const auto& l : lines) {
    int c[3];
    if (l.words.size() != 4 || !int_of(l.words[1], 0, 255, c[0]) ||
        !int_of(l.words[2], 0, 255, c[1]) || !int_of(l.words[3], 0, 255, c[2]))
      return fault(l, "expected: NAME RED GREEN BLUE (0..255)");
    if (out.colours.count(l.words[0])) return fault(l, "colour " + l.words[0] + " is named twice");
    rgb v{static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
          static_cast<std::uint8_t>(c[2])};
    if (v == CLEAR) v = INK; // pure black would be see-through in sprites
    out.colours[l.words[0]] = v;
  }
  return "";
}

static bool hex_colour(const std::string& w, rgb& out) {
  if (w.size() != 7) return false;
  char* end = nullptr;
  unsigned long v = std::strtoul(w.c_str() + 1, &end, 16);
  if (*end) return false;
  out = {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
         static_cast<std::uint8_t>(v)};
  return true;
}

std::string colour_of(const palette& p, const src_line& l, const std::string& word, rgb& out) {
  if (word == "clear") return out = CLEAR, "";
  if (word == "ink") return out = INK, "";
  if (word[0] == '#') return hex_colour(word, out) ? "" : fault(l, "bad colour " + word);
  auto cut = word.find_first_of("+-");
  std::string name = word.substr(0, cut);
  auto it = p.colours.find(name);
  if (it == p.colours.end()) return fault(l, "unknown colour " + name);
  int amount = 0;
  if (cut != std::string::npos) {
    if (!int_of(word.substr(cut + 1), 0, 100, amount)) return fault(l, "bad shade in " + word);
    if (word[cut] == '-') amount = -amount;
  }
  out = amount ? shade(it->second, amount) : it->second;
  return "";
}

std::map<std::string, std::string> options_of(const src_line& l, std::size_t first) {
  std::map<std::string, std::string> o;
  for (std::size_t i = first; i < l.words.size(); i++) {
    auto eq = l.words[i].find('=');
    if (eq != std::string::npos) o[l.words[i].substr(0, eq)] = l.words[i].substr(eq + 1);
  }
  return o;
}
