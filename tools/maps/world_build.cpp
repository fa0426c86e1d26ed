// The whole default world: the world map grown from its description, every
// place of places.txt grown and written, and the two joined by stairs.
#include "tools/maps/world_build.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

// The tile beside the deeper stairs of a grown dungeon, where the party
// arrives coming back up.
bool beside_down_stairs(const map_source& m, const tile_catalogue& t, int* x, int* y) {
  for (int yy = 1; yy < m.height - 1; yy++)
    for (int xx = 1; xx < m.width - 1; xx++) {
      if (t.classes[m.grid[static_cast<size_t>(yy) * m.width + xx]] != 2) continue;
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
  return !(t == 0 || (t >= 64 && t <= 75) || t == 8 || t == 9 || t == 78 || t == 79 ||
           (t >= 90 && t <= 95));
}

// Moves an entrance that the coast left in the water to the nearest land
// with land beside it (west, east or south: its picture takes the north),
// so that every place can be walked into.
void snap_site(const map_source& w, int* x, int* y) {
  for (int r = 0; r < 12; r++)
    for (int dy = -r; dy <= r; dy++)
      for (int dx = -r; dx <= r; dx++) {
        int nx = *x + dx, ny = *y + dy;
        if (std::max(std::abs(dx), std::abs(dy)) != r || !walkable_land(w, nx, ny)) continue;
        if (walkable_land(w, nx + 1, ny) || walkable_land(w, nx - 1, ny) ||
            walkable_land(w, nx, ny + 1))
          return void(*x = nx), void(*y = ny);
      }
}

std::string grow_places(const tile_catalogue& tiles, std::vector<place_desc>& places,
                        world_desc& world, const std::string& out) {
  std::map<int, place_desc*> by_map;
  for (auto& p : places) by_map[p.map] = &p;
  // A lower floor's upper floor leads down to it.
  for (auto& p : places)
    if (p.up_map != 255) {
      if (!by_map.count(p.up_map))
        return "map " + std::to_string(p.map) + " is below an unknown map";
      place_desc& up = *by_map[p.up_map];
      up.down_map = p.map;
      place_arrival(p, &up.down_x, &up.down_y);
      p.exit_map = up.exit_map, p.exit_x = up.exit_x, p.exit_y = up.exit_y;
      p.land = up.land, p.ground = up.ground, p.woods = up.woods, p.mountain = up.mountain;
    }
  std::map<int, std::pair<int, int>> below_arrival;
  for (auto& p : places) {
    if (p.up_map != 255) {
      if (!below_arrival.count(p.up_map))
        return "map " + std::to_string(p.up_map) + " must come before its lower floor";
      p.up_x = below_arrival[p.up_map].first, p.up_y = below_arrival[p.up_map].second;
    }
    map_source m;
    std::string err = grow_place(p, tiles, m);
    if (!err.empty()) return "map " + std::to_string(p.map) + ": " + err;
    int bx, by;
    if (p.down_map != 255) {
      if (!beside_down_stairs(m, tiles, &bx, &by))
        return "map " + std::to_string(p.map) + ": no way down";
      below_arrival[p.map] = {bx, by};
      if (p.to_x >= 0) world.sites.push_back({0, p.to_x, p.to_y, p.map, bx, by, 15});
    }
    if ((err = write_map_files(m, out)) != "") return err;
    if (p.up_map == 255) {
      int ax, ay;
      place_arrival(p, &ax, &ay);
      int picture = p.kind == "town"       ? 10
                    : p.kind == "cave"     ? 12
                    : p.kind == "tunnel"   ? 15
                    : p.kind == "fortress" ? 107
                    : p.kind == "shrine"   ? 14
                                           : 13;
      world.sites.push_back({0, p.exit_x, p.exit_y, p.map, ax, ay, picture});
    }
  }
  return "";
}

} // namespace

std::string build_world(const tile_catalogue& tiles, world_desc& world,
                        std::vector<place_desc>& places, const std::string& outdir,
                        map_source& world_map) {
  // A site the world description names itself keeps its own tile.
  std::map<std::pair<int, int>, int> own_tiles;
  for (auto& s : world.sites) own_tiles[{s.x, s.y}] = s.tile;
  world.sites.clear();
  map_source bare;
  std::string err = grow_world(world, bare);
  if (!err.empty()) return err;
  for (auto& p : places) {
    if (p.up_map == 255) {
      snap_site(bare, &p.exit_x, &p.exit_y);
      p.land = land_of(world, p.exit_x, p.exit_y);
      if (p.land >= 0) {
        const world_land& l = world.lands[static_cast<size_t>(p.land)];
        p.ground = l.ground, p.woods = l.forest;
        auto on = world.on_ground.find({l.mountain, l.ground});
        p.mountain = on == world.on_ground.end() ? l.mountain : on->second;
      }
    }
    if (p.to_x >= 0) snap_site(bare, &p.to_x, &p.to_y), p.down_x = p.to_x, p.down_y = p.to_y;
  }
  if ((err = grow_places(tiles, places, world, outdir)) != "") return err;
  for (auto& s : world.sites)
    if (own_tiles.count({s.x, s.y})) s.tile = own_tiles[{s.x, s.y}], s.landmark = 255;
  if ((err = grow_world(world, world_map)) != "") return err;
  return write_map_files(world_map, outdir);
}
