// What tiles mean: searching, chests and hidden finds, doors and keys,
// counters and event tiles.
#include "battle/battle.h"
#include "event/event.h"
#include "field/shop.h"
#include "field/walk.h"
#include "field_fixture.h"
#include "gfx/surfaces.h"
#include "message/message.h"

#include <cstring>

namespace {

using lines = std::vector<std::string>;

class Tiles : public FieldTest {
protected:
  void SetUp() override {
    FieldTest::SetUp();
    make_map(7, 30, 30, 10, 10);
  }
  void fill_bag() {
    for (u8& e : game.sb.bag) e = 199;
  }
  void fill_items() {
    for (int m = 0; m < 3; m++) std::memset(game.sb.party[m].items, 169, 16);
  }
  // Event n sets flag 255 when `opens`, else flag 254.
  void door_event(int n, bool opens) {
    event_record& e = events.table[n];
    e.length = 3;
    e.code[0] = sci_system, e.code[1] = opens ? 255 : 254, e.code[2] = sci_on;
  }
};

TEST_F(Tiles, SearchingFindsWhatTheFirstRecordOfTheTileHolds) {
  EXPECT_EQ(try_step(10, 10, STEP_SEARCH), 0);
  EXPECT_TRUE(texts().empty()) << "no record: nothing said";
  EXPECT_EQ(msg_window.msg_visible, 0);
  msg_print(PRINT_NEW, "before");
  add_event(10, 10, 32, 0, 0);
  add_event(10, 10, 33, 128, 169);
  try_step(10, 10, STEP_SEARCH);
  EXPECT_EQ(texts(), (lines{"足下を調べた。", "何も、見つからない。"})) << "a new report";
  EXPECT_EQ(game.sb.flags[33], 0) << "only the first record counts";
}

TEST_F(Tiles, AChestGivesItsItemOnceAndKeepsItWhenItDoesNotFit) {
  game.map_grid[10][10] = 100 + TILE_CHEST;
  add_event(10, 10, 30, 128, 169);
  fill_items();
  try_step(10, 10, STEP_SEARCH);
  EXPECT_EQ(texts(), (lines{"宝箱を開けた。", "が、持ちきれなかった。"}));
  EXPECT_EQ(game.sb.flags[30], 0) << "the chest can be opened again";
  EXPECT_EQ(log_count("music: play fanfare.mid"), 0) << "no fanfare for what stays behind";
  forget_messages();
  game.sb.party[2].items[15] = 0;
  try_step(10, 10, STEP_SEARCH);
  EXPECT_EQ(texts(), (lines{"宝箱を開けた。", "なんと、@C1ALAN@C0たちは、",
                            "やくそう        を手に入れた。"}));
  EXPECT_EQ(game.sb.party[2].items[15], 169);
  EXPECT_EQ(game.sb.flags[30], 1);
  EXPECT_EQ(log_count("music: play fanfare.mid"), 1);
  forget_messages();
  try_step(10, 10, STEP_SEARCH);
  EXPECT_EQ(texts(), (lines{"宝箱を開けた。", "中身は、からっぽだ。"}));
}

TEST_F(Tiles, AHiddenFindIsAnnouncedWithItsFanfareBeforeItIsStored) {
  add_event(10, 10, 31, 128, 160);
  fill_bag();
  try_step(10, 10, STEP_SEARCH);
  EXPECT_EQ(texts(), (lines{"足下を調べた。", "なんと! @C1ALAN@C0たちは、",
                            " ふね            を見つけた。", "が、持ちきれなかった。"}));
  EXPECT_EQ(log_count("music: play fanfare.mid"), 1);
  EXPECT_EQ(game.sb.flags[31], 0) << "it can be found again";
  game.sb.bag[19] = ITEM_USED_UP; // a free entry
  forget_messages();
  try_step(10, 10, STEP_SEARCH);
  EXPECT_EQ(texts().back(), "ふね            を手に入れた。");
  EXPECT_EQ(game.sb.bag[19], 160);
  EXPECT_EQ(game.sb.flags[31], 1);
}

TEST_F(Tiles, ALockedDoorOpensForItsKeyOnly) {
  game.map_grid[10][11] = DOOR;
  game.map_grid[11][10] = DOOR;
  game.open_door_tile = 5;
  add_event(11, 10, 0, 1, 0);
  add_event(10, 11, 0, 200, 0); // a key number past the item table
  EXPECT_EQ(try_step(10, 11, STEP_ENTER), 1);
  EXPECT_EQ(texts()[0], "@C3                @C0を持っていない！") << "names no item";
  forget_messages();
  EXPECT_EQ(try_step(11, 10, STEP_ENTER), 1);
  EXPECT_EQ(texts(), (lines{"@C3カードギー      @C0を持っていない！", "*ドアが開かない！"}));
  EXPECT_EQ(game.map_grid[10][11], DOOR);
  forget_messages();
  game.sb.bag[0] = 150;
  EXPECT_EQ(try_step(11, 10, STEP_ENTER), 0);
  EXPECT_EQ(game.map_grid[10][11], 5);
  EXPECT_EQ(texts(), lines{"*ドアが開いた"});
  EXPECT_EQ(log_count("sound: Door"), 1);
  // The opened door is in the map picture at once: tile (11, 10) is picture tile (10, 9).
  EXPECT_EQ(pixel(gfx.map_surface[field_map.map_surface_sel], 160 + 1, 144 + 1), map_tile_color(5));
}

TEST_F(Tiles, AnEventDoorLetsThePartyInOnlyWhenItsEventSetsFlag255) {
  game.map_grid[10][11] = DOOR;
  add_event(11, 10, 60, 0, 0);
  door_event(60, false);
  EXPECT_EQ(try_step(11, 10, STEP_ENTER), 1);
  EXPECT_EQ(try_step(11, 10, STEP_ENTER), 1) << "every time";
  EXPECT_EQ(game.sb.flags[254], 1);
  door_event(60, true);
  EXPECT_EQ(try_step(11, 10, STEP_ENTER), 0);
  game.sb.flags[255] = 0;
  game.pos_x = 11;
  try_step(11, 10, STEP_ARRIVE);
  EXPECT_EQ(game.sb.flags[255], 1) << "the event runs again on arrival";
}

TEST_F(Tiles, CountersAndEventTilesRefuseTheStepAndAnswer) {
  // Which counter window is open, and for which record.
  auto opened = [] {
    if (services.inn_win) return std::string("inn");
    if (services.shop_win) return "shop " + std::to_string(services.shop_no);
    if (services.church_win) return "church " + std::to_string(services.church_no);
    return std::string("none");
  };
  add_event(11, 10, 3, 0, 0);
  add_event(11, 11, 1, 0, 0); // the churches are numbered 0 and 1
  for (int cls : {TILE_INN, TILE_SHOP, TILE_SHOP_B, TILE_SHOP_C, TILE_CHURCH}) {
    const char* want = cls == TILE_INN ? "inn" : cls == TILE_CHURCH ? "church 1" : "shop 3";
    int y = cls == TILE_CHURCH ? 11 : 10;
    game.map_grid[y][11] = static_cast<u8>(100 + cls);
    forget_messages();
    EXPECT_EQ(try_step(11, y, STEP_ENTER), 1) << cls;
    EXPECT_EQ(opened(), want) << cls;
    forget_messages();
    game.pos_y = y;
    game.facing = 4;
    talk_command();
    EXPECT_EQ(opened(), want) << cls;
    game.pos_y = 10;
  }
  game.map_grid[10][11] = 100 + TILE_GREETING;
  forget_messages();
  EXPECT_EQ(try_step(11, 10, STEP_ENTER), 1);
  EXPECT_EQ(texts(), lines{"いらっしゃいませ。"});
  for (int cls : {TILE_EVENT, TILE_EVENT_B, TILE_EVENT_C}) {
    game.map_grid[10][11] = static_cast<u8>(100 + cls);
    events.event_no = 0;
    EXPECT_EQ(try_step(11, 10, STEP_ENTER), 1);
    EXPECT_EQ(events.event_no, 3) << cls;
  }
  game.map_grid[10][11] = 100 + TILE_CHEST;
  forget_messages();
  EXPECT_EQ(try_step(11, 10, STEP_ENTER), 0) << "a chest is walked onto";
  talk_command();
  EXPECT_TRUE(texts().empty());
}

TEST_F(Tiles, AWallBumpsAndTalkingPastTheMapEdgeFindsNothing) {
  game.map_grid[10][11] = WALL;
  EXPECT_EQ(try_step(11, 10, STEP_ENTER), 1);
  EXPECT_EQ(log_count("sound: WallStop"), 1);
  game.pos_x = 0;
  game.facing = 2;
  talk_command();
  EXPECT_TRUE(texts().empty());
}

} // namespace
