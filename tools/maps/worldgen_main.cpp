// zandrek-worldgen TILES WORLD PLACES OUTDIR: grows the world map and every
// town and dungeon of the default game, joins them with stairs, and writes
// their map files.
#include "tools/maps/place_gen.h"
#include "tools/maps/world_gen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// The tile beside the deeper stairs of a grown dungeon, where the party
// arrives coming back up.
bool beside_down_stairs(const map_source& m, const tile_catalogue& t, int* x, int* y) {
  for (int yy = 1; yy < m.height - 1; yy++)
    for (int xx = 1; xx < m.width - 1; xx++) {
      if (m.grid[static_cast<size_t>(yy) * m.width + xx] != 42) continue;
      int dx[] = {0, 0, 1, -1}, dy[] = {1, -1, 0, 0};
      for (int k = 0; k < 4; k++) {
        int v = m.grid[static_cast<size_t>(yy + dy[k]) * m.width + xx + dx[k]];
        if (t.classes[v] == 0) return *x = xx + dx[k], *y = yy + dy[k], true;
      }
    }
  return false;
}

bool walkable_land(const map_source& w, int x, int y) {
  if (x < 1 || y < 1 || x >= w.width - 1 || y >= w.height - 1) return false;
  int t = w.grid[static_cast<size_t>(y) * w.width + x];
  return !(t == 0 || (t >= 64 && t <= 75) || t == 8 || t == 9 || t == 78 || t == 79 || (t >= 90 && t <= 95));
}

// Moves an entrance that the coast left in the water to the nearest land
// with land beside it, so that every place can be walked into.
void snap_site(const map_source& w, int* x, int* y) {
  for (int r = 0; r < 12; r++)
    for (int dy = -r; dy <= r; dy++)
      for (int dx = -r; dx <= r; dx++) {
        int nx = *x + dx, ny = *y + dy;
        if (std::max(std::abs(dx), std::abs(dy)) != r || !walkable_land(w, nx, ny)) continue;
        if (walkable_land(w, nx + 1, ny) || walkable_land(w, nx - 1, ny) || walkable_land(w, nx, ny + 1) ||
            walkable_land(w, nx, ny - 1))
          return void(*x = nx), void(*y = ny);
      }
}

std::string grow_all(const tile_catalogue& tiles, std::vector<place_desc>& places, world_desc& world,
                     const std::string& out) {
  std::map<int, place_desc*> by_map;
  for (auto& p : places) by_map[p.map] = &p;
  // A lower floor's upper floor leads down to it.
  for (auto& p : places)
    if (p.up_map != 255) {
      if (!by_map.count(p.up_map)) return "map " + std::to_string(p.map) + " is below an unknown map";
      place_desc& up = *by_map[p.up_map];
      up.down_map = p.map;
      place_arrival(p, &up.down_x, &up.down_y);
      p.exit_map = up.exit_map, p.exit_x = up.exit_x, p.exit_y = up.exit_y;
    }
  std::map<int, std::pair<int, int>> below_arrival;
  for (auto& p : places) {
    if (p.up_map != 255) {
      if (!below_arrival.count(p.up_map)) return "map " + std::to_string(p.up_map) + " must come before its lower floor";
      p.up_x = below_arrival[p.up_map].first, p.up_y = below_arrival[p.up_map].second;
    }
    map_source m;
    std::string err = grow_place(p, tiles, m);
    if (!err.empty()) return "map " + std::to_string(p.map) + ": " + err;
    int bx, by;
    if (p.down_map != 255) {
      if (!beside_down_stairs(m, tiles, &bx, &by)) return "map " + std::to_string(p.map) + ": no way down";
      below_arrival[p.map] = {bx, by};
      if (p.to_x >= 0) world.sites.push_back({15, p.to_x, p.to_y, p.map, bx, by});
    }
    if ((err = write_map_files(m, out)) != "") return err;
    if (p.up_map == 255) {
      int ax, ay;
      place_arrival(p, &ax, &ay);
      world.sites.push_back({p.kind == "town" ? 10 : p.kind == "cave" ? 12 : p.kind == "tunnel" ? 15
                             : p.kind == "fortress" ? 107 : p.kind == "shrine" ? 14 : 13,
                             p.exit_x, p.exit_y, p.map, ax, ay});
    }
  }
  return "";
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: zandrek-worldgen TILES WORLD PLACES OUTDIR\n");
    return 2;
  }
  tile_catalogue tiles;
  world_desc world;
  std::vector<place_desc> places;
  std::string err = read_tile_catalogue(argv[1], tiles);
  if (err.empty()) err = read_world_desc(argv[2], tiles, world);
  if (err.empty()) err = read_place_descs(argv[3], places);
  // A site the world description names itself keeps its own tile.
  std::map<std::pair<int, int>, int> own_tiles;
  for (auto& s : world.sites) own_tiles[{s.x, s.y}] = s.tile;
  world.sites.clear();
  if (err.empty()) {
    map_source bare;
    grow_world(world, bare);
    for (auto& p : places) {
      if (p.up_map == 255) snap_site(bare, &p.exit_x, &p.exit_y);
      if (p.to_x >= 0) snap_site(bare, &p.to_x, &p.to_y), p.down_x = p.to_x, p.down_y = p.to_y;
    }
    err = grow_all(tiles, places, world, argv[4]);
  }
  for (auto& s : world.sites)
    if (own_tiles.count({s.x, s.y})) s.tile = own_tiles[{s.x, s.y}];
  map_source m;
  if (err.empty()) err = grow_world(world, m);
  if (err.empty()) err = write_map_files(m, argv[4]);
  if (!err.empty()) {
    std::fprintf(stderr, "zandrek-worldgen: %s\n", err.c_str());
    return 1;
  }
  return 0;
}
