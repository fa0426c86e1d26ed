#include "menus_fixture.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

struct FieldMenu : ::testing::Test {
  void SetUp() override { fresh_game(); }
  // Opens the command menu and confirms the command at (row, col).
  void command(int row, int col) {
    field_confirm();
    field_menu.cmd_row = row;
    field_menu.cmd_col = col;
    field_confirm();
  }
  // The item command on member m's entry, then `action` in the action window.
  void item_action(int m, int entry, int action) {
    command(1, 1);
    for (int i = 0; i < m; i++) cmd_menu_cursor(K_DOWN); // the member choice stays under the list
    field_confirm();
    field_menu.item_page = entry / 8;
    field_menu.item_row = entry % 8;
    field_confirm();
    EXPECT_EQ(field_menu.item_action_row, ACT_USE) << "the action window opens on use";
    field_menu.item_action_row = action;
    field_confirm();
  }
};

// What searching and talking find is the field's; the menu stays open.
TEST_F(FieldMenu, SearchingAndTalkingLeaveTheMenuOpen) {
  game.map_event_count = 1;
  game.map_events[0] = {5, 5, 0, 0, 0}; // a record on the party's own tile
  command(2, 1);
  EXPECT_EQ(windows(), "cmd:open msg_visible") << transcript();
  game.facing = 0;
  game.npc_table[0].x = 5;
  game.npc_table[0].y = 6;
  field_menu.cmd_row = field_menu.cmd_col = 0;
  field_confirm();
  EXPECT_EQ(lines(), std::vector<std::string>{"こんにちは。"}) << transcript();
  EXPECT_EQ(field_menu.cmd_menu, CMD_OPEN);
}

TEST_F(FieldMenu, CommandsOpenTheirMemberChoiceOnTheFirstMember) {
  const int expect[4] = {CMD_MAGIC, CMD_STATUS, CMD_ITEMS, CMD_EQUIP};
  for (int c = 1; c <= 4; c++) {
    fresh_game();
    battle.member_pick = 1;
    field_menu.sel_member = 2;
    command(c / 2, c % 2);
    EXPECT_EQ(field_menu.cmd_menu, expect[c - 1]) << c;
    EXPECT_EQ(field_menu.sel_member, 0);
    EXPECT_EQ(battle.member_pick, c == 1 ? 0 : 1);
  }
}

// Keys pressed into a cursor from the state `start`: where it ends and how
// many menu sounds played.
void expect_moves(const char* what, void (*cursor)(int), const field_menu_data& start,
                  std::initializer_list<int> keys, std::vector<std::pair<const int*, int>> ends,
                  int sounds) {
  SCOPED_TRACE(what);
  fresh_game();
  field_menu = start;
  press(cursor, keys);
  for (auto [value, want] : ends) EXPECT_EQ(*value, want);
  EXPECT_EQ(menusounds(), sounds);
}

constexpr int D = K_DOWN;

TEST_F(FieldMenu, CursorsStopAtTheirEdgesAndSoundWhenTheyShould) {
  const field_menu_data open{.cmd_menu = CMD_OPEN};
  int &row = field_menu.cmd_row, &col = field_menu.cmd_col;
  expect_moves("command menu, top left", cmd_menu_cursor, open, {K_UP, K_LEFT},
               {{&row, 0}, {&col, 0}}, 0);
  expect_moves("command menu, bottom right", cmd_menu_cursor, open, {D, D, D, K_RIGHT, K_RIGHT},
               {{&row, 2}, {&col, 1}}, 3);
  expect_moves("not a direction", cmd_menu_cursor, open, {0x51}, {}, 0);
  expect_moves("the member choice: rows only", cmd_menu_cursor,
               {.cmd_menu = CMD_STATUS, .cmd_col = 1}, {K_LEFT, D, D, D},
               {{&field_menu.sel_member, 2}, {&col, 1}}, 2);
  // The lists sound on every key, moved or not.
  expect_moves("spells", magic_cursor, {}, {K_UP, K_LEFT, K_RIGHT, K_RIGHT},
               {{&field_menu.magic_col, 1}, {&field_menu.magic_row, 0}}, 4);
  expect_moves("items", item_cursor, {}, {D, D, D, D, D, D, D, D, D, K_RIGHT, K_RIGHT},
               {{&field_menu.item_row, 7}, {&field_menu.item_page, 1}}, 11);
  expect_moves("item actions", item_action_cursor, {}, {D, D, D, D, D},
               {{&field_menu.item_action_row, 3}}, 5);
  expect_moves("use-on target", item_pick_cursor, {}, {D, D, D, D},
               {{&battle.item_target_member, 2}}, 4);
  expect_moves("equipment", equip_cursor, {}, {D, D, D, D, D, D, D, D},
               {{&field_menu.equip_row, 6}}, 8);
  expect_moves("equipment list", equip_cursor, {.equip_row = 6, .equip_list_win = 1},
               {K_RIGHT, K_RIGHT, D},
               {{&field_menu.equip_list_page, 1},
                {&field_menu.equip_list_row, 1},
                {&field_menu.equip_row, 6}},
               3);
  // The spell target sounds only when it moves.
  expect_moves("spell target", member_pick_cursor, {}, {K_UP, D, D, D},
               {{&battle.spell_target_member, 2}}, 2);
  expect_moves("actions under the description", item_action_cursor, {.item_info_win = 1}, {D},
               {{&field_menu.item_action_row, 0}}, 0);
}

TEST_F(FieldMenu, StatusStepsThroughTheEquipmentPanelAndCloses) {
  command(1, 0);
  for (int want : {1, 2, 0}) {
    field_confirm();
    EXPECT_EQ(field_menu.status_win, want);
  }
  EXPECT_EQ(field_menu.cmd_menu, CMD_STATUS);
}

TEST_F(FieldMenu, AnEmptyEntryKeepsTheWindowsAndTheNextConfirmClosesThemAll) {
  item_action(0, 0, ACT_USE);
  EXPECT_EQ(lines(), std::vector<std::string>{"アイテムが、ありません!"}) << transcript();
  EXPECT_EQ(windows(), "cmd:items item_win item_action_win msg_visible");
  field_confirm();
  EXPECT_EQ(windows(), "cmd:closed");
  item_action(0, 0, ACT_LOOK);
  EXPECT_TRUE(said("アイテムが、ありません!"));
  EXPECT_EQ(windows(), "cmd:items item_win item_action_win msg_visible") << "no description";
}

TEST_F(FieldMenu, AHealingItemAsksForItsTargetAndIsUsedOnIt) {
  carry(0, 9, 169); // やくそう
  game.sb.party[2].hp = 10;
  item_action(0, 9, ACT_USE);
  EXPECT_EQ(battle.item_target_member, 0);
  EXPECT_TRUE(lines().empty());
  EXPECT_EQ(windows(), "cmd:items item_win item_action_win item_pick");
  battle.item_target_member = 2;
  field_confirm();
  EXPECT_EQ(game.sb.party[2].hp, 50);
  EXPECT_EQ(game.sb.party[0].items[9], 255);
  EXPECT_EQ(msg_window.msg_visible, 1);
  field_confirm(); // the report is read: everything closes
  EXPECT_EQ(windows(), "cmd:closed");
}

TEST_F(FieldMenu, PlainItemsAreUsedAtOnceDroppedOrGiven) {
  carry(1, 0, 1); // どうのつるぎ: nothing happens
  item_action(1, 0, ACT_USE);
  EXPECT_EQ(battle.item_pick, 0);
  EXPECT_TRUE(said(" を使ったが、何もおこらなかった。")) << transcript();
  EXPECT_EQ(game.sb.party[1].items[0], 1);
  fresh_game();
  carry(0, 0, 172);
  item_action(0, 0, ACT_DROP);
  EXPECT_EQ(game.sb.party[0].items[0], 255);
  EXPECT_EQ(battle.item_pick, 0);
  fresh_game();
  carry(0, 3, 170);
  item_action(0, 3, ACT_GIVE);
  EXPECT_EQ(battle.item_pick, 1);
  battle.item_target_member = 1;
  field_confirm();
  EXPECT_EQ(game.sb.party[0].items[3], 0);
  EXPECT_EQ(game.sb.party[1].items[0], 170);
}

TEST_F(FieldMenu, LookingShowsTheValuesThenTheDescriptionThenCloses) {
  carry(0, 0, 1);
  item_action(0, 0, ACT_LOOK);
  EXPECT_EQ(field_menu.item_info_win, 1);
  EXPECT_TRUE(lines().empty());
  field_confirm();
  EXPECT_EQ(lines(), (std::vector<std::string>{"@C1【説明】@C0", "銅でできた剣。"}))
      << transcript();
  field_confirm();
  EXPECT_EQ(windows(), "cmd:closed");
}

TEST_F(FieldMenu, AOneMemberSpellAsksForItsTargetThenCastsThenCloses) {
  member& c = game.sb.party[0];
  int heal = 0;
  for (int s = 1; s < 32 && !heal; s++)
    if (game.magic_table[s].cls == 1 && game.magic_table[s].scope == 0) heal = s;
  ASSERT_NE(heal, 0);
  c.spells[9] = static_cast<u8>(heal);
  c.spell_mask = 1 << 9;
  c.mp = 99;
  game.sb.party[1].hp = 1;
  command(0, 1);
  field_confirm();
  EXPECT_EQ(field_menu.magic_win, 1);
  field_menu.magic_col = 1;
  field_menu.magic_row = 1;
  field_confirm();
  EXPECT_EQ(battle.member_pick, 1);
  battle.spell_target_member = 1;
  field_confirm();
  EXPECT_GT(game.sb.party[1].hp, 1) << transcript();
  EXPECT_EQ(msg_window.msg_visible, 1);
  field_confirm();
  EXPECT_EQ(windows(), "cmd:closed");
}

TEST_F(FieldMenu, EquippingSetsTheDoneFlagAndARefusalLeavesTheListOpen) {
  carry(0, 10, 1);  // a sword on page 1, row 2
  carry(0, 0, 169); // a herb is no weapon
  command(2, 0);
  field_confirm();
  EXPECT_EQ(field_menu.equip_win, 1);
  field_confirm();
  field_confirm(); // the head takes the herb
  EXPECT_EQ(field_menu.equip_done, 0);
  EXPECT_EQ(field_menu.equip_list_win, 1);
  EXPECT_EQ(game.sb.party[0].eq_head, NO_EQUIP);
  field_menu.equip_list_win = 0;
  field_menu.equip_row = 1; // right hand
  field_confirm();
  EXPECT_EQ(field_menu.equip_list_win, 1);
  field_menu.equip_list_page = 1;
  field_menu.equip_list_row = 2;
  field_confirm();
  EXPECT_EQ(game.sb.party[0].eq_right, 10);
  EXPECT_EQ(field_menu.equip_done, 1);
  field_confirm();
  EXPECT_EQ(field_menu.equip_list_win, 0);
  EXPECT_EQ(field_menu.equip_win, 1);
}

TEST_F(FieldMenu, SettersPlayTheMenuSound) {
  set_magic_win(1);
  set_item_win(1);
  set_item_action_win(1);
  set_equip_win(1);
  set_equip_win(0);
  EXPECT_EQ(menusounds(), 5);
  EXPECT_EQ(windows(), "cmd:closed magic_win item_win item_action_win");
}

} // namespace
