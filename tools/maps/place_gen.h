// Towns and dungeons of the default game are grown from one line of
// description each (content/world/places.txt): a seeded layout with walls,
// houses, counters, plazas, people, or caves, rooms, chests, guardians and
// stairs, so that every place looks built rather than random.
#pragma once
#include "tools/maps/map_source.h"

#include <string>
#include <vector>

struct place_person {
  int sprite = 16;
  int type = 0; // 0 greets, 1 fight, 2 event, 3 set fight
  int a = 0, b = 0;
  int wanders = 1;
};

// A guardian whose line names no figure stands as the dark demon.
constexpr int GUARDIAN_SPRITE = 168;

struct place_desc {
  std::string kind; // "town" or "cave", "ruin", "tunnel", "fortress", "shrine"
  int map = 0, area = 0, music = 0, seed = 1;
  int width = 32, height = 24;
  int exit_map = 4, exit_x = 0, exit_y = 0;   // where the way out leads
  int down_map = 255, down_x = 0, down_y = 0; // stairs deeper (dungeons)
  int inn = 0, church = -1;
  std::vector<int> shops;           // shop numbers, one counter each
  std::vector<place_person> people; // story people first, then villagers
  int villagers = 6;
  std::vector<int> chests; // flag, item pairs
  int guardian_group = -1; // set fight in front of the deeper stairs
  int guardian_sprite = GUARDIAN_SPRITE;
  int monsters = 0;                     // monster people (type 1) wandering the place
  int backdrop = 0;                     // 1: a scrolling backdrop behind open floor
  int up_map = 255, up_x = 0, up_y = 0; // the stairs back, on a lower floor
  int to_x = -1, to_y = -1;             // a tunnel's far end on the world map
  int door_key = -1;                    // the vault's door opens with key item 149 + door_key
  int goal_event = -1;                  // event of the tile at the heart of the place
  // The land the place stands in (index of the world's lands, -1 unknown),
  // its ground and its woods: a town is built on its land's ground and the
  // woods frame it beyond the map's edge.
  int land = -1, ground = 1, woods = 23, mountain = 79;
  std::string plan; // a town's plan (content/world/towns.txt); "" the village
};

// Reads places.txt: "" or "file:line: what".
std::string read_place_descs(const std::string& path, std::vector<place_desc>& out);
// Reads towns.txt (lines "MAP PLAN WIDTHxHEIGHT") into the towns of
// `places`: "" or "file:line: what".
std::string read_town_plans(const std::string& path, std::vector<place_desc>& places);
// Grows one place; "" or what made it impossible.
std::string grow_place(const place_desc& d, const tile_catalogue& tiles, map_source& out);
// Where the party arrives when entering from the world or from above.
void place_arrival(const place_desc& d, int* x, int* y);
