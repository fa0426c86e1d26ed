// The game's data files read at start-up and on a map change: what each
// reader takes, and how a missing, short or damaged file is reported while
// every table keeps what it held.
#include "event/event.h"
#include "platform/headless/headless.h"
#include "shell/shell.h"
#include "state/data_files.h"
#include "state/state.h"
#include "tests/common/test_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<u8> map_file(int max_x, int max_y, u8 tile) {
  std::vector<u8> b(16, 0);
  b[0] = static_cast<u8>(max_x);
  b[1] = static_cast<u8>(max_y);
  b[2] = 3, b[3] = 2, b[8] = 2, b[9] = 4, b[10] = 30, b[11] = 31, b[12] = 17;
  b.resize(16 + (max_x + 1) * (max_y + 1), tile);
  return b;
}

// Writes the bytes as the named file and reads them back with the reader;
// its result, and in *at where it stopped.
int read_back(const char* name, const std::vector<u8>& bytes, int (*reader)(std::FILE*),
              long* at = nullptr) {
  write_file(name, bytes);
  std::FILE* f = std::fopen(name, "rb");
  int result = reader(f);
  if (at) *at = std::ftell(f);
  std::fclose(f);
  return result;
}

// The log lines of one kind ("box: ", "debug: "), without their kind.
std::vector<std::string> logged(const std::string& kind) {
  std::vector<std::string> out;
  for (auto& l : headless.log)
    if (l.rfind(kind, 0) == 0) out.push_back(l.substr(kind.size()));
  return out;
}

bool boxed(const std::string& text) {
  std::vector<std::string> b = logged("box: ");
  return std::find(b.begin(), b.end(), "[Zandrek] " + text) != b.end();
}

struct DataFiles : ::testing::Test {
  void SetUp() override {
    reset_state();
    install_hooks();
    headless_reset();
    for (const char* n : {"dmapdat012.mp", "dmapevt012.meb", "dmapnpc012.npc", "eventdat.evt",
                          "rpgmappat.atr", "dmapdat004.mp", "rpg.ini", "rpgmidlst.lst",
                          "eventmsg.mgb", "dmapdmy.mp", "dmapevt004.meb", "dmapnpc004.npc"})
      std::remove(n);
  }
};

} // namespace

TEST_F(DataFiles, MapSetOpensItsFilesInOrderAndReportsEachMissingOne) {
  game.cur_map = 12;
  load_data(LOAD_MAP);
  EXPECT_EQ(logged("box: "), (std::vector<std::string>{
                                 "[Zandrek] [ OPEN ERROR ] 00 dmapdat012.mp 0",
                                 "[Zandrek] [ OPEN ERROR ] 01 dmapevt012.meb 0",
                                 "[Zandrek] [ OPEN ERROR ] 02 dmapnpc012.npc 0",
                                 "[Zandrek] [ OPEN ERROR ] 16 eventdat.evt 0",
                                 "[Zandrek] [ OPEN ERROR ] 17 rpgmappat.atr 0",
                             }));
  EXPECT_EQ(logged("debug: ").back(), "Maze Data Loading End !!\n");
}

TEST_F(DataFiles, MapFileReadsExactlyItsRowsAndAShortOneIsAReadError) {
  game.cur_map = 12;
  game.map_grid[0][10] = 77; // beyond max x: must stay
  game.map_grid[5][0] = 78;  // below max y: must stay
  long at = 0;
  EXPECT_EQ(read_back("dmapdat012.mp", map_file(9, 4, 33), read_map, &at), READ_OK);
  EXPECT_EQ(at, 66);
  EXPECT_EQ(game.map_grid[4][9], 33);
  EXPECT_EQ(game.map_grid[0][10], 77);
  EXPECT_EQ(game.map_grid[5][0], 78);
  EXPECT_EQ(game.pos_x, 3);
  EXPECT_EQ(game.view_x, -6);
  EXPECT_EQ(game.edge_exit, 1);
  EXPECT_EQ(game.return_map, 4);
  EXPECT_EQ(game.cur_area, 17);

  auto shorter = map_file(9, 4, 33);
  shorter.pop_back();
  write_file("dmapdat012.mp", shorter);
  load_data(LOAD_MAP);
  EXPECT_EQ(logged("box: ")[0], "[Zandrek] [ READ ERROR ] 00");
}

TEST_F(DataFiles, WorldMapKeepsItsReturnPointAndTakesThePatchOfFlag83) {
  game.cur_map = WORLD_MAP;
  game.return_map = 9;
  read_back("dmapdat004.mp", map_file(255, 255, 80), read_map);
  EXPECT_EQ(game.return_map, 9);
  EXPECT_EQ(game.map_grid[212][21], 80);
  game.sb.flags[83] = 1;
  read_back("dmapdat004.mp", map_file(255, 255, 80), read_map);
  EXPECT_EQ(game.map_grid[212][21], 89);
  EXPECT_EQ(game.map_grid[74][50], 5);
  EXPECT_EQ(game.map_grid[74][54], 5);
  EXPECT_EQ(game.map_grid[74][55], 41);
}

TEST_F(DataFiles, ShortEventTableIsAFormatErrorButKeepsWhatWasRead) {
  std::vector<u8> recs(255 * 132);
  for (std::size_t i = 0; i < recs.size(); i++) recs[i] = static_cast<u8>(i % 251);
  write_file("eventdat.evt", recs);
  load_data(LOAD_MAP);
  EXPECT_TRUE(boxed("[ FORMAT ERROR ] 16"));
  EXPECT_EQ(0, std::memcmp(event_table, recs.data(), recs.size()));
}

TEST_F(DataFiles, MusicListOfThreeLinesLeavesEntryThreeASpace) {
  read_back("rpgmidlst.lst", {'a', '.', 'm', 'i', 'd', '\r', '\n', 'b', '\n', 'c', '\n'},
            read_music_list);
  EXPECT_STREQ(game.music_list[0], "a.mid");
  EXPECT_STREQ(game.music_list[2], "c");
  EXPECT_STREQ(game.music_list[3], " ");
  EXPECT_STREQ(game.music_list[4], "");
}

TEST_F(DataFiles, MissingNewGameFileLeavesTheSaveBlockZero) {
  load_data(LOAD_START);
  save_block zero{};
  EXPECT_EQ(0, std::memcmp(&game.sb, &zero, sizeof zero));
}

// A file that is not whole, or not a plain file at all, is reported in its
// box and every table keeps what it held; a FIFO must not hold start-up up.
TEST_F(DataFiles, DamagedOrNonRegularFilesAreReportedAndChangeNothing) {
  const struct {
    const char* name;
    int kind; // 0 a file of `size` bytes, 1 a folder, 2 a FIFO
    std::size_t size;
    const char* box;
  } cases[] = {
      {"rpg.ini", 0, 0, "[ READ ERROR ] 04"},
      {"rpg.ini", 0, sizeof(save_block) - 1, "[ READ ERROR ] 04"},
      {"rpg.ini", 1, 0, "[ OPEN ERROR ] 04 rpg.ini 0"},
      {"rpg.ini", 2, 0, "[ OPEN ERROR ] 04 rpg.ini 0"},
      {"dmapdat004.mp", 1, 0, "[ OPEN ERROR ] 00 dmapdat004.mp 0"},
      {"dmapdat004.mp", 2, 0, "[ OPEN ERROR ] 00 dmapdat004.mp 0"},
  };
  std::vector<u8> record(sizeof(save_block), 7);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " kind " + std::to_string(c.kind));
    SetUp();
    game.cur_map = WORLD_MAP;
    write_file("rpg.ini", record);
    load_data(LOAD_START);
    ASSERT_EQ(game.sb.gold, 0x07070707u);
    std::remove("rpg.ini");
    if (c.kind == 0) write_file(c.name, std::vector<u8>(c.size, 9));
    int made = c.kind == 1 ? mkdir(c.name, 0755) : c.kind == 2 ? mkfifo(c.name, 0644) : 0;
    ASSERT_EQ(made, 0);
    state_data before = game;
    headless_reset();
    load_data(LOAD_START);
    EXPECT_TRUE(boxed(c.box));
    EXPECT_EQ(0, std::memcmp(&before, &game, sizeof game));
    std::filesystem::remove(c.name);
  }
}

// Each line's byte pairs are swapped; a line with no end stops at its last
// byte.
TEST_F(DataFiles, EventMessagesSwapEveryBytePairAndEndWithinTheirLine) {
  std::vector<u8> lines(256 * 160, 0);
  lines[0] = 'B', lines[1] = 'A', lines[159] = 'y', lines[158] = 'z';
  EXPECT_EQ(read_back("eventmsg.mgb", lines, read_event_messages), READ_OK);
  EXPECT_EQ(event_msg[0][0], 'A');
  EXPECT_EQ(event_msg[0][1], 'B');
  EXPECT_EQ(event_msg[0][158], 'y');
  EXPECT_EQ(read_back("eventmsg.mgb", std::vector<u8>(256 * 160, 'x'), read_event_messages),
            READ_OK);
  for (auto& line : event_msg) EXPECT_EQ(strnlen(line, sizeof line), 159u);
}

TEST_F(DataFiles, BackdropsAndTileClassesRefuseShortFiles) {
  EXPECT_EQ(read_back("dmapdmy.mp", std::vector<u8>(1199, 1), read_backdrops), READ_ERROR);
  EXPECT_EQ(read_back("rpgmappat.atr", std::vector<u8>(255, 1), read_tile_classes), READ_ERROR);
}

TEST(AddExtension, AppendsOrReplacesOutsideBrackets) {
  const struct {
    const char* name;
    const char* ext;
    int result;
    const char* out;
  } rows[] = {
      {"dmapdat004", "mp", 0, "dmapdat004.mp"},
      {"[dir.x]name", "evt", 0, "[dir.x]name.evt"},
      {"name.old", "lst", 0, "name.lst"},
      {"bad]name", "lst", 1, "bad]name"},
  };
  for (const auto& r : rows) {
    char name[96];
    std::snprintf(name, sizeof name, "%s", r.name);
    EXPECT_EQ(add_extension(name, sizeof name, r.ext), r.result) << r.name;
    EXPECT_STREQ(name, r.out);
  }
}

// Damaged files, as the fuzz targets found them: nothing the file does not
// hold whole may change the map in play or be shown.
TEST_F(DataFiles, AShortMapFileLeavesTheMapInPlayAsItWas) {
  game.cur_map = 12;
  ASSERT_EQ(read_back("dmapdat012.mp", map_file(9, 4, 33), read_map), READ_OK);
  state_data before = game;
  auto other = map_file(20, 30, 44);
  other[2] = 15, other[7] = 6;
  other.resize(other.size() - 21); // the last row is missing
  EXPECT_EQ(read_back("dmapdat012.mp", other, read_map), READ_ERROR);
  EXPECT_EQ(0, std::memcmp(&before, &game, sizeof game));
  EXPECT_EQ(game.map_max_x, 9);
  EXPECT_EQ(game.pos_x, 3);
  EXPECT_EQ(game.map_grid[0][0], 33);
}

TEST_F(DataFiles, AMapEventFileCutShortCountsOnlyItsWholeRecords) {
  game.map_event_count = 3;
  game.map_events[2] = {7, 7, 1, 2, 3}; // the last map's event
  EXPECT_EQ(read_back("dmapevt012.meb", {200, 1, 2, 0, 0, 5, 3, 4, 0, 0, 6, 9, 9}, read_map_events),
            READ_OK);
  EXPECT_EQ(game.map_event_count, 2);
  EXPECT_EQ(game.map_events[1].x, 3);
  read_back("dmapevt012.meb", {}, read_map_events);
  EXPECT_EQ(game.map_event_count, 0);
}
