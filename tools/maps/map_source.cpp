#include "tools/maps/map_source.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace {

struct parse_ctx {
  const std::string& path;
  int line = 0;
  std::string error;
  bool fail(const std::string& what) {
    if (error.empty()) error = path + ":" + std::to_string(line) + ": " + what;
    return false;
  }
};

// A line whose first letter is '#' is a comment, and so is everything after
// " --" (so that '#' can stand for a wall in a legend).
std::vector<std::string> words_of(const std::string& line) {
  size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line[first] == '#') return {};
  std::string s = line.substr(0, line.find(" --"));
  std::istringstream in(s);
  std::vector<std::string> w;
  for (std::string t; in >> t;) w.push_back(t);
  return w;
}

bool to_int(const std::string& s, int lo, int hi, int& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (*end || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

bool tile_of(const tile_catalogue& tiles, const std::string& s, int& out) {
  if (to_int(s, 0, 255, out)) return true;
  for (int i = 0; i < 256; i++)
    if (tiles.names[i] == s) return out = i, true;
  return false;
}

// Reads numbers from words[from..] into the given places, with bounds.
bool numbers(parse_ctx& c, const std::vector<std::string>& w, size_t count,
             std::initializer_list<int*> outs, int hi = 255) {
  if (w.size() != count + 1) return c.fail("'" + w[0] + "' takes " + std::to_string(count) + " numbers");
  size_t i = 1;
  for (int* o : outs)
    if (!to_int(w[i++], 0, hi, *o)) return c.fail("'" + w[i - 1] + "' is not a number 0.." + std::to_string(hi));
  return true;
}

const std::map<std::string, int> npc_types = {{"person", 0}, {"fight", 1}, {"event", 2}, {"setfight", 3}};
const std::map<std::string, int> facings = {{"down", 0}, {"left", 2}, {"right", 4}, {"up", 6}};

bool parse_npc(parse_ctx& c, const std::vector<std::string>& w, const tile_catalogue&, map_source& m) {
  if (m.npc_count >= NPC_COUNT) return c.fail("more than 24 people on one map");
  if (w.size() < 4) return c.fail("npc takes SPRITE X Y and key=value settings");
  npc& n = m.npcs[m.npc_count];
  int sprite, x, y;
  if (!to_int(w[1], 0, 255, sprite) || !to_int(w[2], 0, 255, x) || !to_int(w[3], 0, 255, y))
    return c.fail("npc position or sprite is not a number 0..255");
  n = npc{};
  n.sprite = static_cast<u8>(sprite), n.x = static_cast<u8>(x), n.y = static_cast<u8>(y);
  n.wait = 40, n.frame_period = 12;
  for (size_t i = 4; i < w.size(); i++) {
    auto eq = w[i].find('=');
    if (eq == std::string::npos) return c.fail("'" + w[i] + "' is not key=value");
    std::string k = w[i].substr(0, eq), v = w[i].substr(eq + 1);
    int num = 0;
    if (k == "type" && npc_types.count(v)) n.type = static_cast<u8>(npc_types.at(v));
    else if (k == "facing" && facings.count(v)) n.facing = static_cast<u8>(facings.at(v));
    else if ((k == "a" || k == "b" || k == "wait" || k == "period" || k == "wanders") &&
             to_int(v, 0, 255, num)) {
      u8 b = static_cast<u8>(num);
      if (k == "a") n.a = b;
      else if (k == "b") n.b = b;
      else if (k == "wait") n.wait = b;
      else if (k == "period") n.frame_period = b;
      else n.wanders = b;
    } else
      return c.fail("bad npc setting '" + w[i] + "'");
  }
  m.npc_count++;
  return true;
}

bool check_on_map(parse_ctx& c, const map_source& m, int x, int y) {
  if (x >= m.width || y >= m.height) return c.fail("position outside the map");
  return true;
}

bool parse_event_line(parse_ctx& c, const std::vector<std::string>& w, const tile_catalogue& tiles,
                      map_source& m) {
  int x = 0, y = 0, a = 0, b = 0, cc = 0;
  const std::string& k = w[0];
  if (k == "event" && !numbers(c, w, 5, {&x, &y, &a, &b, &cc})) return false;
  if ((k == "chest" || k == "hidden") && !numbers(c, w, 4, {&x, &y, &a, &cc})) return false;
  if (k == "stairs" && !numbers(c, w, 5, {&x, &y, &a, &b, &cc})) return false;
  if (k == "door" && !numbers(c, w, 3, {&x, &y, &b})) return false;
  if (k == "eventdoor" && !numbers(c, w, 3, {&x, &y, &a})) return false;
  if (!check_on_map(c, m, x, y)) return false;
  int cls = tiles.classes[m.grid[static_cast<size_t>(y) * m.width + x]];
  if (k == "chest") {
    if (cls != 11) return c.fail("a chest must stand on a chest tile");
    b = 128;
  }
  if (k == "hidden") b = 128;
  if (k == "stairs" && cls != 2 && cls != 3) return c.fail("stairs must stand on a stairs tile");
  if ((k == "door" || k == "eventdoor") && cls != 17) return c.fail("a door must stand on a door tile");
  if (m.events.size() >= 255) return c.fail("more than 255 map events");
  m.events.push_back({static_cast<u8>(x), static_cast<u8>(y), static_cast<u8>(a),
                      static_cast<u8>(b), static_cast<u8>(cc)});
  return true;
}

bool parse_header_line(parse_ctx& c, const std::vector<std::string>& w, const tile_catalogue& tiles,
                       map_source& m) {
  const std::string& k = w[0];
  int a = 0, b = 0, d = 0;
  if (k == "map") {
    if (!numbers(c, w, 1, {&a})) return false;
    m.number = a;
  } else if (k == "name") {
    m.name = w.size() > 1 ? w[1] : "";
  } else if (k == "start") {
    if (!numbers(c, w, 2, {&a, &b})) return false;
    m.header[2] = static_cast<u8>(a), m.header[3] = static_cast<u8>(b);
  } else if (k == "border" || k == "open_door") {
    if (w.size() != 2 || !tile_of(tiles, w[1], a)) return c.fail("'" + k + "' takes a tile");
    m.header[k == "border" ? 4 : 6] = static_cast<u8>(a);
  } else if (k == "music" || k == "kind" || k == "area") {
    if (!numbers(c, w, 1, {&a})) return false;
    m.header[k == "music" ? 7 : k == "kind" ? 8 : 12] = static_cast<u8>(a);
  } else if (k == "return") {
    if (!numbers(c, w, 3, {&a, &b, &d})) return false;
    m.header[9] = static_cast<u8>(a), m.header[10] = static_cast<u8>(b), m.header[11] = static_cast<u8>(d);
  } else {
    return c.fail("unknown statement '" + k + "'");
  }
  return true;
}

bool finish_grid(parse_ctx& c, map_source& m, const std::vector<std::string>& rows,
                 const std::map<char, int>& legend) {
  if (rows.empty()) return c.fail("the grid has no rows");
  m.width = static_cast<int>(rows[0].size());
  m.height = static_cast<int>(rows.size());
  if (m.width > 256 || m.height > 256) return c.fail("a map is at most 256 x 256 tiles");
  for (size_t y = 0; y < rows.size(); y++) {
    if (static_cast<int>(rows[y].size()) != m.width) {
      c.line -= static_cast<int>(rows.size() - y);
      return c.fail("grid row has " + std::to_string(rows[y].size()) + " tiles, the first has " +
                    std::to_string(m.width));
    }
    for (char ch : rows[y]) {
      auto it = legend.find(ch);
      if (it == legend.end()) return c.fail(std::string("grid letter '") + ch + "' is not in the legend");
      m.grid.push_back(static_cast<u8>(it->second));
    }
  }
  m.header[0] = static_cast<u8>(m.width - 1);
  m.header[1] = static_cast<u8>(m.height - 1);
  return true;
}

} // namespace

std::string read_tile_catalogue(const std::string& path, tile_catalogue& out) {
  std::ifstream in(path);
  if (!in) return path + ": cannot be opened";
  parse_ctx c{path};
  for (std::string line; std::getline(in, line);) {
    c.line++;
    auto w = words_of(line);
    if (w.empty()) continue;
    int n, cls;
    if (w.size() < 3 || !to_int(w[0], 0, 255, n) || !to_int(w[1], 0, 17, cls))
      return c.fail("expected: NUMBER CLASS NAME description"), c.error;
    if (!out.names[n].empty()) return c.fail("tile " + w[0] + " is listed twice"), c.error;
    out.names[n] = w[2];
    out.classes[n] = cls;
  }
  for (int i = 0; i < 256; i++)
    if (out.names[i].empty()) out.classes[i] = 1; // unused numbers are walls
  return "";
}

std::string parse_map_source(const std::string& path, const std::string& text,
                             const tile_catalogue& tiles, map_source& m) {
  parse_ctx c{path};
  std::istringstream in(text);
  std::map<char, int> legend;
  std::vector<std::string> rows;
  bool in_grid = false, had_grid = false;
  for (std::string line; std::getline(in, line);) {
    c.line++;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (in_grid) {
      if (line == "end") {
        in_grid = false, had_grid = true;
        if (!finish_grid(c, m, rows, legend)) return c.error;
      } else
        rows.push_back(line);
      continue;
    }
    auto w = words_of(line);
    if (w.empty()) continue;
    const std::string& k = w[0];
    if (k == "legend") {
      int t;
      if (w.size() != 3 || w[1].size() != 1 || !tile_of(tiles, w[2], t))
        return c.fail("legend takes one letter and a tile name or number"), c.error;
      legend[w[1][0]] = t;
    } else if (k == "grid") {
      if (had_grid) return c.fail("a second grid"), c.error;
      in_grid = true;
    } else if (k == "npc") {
      if (!parse_npc(c, w, tiles, m)) return c.error;
    } else if (k == "event" || k == "chest" || k == "hidden" || k == "stairs" || k == "door" ||
               k == "eventdoor") {
      if (!had_grid) return c.fail("'" + k + "' before the grid"), c.error;
      if (!parse_event_line(c, w, tiles, m)) return c.error;
    } else if (!parse_header_line(c, w, tiles, m))
      return c.error;
  }
  if (in_grid) return c.fail("the grid has no 'end'"), c.error;
  if (!had_grid) return c.fail("no grid"), c.error;
  if (m.number < 0) return c.fail("no 'map' number"), c.error;
  if (m.header[2] >= m.width || m.header[3] >= m.height) return c.fail("start outside the map"), c.error;
  for (int i = 0; i < m.npc_count; i++)
    if (m.npcs[i].x >= m.width || m.npcs[i].y >= m.height)
      return c.fail("npc " + std::to_string(i) + " stands outside the map"), c.error;
  for (int i = m.npc_count; i < NPC_COUNT; i++) m.npcs[i].state = 1; // absent
  return "";
}

static bool write_bytes(const std::string& path, const void* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

std::string write_map_files(const map_source& m, const std::string& dir) {
  char name[32];
  std::vector<u8> mp(m.header, m.header + 16);
  mp.insert(mp.end(), m.grid.begin(), m.grid.end());
  std::snprintf(name, sizeof name, "/dmapdat%03d.mp", m.number);
  if (!write_bytes(dir + name, mp.data(), mp.size())) return dir + name + ": cannot be written";
  std::vector<u8> meb{static_cast<u8>(m.events.size())};
  for (auto& e : m.events) meb.insert(meb.end(), {e.x, e.y, e.a, e.b, e.c});
  std::snprintf(name, sizeof name, "/dmapevt%03d.meb", m.number);
  if (!write_bytes(dir + name, meb.data(), meb.size())) return dir + name + ": cannot be written";
  std::snprintf(name, sizeof name, "/dmapnpc%03d.npc", m.number);
  if (!write_bytes(dir + name, m.npcs, sizeof m.npcs)) return dir + name + ": cannot be written";
  return "";
}
