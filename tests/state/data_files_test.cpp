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

std::vector<std::string> boxes() {
  std::vector<std::string> out;
  for (auto& l : headless.log)
    if (l.rfind("box: ", 0) == 0) out.push_back(l);
  return out;
}

std::vector<std::string> debug_lines() {
  std::vector<std::string> out;
  for (auto& l : headless.log)
    if (l.rfind("debug: ", 0) == 0) out.push_back(l.substr(7));
  return out;
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
  auto b = boxes();
  ASSERT_EQ(b.size(), 5u);
  EXPECT_EQ(b[0], "box: [Zandrek] [ OPEN ERROR ] 00 dmapdat012.mp 0");
  EXPECT_EQ(b[1], "box: [Zandrek] [ OPEN ERROR ] 01 dmapevt012.meb 0");
  EXPECT_EQ(b[2], "box: [Zandrek] [ OPEN ERROR ] 02 dmapnpc012.npc 0");
  EXPECT_EQ(b[3], "box: [Zandrek] [ OPEN ERROR ] 16 eventdat.evt 0");
  EXPECT_EQ(b[4], "box: [Zandrek] [ OPEN ERROR ] 17 rpgmappat.atr 0");
  EXPECT_EQ(debug_lines().back(), "Maze Data Loading End !!\n");
}

TEST_F(DataFiles, MapFileReadsExactlyItsRowsAndAShortOneIsAReadError) {
  game.cur_map = 12;
  game.map_grid[0][10] = 77; // beyond max x: must stay
  game.map_grid[5][0] = 78;  // below max y: must stay
  write_file("dmapdat012.mp", map_file(9, 4, 33));
  std::FILE* f = std::fopen("dmapdat012.mp", "rb");
  EXPECT_EQ(read_map(f), READ_OK);
  EXPECT_EQ(std::ftell(f), 66);
  std::fclose(f);
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
  EXPECT_EQ(boxes()[0], "box: [Zandrek] [ READ ERROR ] 00");
}

TEST_F(DataFiles, WorldMapKeepsItsReturnPointAndTakesThePatchOfFlag83) {
  game.cur_map = WORLD_MAP;
  game.return_map = 9;
  auto m = map_file(255, 255, 80);
  write_file("dmapdat004.mp", m);
  std::FILE* f = std::fopen("dmapdat004.mp", "rb");
  read_map(f);
  std::fclose(f);
  EXPECT_EQ(game.return_map, 9);
  EXPECT_EQ(game.map_grid[212][21], 80);
  game.sb.flags[83] = 1;
  f = std::fopen("dmapdat004.mp", "rb");
  read_map(f);
  std::fclose(f);
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
  bool found = false;
  for (auto& b : boxes()) found |= b == "box: [Zandrek] [ FORMAT ERROR ] 16";
  EXPECT_TRUE(found);
  EXPECT_EQ(0, std::memcmp(event_table, recs.data(), recs.size()));
}

TEST_F(DataFiles, MusicListOfThreeLinesLeavesEntryThreeASpace) {
  write_file("rpgmidlst.lst", {'a', '.', 'm', 'i', 'd', '\r', '\n', 'b', '\n', 'c', '\n'});
  std::FILE* f = std::fopen("rpgmidlst.lst", "r");
  read_music_list(f);
  std::fclose(f);
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
    auto b = boxes();
    EXPECT_NE(std::find(b.begin(), b.end(), std::string("box: [Zandrek] ") + c.box), b.end())
        << c.name << " kind " << c.kind;
    EXPECT_EQ(0, std::memcmp(&before, &game, sizeof game)) << c.name << " kind " << c.kind;
    std::filesystem::remove(c.name);
  }
}

TEST_F(DataFiles, EventMessagesSwapEveryBytePair) {
  std::vector<u8> lines(256 * 160, 0);
  lines[0] = 'B', lines[1] = 'A', lines[159] = 'y', lines[158] = 'z';
  write_file("eventmsg.mgb", lines);
  std::FILE* f = std::fopen("eventmsg.mgb", "rb");
  EXPECT_EQ(read_event_messages(f), READ_OK);
  std::fclose(f);
  EXPECT_EQ(event_msg[0][0], 'A');
  EXPECT_EQ(event_msg[0][1], 'B');
  EXPECT_EQ(event_msg[0][158], 'y');
}

TEST_F(DataFiles, BackdropsAndTileClassesRefuseShortFiles) {
  write_file("dmapdmy.mp", std::vector<u8>(1199, 1));
  write_file("rpgmappat.atr", std::vector<u8>(255, 1));
  std::FILE* f = std::fopen("dmapdmy.mp", "rb");
  EXPECT_EQ(read_backdrops(f), READ_ERROR);
  std::fclose(f);
  f = std::fopen("rpgmappat.atr", "rb");
  EXPECT_EQ(read_tile_classes(f), READ_ERROR);
  std::fclose(f);
}

TEST(AddExtension, AppendsOrReplacesOutsideBrackets) {
  char a[96] = "dmapdat004";
  EXPECT_EQ(add_extension(a, sizeof a, "mp"), 0);
  EXPECT_STREQ(a, "dmapdat004.mp");
  char b[96] = "[dir.x]name";
  add_extension(b, sizeof b, "evt");
  EXPECT_STREQ(b, "[dir.x]name.evt");
  char c[96] = "name.old";
  add_extension(c, sizeof c, "lst");
  EXPECT_STREQ(c, "name.lst");
  char d[96] = "bad]name";
  EXPECT_EQ(add_extension(d, sizeof d, "lst"), 1);
  EXPECT_STREQ(d, "bad]name");
}

// Damaged files, as the fuzz targets found them: nothing the file does not
// hold whole may change the map in play or be shown.
TEST_F(DataFiles, AShortMapFileLeavesTheMapInPlayAsItWas) {
  game.cur_map = 12;
  write_file("dmapdat012.mp", map_file(9, 4, 33));
  std::FILE* f = std::fopen("dmapdat012.mp", "rb");
  ASSERT_EQ(read_map(f), READ_OK);
  std::fclose(f);
  state_data before = game;
  auto other = map_file(20, 30, 44);
  other[2] = 15, other[7] = 6;
  other.resize(other.size() - 21); // the last row is missing
  write_file("dmapdat012.mp", other);
  f = std::fopen("dmapdat012.mp", "rb");
  EXPECT_EQ(read_map(f), READ_ERROR);
  std::fclose(f);
  EXPECT_EQ(0, std::memcmp(&before, &game, sizeof game));
  EXPECT_EQ(game.map_max_x, 9);
  EXPECT_EQ(game.pos_x, 3);
  EXPECT_EQ(game.map_grid[0][0], 33);
}

TEST_F(DataFiles, AMapEventFileCutShortCountsOnlyItsWholeRecords) {
  game.map_event_count = 3;
  game.map_events[2] = {7, 7, 1, 2, 3}; // the last map's event
  write_file("dmapevt012.meb", {200, 1, 2, 0, 0, 5, 3, 4, 0, 0, 6, 9, 9});
  std::FILE* f = std::fopen("dmapevt012.meb", "rb");
  EXPECT_EQ(read_map_events(f), READ_OK);
  std::fclose(f);
  EXPECT_EQ(game.map_event_count, 2);
  EXPECT_EQ(game.map_events[1].x, 3);
  write_file("dmapevt012.meb", {});
  f = std::fopen("dmapevt012.meb", "rb");
  read_map_events(f);
  std::fclose(f);
  EXPECT_EQ(game.map_event_count, 0);
}

TEST_F(DataFiles, AnEventMessageWithNoEndStopsAtItsLastByte) {
  write_file("eventmsg.mgb", std::vector<u8>(256 * 160, 'x'));
  std::FILE* f = std::fopen("eventmsg.mgb", "rb");
  EXPECT_EQ(read_event_messages(f), READ_OK);
  std::fclose(f);
  for (auto& line : event_msg) EXPECT_EQ(strnlen(line, sizeof line), 159u);
}
