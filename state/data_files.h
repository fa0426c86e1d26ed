// The data-file table and its loader: maps, map events, people, tile
// classes, the new-game record, the music list, the event tables and the
// backdrop grids, read from the working directory.
#pragma once
#include <cstdio>

enum { LOAD_START = 0, LOAD_MAP = 1 };
enum { READ_OK = 0, READ_ERROR = 1, FORMAT_ERROR = 2 };
constexpr int MAP_FILE_ENTRY = 0; // dmapdat%03d.mp, the map's grid

struct data_file {
  const char* pattern; // entries 0..2 take cur_map as %03d
  const char* ext;
  bool text_mode;
  int (*reader)(std::FILE* f);
  bool in_start_set, in_map_set;
};

extern const data_file data_file_table[21];

// The event table and the event messages belong to the event interpreter,
// which sits above this folder; the shell hands their readers over at
// start-up so that the files keep their places in the table.
struct event_file_readers {
  int (*table)(std::FILE* f);
  int (*messages)(std::FILE* f);
};
extern event_file_readers event_readers;

// Reads every file of the set, reporting each failure in a message box and
// going on with the next file.
void load_data(int set);

// Appends the extension as the game always has: after the last "." outside
// a bracketed directory part, or at the end. 0 done, 1 refused (a "]" with no
// "[" before it), the name then unchanged.
int add_extension(char* name, std::size_t size, const char* ext);

// Whether the map file of map number `map` reads whole and its grid holds
// tile (x, y): a place the party can be put down on. Reads no table.
bool map_holds(int map, int x, int y);

int read_map(std::FILE* f);
int read_map_events(std::FILE* f);
int read_npcs(std::FILE* f);
int read_new_game(std::FILE* f);
int read_tile_classes(std::FILE* f);
int read_music_list(std::FILE* f);
int read_backdrops(std::FILE* f);
