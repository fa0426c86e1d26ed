#include "menus_fixture.h"

#include "audio/music.h"
#include "tests/common/test_files.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A map file: header, then rows of one tile.
void write_map(int map, int music, int area, u8 tile) {
  std::vector<u8> b(16, 0);
  b[0] = b[1] = 31;
  b[2] = b[3] = 3;
  b[7] = static_cast<u8>(music);
  b[9] = 4, b[10] = 40, b[11] = 41;
  b[12] = static_cast<u8>(area);
  b.resize(16 + 32 * 32, tile);
  char name[32];
  std::snprintf(name, sizeof name, "dmapdat%03d.mp", map);
  write_file(name, b.data(), b.size());
}

struct SaveSlots : ::testing::Test {
  void SetUp() override {
    for (const char* n : {SAVE_FILE, "dmapdat004.mp", "dmapdat012.mp"}) std::remove(n);
    rmdir("rpgpcd.pcd.tmp");
    fresh_game();
  }
  void TearDown() override {
    chmod(".", 0755);
    rmdir("rpgpcd.pcd.tmp");
    for (const char* n : {SAVE_FILE, "dmapdat004.mp", "dmapdat012.mp"}) std::remove(n);
  }
};

// A slot's place: map, area, x, y.
std::tuple<int, int, int, int> slot_place(const save_block& s) {
  return {s.map, s.area, s.x, s.y};
}

TEST_F(SaveSlots, SavingIntoSlotThreeWithNoFileWritesAllEightSlots) {
  game.slots[5].map = 7;
  game.slots[5].gold = 555;
  game.sb.gold = 321;
  game.pos_x = 9;
  game.pos_y = 10;
  ASSERT_EQ(save_slot(3), 0);
  std::vector<u8> file = read_file(SAVE_FILE);
  ASSERT_EQ(file.size(), 13728u);
  save_block slots[8];
  std::memcpy(slots, file.data(), sizeof slots);
  for (int k : {0, 1, 2, 4, 6, 7}) EXPECT_EQ(slots[k].map, 0) << k;
  EXPECT_EQ(slots[5].map, 7);
  EXPECT_EQ(slots[5].gold, 555);
  EXPECT_EQ(slot_place(slots[3]), std::tuple(12, 17, 9, 10)) << "cur_area off the world map";
  EXPECT_EQ(slots[3].gold, 321);
  EXPECT_EQ(0, std::memcmp(&slots[3].party, &game.sb.party, sizeof game.sb.party));
  EXPECT_EQ(0, std::memcmp(&game.slots[3], &slots[3], sizeof slots[3]));
  EXPECT_EQ(access("rpgpcd.pcd.tmp", F_OK), -1);
}

TEST_F(SaveSlots, AFailedWriteKeepsTheOldFileAndTheSlotsInMemory) {
  game.sb.gold = 10;
  ASSERT_EQ(save_slot(1), 0);
  std::vector<u8> before = read_file(SAVE_FILE);
  game.sb.gold = 99999;
  ASSERT_EQ(mkdir("rpgpcd.pcd.tmp", 0755), 0); // the new file cannot be made
  EXPECT_EQ(save_slot(1), 1);
  EXPECT_EQ(read_file(SAVE_FILE), before);
  EXPECT_EQ(game.slots[1].gold, 10);
  EXPECT_EQ(access("rpgpcd.pcd.tmp", F_OK), 0); // not ours to remove
  rmdir("rpgpcd.pcd.tmp");
  if (geteuid() != 0) { // a folder that cannot be written (root writes anyway)
    chmod(".", 0555);
    EXPECT_EQ(save_slot(1), 1);
    chmod(".", 0755);
    EXPECT_EQ(read_file(SAVE_FILE), before);
  }
  EXPECT_EQ(save_slot(8), 1);
  EXPECT_EQ(save_slot(-1), 1);
}

TEST_F(SaveSlots, AShortFileGivesOnlyItsWholeSlots) {
  save_block two[2]{};
  two[0].map = 12;
  two[1].map = 4;
  std::vector<u8> bytes(sizeof two + 100, 0xEE);
  std::memcpy(bytes.data(), two, sizeof two);
  write_file(SAVE_FILE, bytes.data(), bytes.size());
  game.slots[2].map = 0;
  EXPECT_EQ(read_slots(), 1);
  EXPECT_EQ(game.slots[0].map, 12);
  EXPECT_EQ(game.slots[1].map, 4);
  EXPECT_EQ(game.slots[2].map, 0); // nothing of the part-written slot
  EXPECT_EQ(resume_slot(0), 1);    // a short file is not loaded from
  EXPECT_EQ(place(), std::tuple(12, 5, 5));
}

// What start-up does: every slot unused, then the file read.
void fill_slot_list() {
  for (save_block& s : game.slots) s.map = 0;
  read_slots();
}

TEST_F(SaveSlots, StartUpShowsExactlyTheSlotsOfTheFile) {
  game.slots[4].map = 9; // left from before
  fill_slot_list();
  for (const save_block& s : game.slots) EXPECT_EQ(s.map, 0);
  game.slots[6].map = 12;
  ASSERT_EQ(save_slot(2), 0);
  reset_state();
  fill_slot_list();
  EXPECT_EQ(game.slots[2].map, 12);
  EXPECT_EQ(game.slots[6].map, 12);
  EXPECT_EQ(game.cur_map, WORLD_MAP); // filling the list resumes nothing
}

TEST_F(SaveSlots, LoadingAWorldMapSlotRestoresItsPlaceAndKeepsTheReturnPoint) {
  write_map(4, 1, 0, 85);
  game.cur_map = WORLD_MAP;
  game.map_grid[20][30] = 85;
  game.pos_x = 30;
  game.pos_y = 20;
  game.sb.gold = 777;
  game.sb.party[1].hp = 3;
  ASSERT_EQ(save_slot(5), 0);
  EXPECT_EQ(slot_place(game.slots[5]), std::tuple(WORLD_MAP, 6, 30, 20)) << "the tile's area";
  // Play on elsewhere.
  game.cur_map = 12;
  game.cur_area = 17;
  game.sb.gold = 1;
  game.return_map = 12;
  game.return_x = 7;
  game.return_y = 8;
  game.on_ship = 1;
  game.encounter_steps = 2;
  game.no_monster_turn = 1;
  battle.weaken_count = 2;
  field_menu.system_win = 1;
  msg_window.msg_visible = 1;
  ASSERT_EQ(resume_slot(5), 0);
  EXPECT_EQ(place(), std::tuple(WORLD_MAP, 30, 20));
  EXPECT_EQ(std::tuple(game.view_x, game.view_y, game.cur_area), std::tuple(21, 11, 6));
  EXPECT_EQ(std::tuple(game.cur_music, game.playing_music), std::tuple(1, 1));
  EXPECT_EQ(game.sb.gold, 777);
  EXPECT_EQ(game.sb.party[1].hp, 3);
  EXPECT_EQ(std::tuple(game.return_map, game.return_x, game.return_y), std::tuple(12, 7, 8));
  EXPECT_EQ(std::tuple(game.on_ship, game.encounter_steps), std::tuple(1, 2)) << "kept";
  EXPECT_EQ(std::tuple(game.no_monster_turn, battle.weaken_count), std::tuple(0, 0)) << "cleared";
  EXPECT_EQ(windows(), "cmd:closed");
}

TEST_F(SaveSlots, LoadingAnotherMapTakesItsMusicAndItsReturnPoint) {
  write_map(12, 9, 30, 0);
  game.cur_area = 23;
  ASSERT_EQ(save_slot(0), 0);
  game.cur_map = WORLD_MAP;
  game.cur_area = 0;
  ASSERT_EQ(resume_slot(0), 0);
  EXPECT_EQ(game.cur_map, 12);
  EXPECT_EQ(game.cur_area, 23) << "the stored area, not the map's own";
  EXPECT_EQ(std::tuple(game.cur_music, game.playing_music, game.return_x), std::tuple(9, 9, 40));
}

TEST_F(SaveSlots, AnUnusedSlotIsNotResumed) {
  ASSERT_EQ(save_slot(0), 0);
  game.sb.gold = 42;
  EXPECT_EQ(resume_slot(1), 2);
  EXPECT_EQ(resume_slot(9), 2);
  EXPECT_EQ(std::tuple(game.sb.gold, game.cur_map), std::tuple(42, 12));
}

TEST_F(SaveSlots, SlotLabelsNameTheAreaOrThePlace) {
  game.slots[0].map = 4;
  game.slots[0].area = 6;
  game.slots[1].map = 12;
  game.slots[1].area = 3;
  EXPECT_STREQ(slot_label(0), world_area_names[6]);
  EXPECT_STREQ(slot_label(1), place_names[3]);
  EXPECT_STREQ(slot_label(2), "－－ 未使用 －－");
}

} // namespace
