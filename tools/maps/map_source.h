// Map source statements, one per line ('#' lines and text after " --" are
// comments): map N, name TEXT, start X Y, border TILE, open_door TILE,
// music N, kind N (1 backdrop, 2 edge exit), return MAP X Y, area N,
// legend LETTER TILE, grid ... end (rows of legend letters), and after the
// grid: event X Y A B C, chest X Y FLAG ITEM, hidden X Y FLAG ITEM,
// stairs X Y MAP TX TY, door X Y KEY, eventdoor X Y EVENT, and
// npc SPRITE X Y key=value... (type=person|fight|event|setfight, a=, b=,
// wanders=, facing=down|left|right|up, wait=, period=). TILE is a number or
// a name of the tile catalogue.
//
// The readable map sources of the default game and their compiler into the
// game's map, map-event and people files.
#pragma once
#include "state/state.h"

#include <string>
#include <vector>

struct tile_catalogue {
  std::string names[256]; // empty: unused number
  int classes[256]{};
};

struct map_source {
  int number = -1;
  std::string name;
  u8 header[16]{};
  int width = 0, height = 0;
  std::vector<u8> grid; // height rows of width tiles
  std::vector<map_event> events;
  npc npcs[NPC_COUNT]{};
  int npc_count = 0;
};

// Both readers return an empty string on success, else "file:line: what".
std::string read_tile_catalogue(const std::string& path, tile_catalogue& out);
std::string parse_map_source(const std::string& path, const std::string& text,
                             const tile_catalogue& tiles, map_source& out);
// Writes dmapdatNNN.mp, dmapevtNNN.meb and dmapnpcNNN.npc into dir.
std::string write_map_files(const map_source& m, const std::string& dir);
