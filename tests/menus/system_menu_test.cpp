#include "menus_fixture.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int K_Q = 0x51;

struct SystemMenu : ::testing::Test {
  void SetUp() override {
    std::remove(SAVE_FILE);
    fresh_game();
    game.tile_class[7] = 2; // stairs
    game.map_grid[5][5] = 0;
  }
  void TearDown() override { std::remove(SAVE_FILE); }
};

TEST_F(SystemMenu, OpeningStartsOnSaveAndKeepsTheSlotCursors) {
  system_key(K_Q);
  EXPECT_EQ(field_menu.system_win, 1);
  press(system_key, {K_DOWN, K_OK}); // the load list
  EXPECT_EQ(field_menu.sys_state, SYS_LOAD_SLOT);
  press(system_key, {K_DOWN, K_DOWN, K_CANCEL, K_UP, K_OK});
  EXPECT_EQ(field_menu.sys_state, SYS_SAVE_SLOT);
  press(system_key, {K_DOWN, K_DOWN, K_DOWN, K_CANCEL, K_CANCEL});
  EXPECT_EQ(field_menu.system_win, 0);
  system_key(K_Q);
  EXPECT_EQ(field_menu.sys_row, 0);
  EXPECT_EQ(field_menu.sys_state, SYS_MAIN);
  EXPECT_EQ(field_menu.load_cursor, 2);
  EXPECT_EQ(field_menu.save_cursor, 3);
}

TEST_F(SystemMenu, CursorsStayWithinTheirLists) {
  system_key(K_Q);
  for (int i = 0; i < 6; i++) system_key(K_DOWN);
  EXPECT_EQ(field_menu.sys_row, 3);
  press(system_key, {K_UP, K_UP, K_UP, K_OK});
  for (int i = 0; i < 10; i++) system_key(K_DOWN);
  EXPECT_EQ(field_menu.save_cursor, 7);
  system_key(K_OK);
  EXPECT_EQ(field_menu.sys_state, SYS_YES_NO);
  EXPECT_EQ(lines(), std::vector<std::string>{"セーブします。よろしいですか？"});
  press(system_key, {K_DOWN, K_DOWN, K_DOWN});
  EXPECT_EQ(field_menu.yes_no, 1);
  press(system_key, {K_UP, K_UP});
  EXPECT_EQ(field_menu.yes_no, 0);
}

TEST_F(SystemMenu, EveryClassThatForbidsSavingIsRefusedAndNoGoesBackToTheSlots) {
  for (int k = -1; k <= 20; k++) {
    game.tile_class[7] = static_cast<i8>(k);
    game.map_grid[5][5] = 7;
    bool forbidden = (k >= 1 && k <= 3) || (k >= 8 && k <= 16);
    EXPECT_EQ(save_allowed_here(), forbidden ? 0 : 1) << k;
  }
  game.map_grid[5][5] = 0;
  game.pos_x = -1; // a step off the edge of the map
  EXPECT_EQ(save_allowed_here(), 0);
  game.pos_x = 5; // on stairs the menu refuses, and no goes back to the slots
  game.tile_class[7] = 2;
  game.map_grid[5][5] = 7;
  system_key(K_Q);
  press(system_key, {K_OK, K_OK, K_OK});
  EXPECT_EQ(lines(), std::vector<std::string>{"ここでは、セーブできない。"}) << transcript();
  EXPECT_EQ(field_menu.sys_state, SYS_YES_NO);
  EXPECT_EQ(access(SAVE_FILE, F_OK), -1);
  EXPECT_EQ(game.cur_slot, 0);
  press(system_key, {K_DOWN, K_OK});
  EXPECT_EQ(field_menu.sys_state, SYS_SAVE_SLOT);
}

TEST_F(SystemMenu, AFailedSaveSaysItFailedAndASaveSetsTheSlotAndSaysSo) {
  ASSERT_EQ(mkdir("rpgpcd.pcd.tmp", 0755), 0);
  system_key(K_Q);
  press(system_key, {K_OK, K_OK, K_OK});
  rmdir("rpgpcd.pcd.tmp");
  EXPECT_EQ(lines(), std::vector<std::string>{"セーブできませんでした。"}) << transcript();
  EXPECT_EQ(field_menu.sys_state, SYS_MAIN);
  EXPECT_EQ(game.slots[0].map, 0);
  press(system_key, {K_OK, K_DOWN, K_DOWN, K_DOWN, K_OK, K_OK});
  EXPECT_EQ(lines(), std::vector<std::string>{"セーブ完了。"}) << transcript();
  EXPECT_EQ(std::tuple(game.cur_slot, game.slots[3].map), std::tuple(3, 12));
  EXPECT_EQ(field_menu.sys_state, SYS_MAIN);
  EXPECT_EQ(windows(), "cmd:closed system_win msg_visible");
}

TEST_F(SystemMenu, UnusedAndUnreadableSlotsAreNotLoadedAndChangeNothing) {
  game.slots[1].map = 4; // shown as used, but there is no file
  game.sb.gold = 1234;
  system_key(K_Q);
  press(system_key, {K_DOWN, K_OK, K_OK}); // slot 0 is unused: it cannot be chosen
  EXPECT_EQ(field_menu.sys_state, SYS_LOAD_SLOT);
  EXPECT_TRUE(lines().empty());
  press(system_key, {K_DOWN, K_OK, K_OK});
  EXPECT_EQ(lines(), std::vector<std::string>{"ロードできませんでした。"}) << transcript();
  EXPECT_EQ(std::tuple(game.sb.gold, game.cur_map, game.cur_slot), std::tuple(1234, 12, 1));
  EXPECT_EQ(field_menu.system_win, 1);
  EXPECT_EQ(field_menu.sys_state, SYS_MAIN);

  // The file is back, but the slot's map has no file here: the slot is
  // refused and the list stays open for another.
  std::remove("dmapdat004.mp");
  std::FILE* f = std::fopen(SAVE_FILE, "wb");
  std::fwrite(game.slots, sizeof game.slots, 1, f);
  std::fclose(f);
  game.cur_slot = 0;
  press(system_key, {K_OK, K_OK, K_OK});
  EXPECT_EQ(lines(), std::vector<std::string>{SLOT_PLACE_MISSING_TEXT}) << transcript();
  EXPECT_EQ(std::tuple(game.sb.gold, game.cur_map, game.cur_slot), std::tuple(1234, 12, 0));
  EXPECT_EQ(field_menu.sys_state, SYS_LOAD_SLOT);
}

TEST_F(SystemMenu, CancelsSayCancelAndTheEventItemsTurnPages) {
  system_key(K_Q);
  press(system_key, {K_OK, K_CANCEL});
  EXPECT_EQ(lines(), std::vector<std::string>{"キャンセルします"});
  press(system_key, {K_DOWN, K_DOWN, K_OK});
  EXPECT_EQ(field_menu.sys_state, SYS_BAG);
  press(system_key, {K_RIGHT, K_RIGHT, K_DOWN});
  EXPECT_EQ(field_menu.bag_page, 1);
  EXPECT_EQ(field_menu.sys_row, 2);
  system_key(K_OK);
  EXPECT_EQ(field_menu.sys_state, SYS_MAIN);
  press(system_key, {K_DOWN, K_OK});
  EXPECT_EQ(windows(), "cmd:closed");
}

} // namespace
