#include "state/data_files.h"

#include "platform/file.h"
#include "platform/platform.h"
#include "state/state.h"

#include <cstring>

// Entries that neither load set includes are never opened; they keep their
// places so that the numbers in the error boxes stay the game's own.
static int read_nothing(std::FILE*) {
  return READ_OK;
}

event_file_readers event_readers{};

// A program that never handed over the event readers cannot play its story:
// the files are then reported as unreadable rather than skipped.
static int read_event_table_file(std::FILE* f) {
  return event_readers.table ? event_readers.table(f) : READ_ERROR;
}

static int read_event_messages_file(std::FILE* f) {
  return event_readers.messages ? event_readers.messages(f) : READ_ERROR;
}

const data_file data_file_table[21] = {
    {"dmapdat%03d", "mp", false, read_map, true, true},
    {"dmapevt%03d", "meb", false, read_map_events, true, true},
    {"dmapnpc%03d", "npc", false, read_npcs, true, true},
    {"eventmsg", "msg", false, read_nothing, false, false},
    {"rpg", "ini", false, read_new_game, true, false},
    {"d", "pcd", false, read_nothing, false, false},
    {"rpg", "msd", false, read_nothing, false, false},
    {"rpgmagdat", "mag", false, read_nothing, false, false},
    {"rpgitmdat", "itm", false, read_nothing, false, false},
    {"d", "blk", true, read_nothing, false, false},
    {"d", "trs", false, read_nothing, false, false},
    {"d", "gpc", false, read_nothing, false, false},
    {"d", "gmp", false, read_nothing, false, false},
    {"d", "evl", false, read_nothing, false, false},
    {"d", "sev", true, read_nothing, false, false},
    {"d", "fld", true, read_nothing, false, false},
    {"eventdat", "evt", false, read_event_table_file, true, true},
    {"rpgmappat", "atr", false, read_tile_classes, true, true},
    {"rpgmidlst", "lst", true, read_music_list, true, false},
    {"eventmsg", "mgb", false, read_event_messages_file, true, false},
    {"dmapdmy", "mp", false, read_backdrops, true, false},
};

int add_extension(char* name, std::size_t size, const char* ext) {
  std::size_t len = strnlen(name, 76);
  std::size_t dot = len;
  bool bracket = false;
  for (std::size_t i = 0; i < len; i++) {
    if (name[i] == '[')
      bracket = true;
    else if (name[i] == ']') {
      if (!bracket) return 1;
      bracket = false;
    } else if (name[i] == '.' && !bracket)
      dot = i;
  }
  if (dot + 1 + std::strlen(ext) + 1 > size) return 1;
  name[dot] = '.';
  std::strcpy(name + dot + 1, ext);
  return 0;
}

static void box(const char* text) {
  plat_message_box(text, "Zandrek");
}

static void entry_name(int index, int map, char (&name)[96]) {
  const data_file& e = data_file_table[index];
  std::snprintf(name, sizeof name, e.pattern, map);
  add_extension(name, sizeof name, e.ext);
}

static void load_entry(int index) {
  const data_file& e = data_file_table[index];
  char name[96];
  entry_name(index, game.cur_map, name);
  std::FILE* f = open_read_file(name);
  char text[160];
  if (!f) {
    std::snprintf(text, sizeof text, "[ OPEN ERROR ] %02d %s %x", index, name, 0);
    box(text);
    return;
  }
  int result = e.reader(f);
  if (result == READ_ERROR) {
    std::snprintf(text, sizeof text, "[ READ ERROR ] %02d", index);
    box(text);
    plat_debug_out("[ READ ERROR ]\n");
  } else if (result == FORMAT_ERROR) {
    std::snprintf(text, sizeof text, "[ FORMAT ERROR ] %02d", index);
    box(text);
    plat_debug_out("[ FORMAT ERROR ]\n");
  } else {
    plat_debug_out("[ OK ]\n");
  }
  std::fclose(f);
}

void load_data(int set) {
  for (int i = 0; i < 21; i++) {
    const data_file& e = data_file_table[i];
    if (set == LOAD_START ? e.in_start_set : e.in_map_set) load_entry(i);
  }
  plat_debug_out("Maze Data Loading End !!\n");
}

bool map_holds(int map, int x, int y) {
  char name[96];
  entry_name(MAP_FILE_ENTRY, map, name);
  std::FILE* f = open_read_file(name);
  if (!f) return false;
  u8 h[16] = {}, row[256];
  bool whole = std::fread(h, 1, sizeof h, f) == sizeof h;
  std::size_t w = static_cast<std::size_t>(h[0]) + 1;
  for (int r = 0; whole && r <= h[1]; r++) whole = std::fread(row, 1, w, f) == w;
  std::fclose(f);
  return whole && x >= 0 && x <= h[0] && y >= 0 && y <= h[1];
}

// The flag-83 patch: the land bridge the story opens on the world map.
static void patch_world_map() {
  game.map_grid[212][21] = 89;
  for (int x = 50; x <= 54; x++) game.map_grid[74][x] = 5;
  game.map_grid[74][55] = 41;
}

// The whole file is read before any of it is used, so that a damaged map
// leaves the one in play as it was.
int read_map(std::FILE* f) {
  u8 h[16];
  if (std::fread(h, 1, 16, f) != 16) return READ_ERROR;
  static u8 rows[256][256];
  std::size_t w = static_cast<std::size_t>(h[0]) + 1;
  for (int y = 0; y <= h[1]; y++)
    if (std::fread(rows[y], 1, w, f) != w) return READ_ERROR;
  std::memcpy(game.map_header, h, 16);
  game.edge_exit = 0;
  game.map_max_x = h[0];
  game.map_max_y = h[1];
  game.pos_x = h[2];
  game.pos_y = h[3];
  game.border_tile = h[4];
  game.open_door_tile = h[6];
  game.cur_music = h[7];
  game.map_kind = h[8];
  if (game.cur_map != WORLD_MAP) {
    game.return_map = h[9];
    game.return_x = h[10];
    game.return_y = h[11];
  }
  game.cur_area = h[12];
  if (game.map_kind == 2) game.edge_exit = 1;
  game.view_x = game.pos_x - 9;
  game.view_y = game.pos_y - 9;
  for (int y = 0; y <= game.map_max_y; y++) std::memcpy(game.map_grid[y], rows[y], w);
  if (game.cur_map == WORLD_MAP && game.sb.flags[83] == 1) patch_world_map();
  return READ_OK;
}

int read_map_events(std::FILE* f) {
  u8 n = 0;
  if (std::fread(&n, 1, 1, f) != 1) n = 0;
  // A file cut short counts only the records it holds whole: the others
  // would be the last map's events.
  game.map_event_count = static_cast<u8>(std::fread(game.map_events, sizeof(map_event), n, f));
  return READ_OK;
}

int read_npcs(std::FILE* f) {
  int n = static_cast<int>(std::fread(game.npc_table, sizeof(npc), NPC_COUNT, f));
  char line[32];
  std::snprintf(line, sizeof line, "NPC_DATA %d\n", n);
  plat_debug_out(line);
  return READ_OK;
}

// Only a whole record is taken: a short one would start a party of nameless
// members at 0 HP.
int read_new_game(std::FILE* f) {
  save_block block;
  if (std::fread(&block, sizeof block, 1, f) != 1) return READ_ERROR;
  game.new_game_block = block;
  game.sb = block;
  return READ_OK;
}

int read_tile_classes(std::FILE* f) {
  return std::fread(game.tile_class, 1, 256, f) == 256 ? READ_OK : READ_ERROR;
}

int read_music_list(std::FILE* f) {
  for (auto& entry : game.music_list) {
    std::strcpy(entry, " ");
    if (!std::fgets(entry, 40, f)) {
      std::strcpy(entry, " ");
      break;
    }
    entry[std::strcspn(entry, "\r\n")] = 0;
  }
  return READ_OK;
}

int read_backdrops(std::FILE* f) {
  for (auto& grid : game.backdrop_grid)
    if (std::fread(grid, 1, sizeof grid, f) != sizeof grid) return READ_ERROR;
  return READ_OK;
}
