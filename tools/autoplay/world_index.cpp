#include "tools/autoplay/world_index.h"

#include <cstdio>

world_index world_maps;

namespace {

std::vector<u8> read_all(const char* name) {
  std::vector<u8> out;
  std::FILE* f = std::fopen(name, "rb");
  if (!f) return out;
  u8 buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  std::fclose(f);
  return out;
}

bool read_map_files(int n, map_info& m) {
  char name[32];
  std::snprintf(name, sizeof name, "dmapdat%03d.mp", n);
  std::vector<u8> d = read_all(name);
  if (d.size() < 16) return false;
  m.max_x = d[0], m.max_y = d[1], m.kind = d[8];
  m.return_map = d[9], m.return_x = d[10], m.return_y = d[11], m.area = d[12];
  std::size_t cells = static_cast<std::size_t>(m.max_x + 1) * (m.max_y + 1);
  if (d.size() < 16 + cells) return false;
  m.grid.assign(d.begin() + 16, d.begin() + 16 + static_cast<long>(cells));
  std::snprintf(name, sizeof name, "dmapevt%03d.meb", n);
  std::vector<u8> e = read_all(name);
  for (std::size_t i = 0; !e.empty() && i < e[0] && 1 + 5 * i + 5 <= e.size(); i++) {
    const u8* r = &e[1 + 5 * i];
    m.events.push_back({r[0], r[1], r[2], r[3], r[4]});
  }
  std::snprintf(name, sizeof name, "dmapnpc%03d.npc", n);
  std::vector<u8> p = read_all(name);
  for (std::size_t i = 0; (i + 1) * sizeof(npc) <= p.size() && i < NPC_COUNT; i++) {
    npc one;
    std::copy(p.begin() + static_cast<long>(i * sizeof(npc)),
              p.begin() + static_cast<long>((i + 1) * sizeof(npc)), reinterpret_cast<u8*>(&one));
    m.people.push_back(one);
  }
  return true;
}

void find_links(map_info& m) {
  for (const map_event& e : m.events) {
    if (e.x > m.max_x || e.y > m.max_y) continue;
    int k = world_maps.classes[m.grid[static_cast<std::size_t>(e.y) * (m.max_x + 1) + e.x]];
    if (k == 2 || k == 3) m.links.push_back({e.x, e.y, e.a, e.b, e.c});
  }
}

} // namespace

int read_world_index() {
  world_maps = world_index{};
  std::vector<u8> classes = read_all("rpgmappat.atr");
  for (std::size_t i = 0; i < 256 && i < classes.size(); i++)
    world_maps.classes[i] = static_cast<i8>(classes[i]);
  for (int n = 0; n < 256; n++) {
    map_info& m = world_maps.maps[n];
    m.present = read_map_files(n, m);
    if (m.present) find_links(m);
  }
  return world_maps.maps[WORLD_MAP].present ? 0 : 1;
}
