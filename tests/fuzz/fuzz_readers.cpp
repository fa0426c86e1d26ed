// The data-file readers on any bytes, one program per reader: FUZZ_READER
// is the target's name (fuzz_<name>). A file too short for what it must
// hold is refused and leaves the game as it was; what a reader takes stays
// inside its bounds.
#include "event/event.h"
#include "fuzz_common.h"
#include "state/data_files.h"

#include <string_view>

namespace {

constexpr std::string_view reader = FUZZ_READER;

// The map reader: the first byte picks the map (the world map with its
// flag-83 patch, or another), the rest is dmapdat%03d.mp.
void map_file(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  game.cur_map = data[0] & 1 ? WORLD_MAP : 12;
  game.sb.flags[83] = data[0] >> 1 & 1;
  state_data before = game;
  int r = fuzz_read(data + 1, size - 1, read_map);
  FUZZ_CHECK(r == READ_OK || r == READ_ERROR);
  if (r != READ_OK)
    FUZZ_CHECK(std::memcmp(&before, &game, sizeof game) == 0);
  else
    FUZZ_CHECK(game.map_max_x >= 0 && game.map_max_x <= 255 && game.map_max_y >= 0 &&
               game.map_max_y <= 255);
}

// rpgmidlst.lst: every entry stays a terminated name of at most 39 bytes
// with no line end in it.
void music_list(const std::uint8_t* data, std::size_t size) {
  FUZZ_CHECK(fuzz_read(data, size, read_music_list) == READ_OK);
  for (auto& entry : game.music_list) {
    std::size_t n = strnlen(entry, sizeof entry);
    FUZZ_CHECK(n < sizeof entry);
    FUZZ_CHECK(!std::memchr(entry, '\n', n) && !std::memchr(entry, '\r', n));
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  reset_event_state();
  headless_reset();
  if (reader == "map") {
    map_file(data, size);
  } else if (reader == "map_events") { // dmapevt%03d.meb
    FUZZ_CHECK(fuzz_read(data, size, read_map_events) == READ_OK);
    // Only records the file holds are counted.
    FUZZ_CHECK(game.map_event_count <= (size ? (size - 1) / sizeof(map_event) : 0));
  } else if (reader == "npcs") { // dmapnpc%03d.npc
    FUZZ_CHECK(fuzz_read(data, size, read_npcs) == READ_OK);
  } else if (reader == "tile_classes") { // rpgmappat.atr
    FUZZ_CHECK(fuzz_read(data, size, read_tile_classes) == (size >= 256 ? READ_OK : READ_ERROR));
  } else if (reader == "backdrops") { // dmapdmy.mp
    int r = fuzz_read(data, size, read_backdrops);
    FUZZ_CHECK(r == (size >= sizeof game.backdrop_grid ? READ_OK : READ_ERROR));
  } else if (reader == "music_list") {
    music_list(data, size);
  } else if (reader == "new_game") { // rpg.ini
    // a record that is not whole is refused and leaves both copies as they were
    int r = fuzz_read(data, size, read_new_game);
    FUZZ_CHECK(r == (size >= sizeof(save_block) ? READ_OK : READ_ERROR));
    FUZZ_CHECK(std::memcmp(&game.sb, &game.new_game_block, sizeof game.sb) == 0);
  } else if (reader == "event_table") { // eventdat.evt
    int r = fuzz_read(data, size, read_event_table);
    FUZZ_CHECK(r == (size >= sizeof events.table ? READ_OK : FORMAT_ERROR));
    FUZZ_CHECK(events.event_no == 0);
  } else if (reader == "event_messages") {
    // eventmsg.mgb: every line the game may show ends inside its 160 bytes.
    FUZZ_CHECK(fuzz_read(data, size, read_event_messages) == READ_OK);
    for (auto& line : event_msg) FUZZ_CHECK(std::memchr(line, 0, sizeof line) != nullptr);
  } else {
    FUZZ_CHECK(!"FUZZ_READER names no reader");
  }
  return 0;
}
