// What growing a place needs, shared by the towns and the dungeons.
#pragma once
#include "tools/maps/place_gen.h"

#include <utility>
#include <vector>

// The place's own random sequence, so that a layout never changes unless
// its description does.
struct rng {
  unsigned s;
  int next(int n) {
    s = s * 1103515245u + 12345u;
    return n > 0 ? static_cast<int>((s >> 16) % static_cast<unsigned>(n)) : 0;
  }
};

struct canvas {
  int w, h;
  std::vector<u8> t;
  u8& at(int x, int y) { return t[static_cast<size_t>(y) * w + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
  void rect(int x0, int y0, int rw, int rh, u8 v) {
    for (int y = y0; y < y0 + rh; y++)
      for (int x = x0; x < x0 + rw; x++)
        if (inside(x, y)) at(x, y) = v;
  }
};

struct grown {
  map_source& m;
  canvas c;
  rng r;
  std::vector<std::pair<int, int>> spots; // free places for people
};

inline void add_event(map_source& m, int x, int y, int a, int b, int cc) {
  m.events.push_back({static_cast<u8>(x), static_cast<u8>(y), static_cast<u8>(a),
                      static_cast<u8>(b), static_cast<u8>(cc)});
}

inline bool add_person(map_source& m, int sprite, int x, int y, int type, int a, int b,
                       int wanders) {
  if (m.npc_count >= NPC_COUNT) return false;
  npc& n = m.npcs[m.npc_count++];
  n = npc{};
  n.sprite = static_cast<u8>(sprite), n.x = static_cast<u8>(x), n.y = static_cast<u8>(y);
  n.type = static_cast<u8>(type), n.a = static_cast<u8>(a), n.b = static_cast<u8>(b);
  n.wanders = static_cast<u8>(wanders);
  n.wait = static_cast<u8>(30 + (x * 7 + y * 13) % 40);
  n.frame_period = 14;
  return true;
}

// Lays out a town by its plan; "" or what made it impossible.
std::string grow_town(const place_desc& d, const tile_catalogue& tiles, grown& g);
