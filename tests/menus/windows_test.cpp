#include "menus_fixture.h"

#include "gfx/field_windows.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "tests/common/back_buffer.h"
#include "tests/common/save_picture.h"
#include "tests/common/window_pieces.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr pixel_rgb GREEN{0, 255, 0}, WHITE{255, 255, 255}, RED{255, 0, 0}, CYAN{0, 255, 255};

// Marked frame pieces and cursor, the inn picture grey.
struct Windows : ::testing::Test {
  void SetUp() override {
    fresh_game();
    mark_window_pieces();
    surface_create(gfx.yadoya_surface, 80, 80);
    fill_rect(gfx.yadoya_surface, 0, 0, 80, 80, 0x808080);
  }
  void draw() {
    fill_rect(gfx.back_surface, 0, 0, 256, 256, 0x102030);
    draw_field_windows();
    draw_system_menu();
  }
  int piece(int x, int y) {
    pixel_rgb p = pixel(x, y);
    return p.g == 0 && p.b == 0 && p.r >= 1 && p.r <= 9 ? p.r - 1 : -1;
  }
  bool cursor_at(int x, int y) {
    return pixel(x, y) == GREEN && pixel(x + 5, y + 11) == GREEN && pixel(x - 1, y) != GREEN &&
           pixel(x + 6, y + 11) != GREEN;
  }
  // A frame's four corners: pieces 0, 1, 2, 3 with w and h rounded up to 8.
  void expect_frame(int x, int y, int w, int h) {
    int r = x + ((w + 7) / 8 - 1) * 8, b = y + ((h + 7) / 8 - 1) * 8;
    EXPECT_EQ(piece(x, y), 0) << x << "," << y;
    EXPECT_EQ(piece(r + 7, y), 1) << x << "," << y;
    EXPECT_EQ(piece(x, b + 7), 2) << x << "," << y;
    EXPECT_EQ(piece(r + 7, b + 7), 3) << x << "," << y;
  }
  // Draws the menus in this state: the frames and the cursors are there, the
  // covered cursors hidden under later windows.
  void look(const field_menu_data& menu, const shop_data& counters,
            const std::vector<std::array<int, 4>>& frames,
            const std::vector<std::array<int, 2>>& cursors,
            const std::vector<std::array<int, 2>>& covered = {}) {
    field_menu = menu;
    services = counters;
    draw();
    for (auto [x, y, w, h] : frames) expect_frame(x, y, w, h);
    for (auto [x, y] : cursors) EXPECT_TRUE(cursor_at(x, y)) << x << "," << y;
    for (auto [x, y] : covered) EXPECT_FALSE(cursor_at(x, y)) << x << "," << y << " covered";
  }
};

using frames = std::vector<std::array<int, 4>>; // x, y, w, h
using spots = std::vector<std::array<int, 2>>;  // x, y

TEST_F(Windows, EveryWindowHasItsFrameAndCursorAndCoversTheOnesUnder) {
  carry(0, 0, 1);
  game.sb.party[0].eq_mask = 1;
  look({.cmd_menu = CMD_OPEN, .cmd_row = 2, .cmd_col = 1}, {}, frames{{8, 8, 128, 64}},
       spots{{66, 50}});
  EXPECT_GT(count_color(44, 8, 60, 12, WHITE), 20);  // " コマンド "
  EXPECT_GT(count_color(26, 50, 96, 12, WHITE), 40); // "そうび　しらべる"
  look({.cmd_menu = CMD_ITEMS, .sel_member = 2}, {}, frames{{16, 16, 128, 64}}, spots{{24, 58}});
  EXPECT_GT(count_color(36, 58, 24, 12, WHITE), 10); // "CARL"
  field_menu_data spells{.cmd_menu = CMD_MAGIC, .magic_win = 1, .magic_col = 1, .magic_row = 3};
  look(spells, {}, frames{{24, 24, 152, 148}}, spots{{100, 80}});
  battle.member_pick = 1;
  battle.spell_target_member = 1;
  look(spells, {}, {}, spots{{24, 44}});
  battle.member_pick = 0;
  look({.cmd_menu = CMD_ITEMS, .item_win = 1}, {}, frames{{24, 24, 140, 134}}, spots{{32, 38}});
  EXPECT_GT(count_color(42 + 17 * 6, 38, 6, 12, WHITE), 4); // the "E" mark
  field_menu_data items{
      .cmd_menu = CMD_ITEMS, .item_win = 1, .item_action_win = 1, .item_action_row = 2};
  look(items, {}, frames{{36, 36, 68, 78}}, spots{{44, 78}}, spots{{32, 38}});
  battle.item_pick = 1;
  battle.item_target_member = 2;
  look(items, {}, {}, spots{{24, 58}});
  items.item_info_win = 1;
  look(items, {}, frames{{24, 24, 196, 200}}, {}, spots{{24, 58}});
  battle.item_pick = 0;
  field_menu_data equip{.cmd_menu = CMD_EQUIP, .equip_win = 1, .equip_row = 6};
  look(equip, {}, frames{{32, 32, 164, 120}}, spots{{40, 130}});
  equip.equip_list_win = equip.equip_list_page = 1;
  equip.equip_list_row = 7;
  look(equip, {}, frames{{24, 24, 140, 134}}, spots{{32, 136}});
  look({}, {.inn_win = 1, .inn_row = 1}, frames{{8, 8, 68, 50}, {88, 72, 80, 80}}, spots{{16, 36}});
  constexpr pixel_rgb GREY{128, 128, 128};
  EXPECT_EQ(pixel(96, 80), GREY) << "the inn's picture, whole";
  EXPECT_EQ(pixel(159, 143), GREY);
  EXPECT_NE(pixel(160, 143), GREY);
  shop_data shop{.shop_win = 1, .shop_sub = 1, .shop_list_row = 4};
  look({}, shop, frames{{8, 104, 104, 36}, {8, 8, 212, 92}}, spots{{16, 78}});
  shop.shop_pick = shop.shop_member = 1;
  look({}, shop, frames{{16, 16, 128, 64}}, spots{{24, 44}}, spots{{16, 78}});
  look({}, {.church_win = 1, .church_row = 3}, frames{{8, 8, 140, 78}}, spots{{16, 64}});
  look({.system_win = 1, .sys_row = 3}, {}, frames{{8, 8, 92, 78}}, spots{{16, 64}});
  field_menu_data sys{.system_win = 1, .sys_state = SYS_YES_NO, .sys_row = 1, .yes_no = 1};
  sys.save_cursor = 2;
  sys.load_cursor = 5;
  look(sys, {}, frames{{16, 16, 152, 134}, {80, 80, 68, 50}}, spots{{24, 100}, {88, 108}},
       spots{{24, 58}});
  sys.sys_state = SYS_BAG;
  look(sys, {}, frames{{32, 48, 140, 162}}, {}, spots{{24, 100}});
}

TEST_F(Windows, DeadNamesAreRedAndPoisonedOnesCyan) {
  field_menu.cmd_menu = CMD_STATUS;
  field_menu.status_win = 1;
  game.sb.party[0].status = STATUS_DEAD | STATUS_POISON;
  draw();
  expect_frame(24, 24, 196, 200);
  EXPECT_GT(count_color(24, 24, 200, 200, RED), 500);
  EXPECT_EQ(count_color(32, 24, 188, 196, WHITE), 0);
  game.sb.party[0].status = STATUS_POISON | STATUS_CURSE;
  field_menu.status_win = 2;
  draw();
  expect_frame(44, 52, 176, 134);
  EXPECT_GT(count_color(52, 60, 158, 100, CYAN), 200); // the equipment panel too
  EXPECT_EQ(count_color(24, 24, 200, 200, WHITE), 0);
  game.sb.party[0].status = STATUS_CURSE;
  draw();
  EXPECT_EQ(count_color(24, 24, 200, 200, CYAN), 0);
  EXPECT_EQ(status_color(0), 0xFFFFFFu);
}

TEST_F(Windows, TheMemberWindowPutsItsCursorWhereTheLastMemberChoiceDid) {
  field_menu.cmd_menu = CMD_EQUIP;
  field_menu.sel_member = 1;
  draw();
  field_menu.cmd_menu = CMD_CLOSED;
  field_menu.member_win = 1;
  draw();
  expect_frame(16, 16, 160, 72);
  EXPECT_TRUE(cursor_at(24, 44));
}

// The real pictures and fonts, written out for a person to look at.
TEST(WindowPictures, WrittenAsPng) {
  fresh_game();
  surface_create(gfx.back_surface, 256, 256);
  ASSERT_EQ(load_bitmap(gfx.waku1_surface, "WAKU1"), 0);
  ASSERT_EQ(load_bitmap(gfx.cursol_surface, "CURSOL"), 0);
  carry(0, 0, 1);
  carry(0, 1, 169);
  game.sb.party[0].eq_mask = 1;
  game.sb.party[0].eq_right = 0;
  game.sb.party[1].status = STATUS_DEAD;
  game.sb.party[2].status = STATUS_POISON;
  game.sb.gold = 1234;
  game.slots[2].map = 4;
  game.slots[2].area = 6;
  auto shot = [](const char* name) {
    fill_rect(gfx.back_surface, 0, 0, 256, 256, 0x604020);
    draw_field_windows();
    draw_system_menu();
    save_picture(name);
  };
  const std::pair<const char*, field_menu_data> shots[] = {
      {"status_panel.png", {.cmd_menu = CMD_STATUS, .status_win = 2}},
      {"status_dead.png", {.cmd_menu = CMD_STATUS, .sel_member = 1, .status_win = 1}},
      {"items.png", {.cmd_menu = CMD_ITEMS, .item_win = 1, .item_action_win = 1}},
      {"item_info.png",
       {.cmd_menu = CMD_ITEMS, .item_win = 1, .item_action_win = 1, .item_info_win = 1}},
      {"system.png", {.system_win = 1, .sys_state = SYS_YES_NO}}};
  for (const auto& [name, menu] : shots) {
    field_menu = menu;
    shot(name);
  }
  reset_field_menu_state();
  open_shop(0);
  services.shop_sub = 1;
  shot("shop.png");
  services.shop_win = 0;
  open_church(0);
  shot("church.png");
}

} // namespace
