#include "menus_fixture.h"

#include "gfx/field_windows.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "platform/png.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

struct rgb {
  int r, g, b;
  bool operator==(const rgb&) const = default;
};

rgb pixel(int x, int y) {
  const std::uint8_t* p = surface_pixel(gfx.back_surface, x, y);
  return {p[2], p[1], p[0]};
}

constexpr rgb GREEN{0, 255, 0}, WHITE{255, 255, 255}, RED{255, 0, 0}, CYAN{0, 255, 255};

// Frame pieces in colours a test can tell apart (piece k is blue 100 + k,
// piece 8 the inside), the cursor green, the inn picture grey.
struct Windows : ::testing::Test {
  void SetUp() override {
    fresh_game();
    surface_create(gfx.back_surface, 256, 256);
    surface_create(gfx.waku1_surface, 72, 8);
    for (int k = 0; k < 9; k++)
      fill_rect(gfx.waku1_surface, 8 * k, 0, 8, 8, static_cast<colorref>(100 + k) << 16);
    surface_create(gfx.cursol_surface, 6, 12);
    fill_rect(gfx.cursol_surface, 0, 0, 6, 12, 0x00FF00);
    surface_create(gfx.yadoya_surface, 80, 80);
    fill_rect(gfx.yadoya_surface, 0, 0, 80, 80, 0x808080);
  }
  void draw() {
    fill_rect(gfx.back_surface, 0, 0, 256, 256, 0x102030);
    draw_field_windows();
    draw_system_menu();
  }
  int piece(int x, int y) {
    rgb p = pixel(x, y);
    return p.r == 0 && p.g == 0 && p.b >= 100 && p.b <= 108 ? p.b - 100 : -1;
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
  int count(rgb c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++) n += pixel(x, y) == c;
    return n;
  }
};

TEST_F(Windows, CommandMenuAndMemberChoice) {
  field_menu.cmd_menu = CMD_OPEN;
  field_menu.cmd_row = 2;
  field_menu.cmd_col = 1;
  draw();
  expect_frame(8, 8, 128, 64);
  EXPECT_TRUE(cursor_at(66, 50));
  EXPECT_GT(count(WHITE, 44, 8, 104, 20), 20);  // " コマンド "
  EXPECT_GT(count(WHITE, 26, 50, 122, 62), 40); // "そうび　しらべる"
  field_menu.cmd_menu = CMD_ITEMS;
  field_menu.sel_member = 2;
  draw();
  expect_frame(16, 16, 128, 64);
  EXPECT_TRUE(cursor_at(24, 58));
  EXPECT_GT(count(WHITE, 36, 58, 60, 70), 10); // "CARL"
}

TEST_F(Windows, DeadNamesAreRedAndPoisonedOnesCyan) {
  field_menu.cmd_menu = CMD_STATUS;
  field_menu.status_win = 1;
  game.sb.party[0].status = STATUS_DEAD | STATUS_POISON;
  draw();
  expect_frame(24, 24, 196, 200);
  EXPECT_GT(count(RED, 24, 24, 224, 224), 500);
  EXPECT_EQ(count(WHITE, 32, 24, 220, 220), 0);
  game.sb.party[0].status = STATUS_POISON | STATUS_CURSE;
  field_menu.status_win = 2;
  draw();
  expect_frame(44, 52, 176, 134);
  EXPECT_GT(count(CYAN, 52, 60, 210, 160), 200); // the equipment panel too
  EXPECT_EQ(count(WHITE, 24, 24, 224, 224), 0);
  game.sb.party[0].status = STATUS_CURSE;
  draw();
  EXPECT_EQ(count(CYAN, 24, 24, 224, 224), 0);
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

TEST_F(Windows, SpellListWithItsTargetWindow) {
  field_menu.cmd_menu = CMD_MAGIC;
  field_menu.magic_win = 1;
  field_menu.magic_col = 1;
  field_menu.magic_row = 3;
  draw();
  expect_frame(24, 24, 152, 148);
  EXPECT_TRUE(cursor_at(100, 80));
  battle.member_pick = 1;
  battle.spell_target_member = 1;
  draw();
  EXPECT_TRUE(cursor_at(24, 44));
}

TEST_F(Windows, ItemWindowsAreDrawnInTheirOrder) {
  field_menu.cmd_menu = CMD_ITEMS;
  field_menu.item_win = 1;
  field_menu.item_row = 0;
  carry(0, 0, 1);
  game.sb.party[0].eq_mask = 1;
  draw();
  expect_frame(24, 24, 140, 134);
  EXPECT_TRUE(cursor_at(32, 38));
  EXPECT_GT(count(WHITE, 42 + 17 * 6, 38, 42 + 18 * 6, 50), 4); // the "E" mark
  field_menu.item_action_win = 1;
  field_menu.item_action_row = 2;
  draw();
  expect_frame(36, 36, 68, 78);
  EXPECT_EQ(piece(36, 40), 0); // the action window lies over the list's cursor
  EXPECT_TRUE(cursor_at(44, 78));
  battle.item_pick = 1;
  battle.item_target_member = 2;
  draw();
  EXPECT_TRUE(cursor_at(24, 58));
  field_menu.item_info_win = 1;
  draw();
  expect_frame(24, 24, 196, 200);
  EXPECT_NE(pixel(24 + 4, 58 + 4), GREEN); // the description covers the member window
}

TEST_F(Windows, EquipmentAndItsList) {
  field_menu.cmd_menu = CMD_EQUIP;
  field_menu.equip_win = 1;
  field_menu.equip_row = 6;
  draw();
  expect_frame(32, 32, 164, 120);
  EXPECT_TRUE(cursor_at(40, 130));
  field_menu.equip_list_win = 1;
  field_menu.equip_list_page = 1;
  field_menu.equip_list_row = 7;
  draw();
  expect_frame(24, 24, 140, 134);
  EXPECT_TRUE(cursor_at(32, 136));
}

TEST_F(Windows, InnShopAndChurch) {
  services.inn_win = 1;
  services.inn_row = 1;
  draw();
  expect_frame(8, 8, 68, 50);
  expect_frame(88, 72, 80, 80);
  EXPECT_EQ(pixel(96, 80), (rgb{128, 128, 128}));
  EXPECT_EQ(pixel(159, 143), (rgb{128, 128, 128}));
  EXPECT_NE(pixel(160, 143), (rgb{128, 128, 128}));
  EXPECT_TRUE(cursor_at(16, 36));
  services.inn_win = 0;
  services.shop_win = 1;
  services.shop_sub = 1;
  services.shop_list_row = 4;
  draw();
  expect_frame(8, 104, 104, 36);
  expect_frame(8, 8, 212, 92);
  EXPECT_TRUE(cursor_at(16, 78));
  services.shop_pick = 1;
  services.shop_member = 1;
  draw();
  expect_frame(16, 16, 128, 64);
  EXPECT_TRUE(cursor_at(24, 44));
  EXPECT_FALSE(cursor_at(16, 78)); // under the member window
  services.shop_win = 0;
  services.church_win = 1;
  services.church_row = 3;
  draw();
  expect_frame(8, 8, 140, 78);
  EXPECT_TRUE(cursor_at(16, 64));
}

TEST_F(Windows, SystemMenuSlotListQuestionAndEventItems) {
  field_menu.system_win = 1;
  field_menu.sys_row = 3;
  draw();
  expect_frame(8, 8, 92, 78);
  EXPECT_TRUE(cursor_at(16, 64));
  field_menu.sys_row = 1;
  field_menu.sys_state = SYS_YES_NO;
  field_menu.save_cursor = 2;
  field_menu.load_cursor = 5;
  field_menu.yes_no = 1;
  draw();
  expect_frame(16, 16, 152, 134);
  expect_frame(80, 80, 68, 50);
  EXPECT_TRUE(cursor_at(24, 100));
  EXPECT_FALSE(cursor_at(24, 58));
  EXPECT_TRUE(cursor_at(88, 108));
  field_menu.sys_state = SYS_BAG;
  draw();
  expect_frame(32, 48, 140, 162);
  EXPECT_FALSE(cursor_at(24, 100));
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
    const char* dir = std::getenv("ZK_PICTURES"); // where a person wants to look at them
    std::string path = dir ? std::string(dir) + "/" + name : name;
    std::string why;
    EXPECT_EQ(write_png(path.c_str(), gfx.back_surface, &why), 0) << why;
  };
  field_menu.cmd_menu = CMD_STATUS;
  field_menu.status_win = 2;
  shot("status_panel.png");
  field_menu.sel_member = 1;
  field_menu.status_win = 1;
  shot("status_dead.png");
  field_menu.sel_member = 0;
  field_menu.status_win = 0;
  field_menu.cmd_menu = CMD_ITEMS;
  field_menu.item_win = field_menu.item_action_win = 1;
  shot("items.png");
  field_menu.item_info_win = 1;
  shot("item_info.png");
  reset_field_menu_state();
  field_menu.system_win = 1;
  field_menu.sys_state = SYS_YES_NO;
  shot("system.png");
  reset_field_menu_state();
  open_shop(0);
  services.shop_sub = 1;
  shot("shop.png");
  services.shop_win = 0;
  open_church(0);
  shot("church.png");
}

} // namespace
