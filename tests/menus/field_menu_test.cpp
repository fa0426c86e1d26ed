#include "menus_fixture.h"

#include <gtest/gtest.h>

namespace {

struct FieldMenu : ::testing::Test {
  void SetUp() override { fresh_game(); }
  // Opens the command menu and confirms the command at (row, col).
  void command(int row, int col) {
    field_confirm();
    fmn.cmd_row = row;
    fmn.cmd_col = col;
    field_confirm();
  }
};

TEST_F(FieldMenu, SearchingATileWithoutAnEventShowsNothingAndLeavesTheMenuOpen) {
  command(2, 1);
  EXPECT_EQ(fmn.cmd_menu, CMD_OPEN);
  EXPECT_TRUE(lines().empty()) << transcript();
  EXPECT_EQ(mw.msg_visible, 0);
  st.map_event_count = 1;
  st.map_events[0] = {5, 5, 0, 0, 0}; // a record on the party's own tile
  field_confirm();
  EXPECT_TRUE(said("足下を調べた。")) << transcript();
  EXPECT_EQ(fmn.cmd_menu, CMD_OPEN);
}

TEST_F(FieldMenu, TalkingAsksThePersonInFrontAndLeavesTheMenuOpen) {
  st.facing = 0;
  st.npc_table[0].x = 5;
  st.npc_table[0].y = 6;
  command(0, 0);
  EXPECT_EQ(lines(), std::vector<std::string>{"こんにちは。"}) << transcript();
  EXPECT_EQ(fmn.cmd_menu, CMD_OPEN);
}

TEST_F(FieldMenu, CommandsOpenTheirMemberChoiceOnTheFirstMember) {
  const int expect[4] = {CMD_MAGIC, CMD_STATUS, CMD_ITEMS, CMD_EQUIP};
  for (int c = 1; c <= 4; c++) {
    fresh_game();
    bt.member_pick = 1;
    fmn.sel_member = 2;
    command(c / 2, c % 2);
    EXPECT_EQ(fmn.cmd_menu, expect[c - 1]) << c;
    EXPECT_EQ(fmn.sel_member, 0);
    EXPECT_EQ(bt.member_pick, c == 1 ? 0 : 1);
  }
}

TEST_F(FieldMenu, CommandCursorStopsAtItsEdgesAndSoundsOnlyWhenItMoves) {
  field_confirm();
  press(cmd_menu_cursor, {K_UP, K_LEFT});
  EXPECT_EQ(menusounds(), 0);
  press(cmd_menu_cursor, {K_DOWN, K_DOWN, K_DOWN, K_RIGHT, K_RIGHT});
  EXPECT_EQ(fmn.cmd_row, 2);
  EXPECT_EQ(fmn.cmd_col, 1);
  EXPECT_EQ(menusounds(), 3);
  cmd_menu_cursor(0x51); // not a direction
  EXPECT_EQ(menusounds(), 3);
  fmn.cmd_menu = CMD_STATUS; // the member choice moves the member, rows only
  press(cmd_menu_cursor, {K_LEFT, K_DOWN, K_DOWN, K_DOWN});
  EXPECT_EQ(fmn.sel_member, 2);
  EXPECT_EQ(fmn.cmd_col, 1);
  EXPECT_EQ(menusounds(), 5);
}

TEST_F(FieldMenu, ListCursorsSoundOnEveryKeyAndNeverWrap) {
  press(magic_cursor, {K_UP, K_LEFT, K_RIGHT, K_RIGHT});
  EXPECT_EQ(fmn.magic_col, 1);
  EXPECT_EQ(fmn.magic_row, 0);
  EXPECT_EQ(menusounds(), 4);
  for (int i = 0; i < 9; i++) item_cursor(K_DOWN);
  press(item_cursor, {K_RIGHT, K_RIGHT});
  EXPECT_EQ(fmn.item_row, 7);
  EXPECT_EQ(fmn.item_page, 1);
  for (int i = 0; i < 5; i++) item_action_cursor(K_DOWN);
  EXPECT_EQ(fmn.item_action_row, 3);
  for (int i = 0; i < 4; i++) item_pick_cursor(K_DOWN);
  EXPECT_EQ(bt.item_target_member, 2);
  for (int i = 0; i < 8; i++) equip_cursor(K_DOWN);
  EXPECT_EQ(fmn.equip_row, 6);
  fmn.equip_list_win = 1;
  press(equip_cursor, {K_RIGHT, K_RIGHT, K_DOWN});
  EXPECT_EQ(fmn.equip_list_page, 1);
  EXPECT_EQ(fmn.equip_list_row, 1);
  EXPECT_EQ(fmn.equip_row, 6);
  EXPECT_EQ(menusounds(), 4 + 11 + 5 + 4 + 8 + 3);
}

TEST_F(FieldMenu, TargetCursorSoundsOnlyWhenItMovesAndActionCursorWaitsUnderTheDescription) {
  press(member_pick_cursor, {K_UP, K_DOWN, K_DOWN, K_DOWN});
  EXPECT_EQ(bt.spell_target_member, 2);
  EXPECT_EQ(menusounds(), 2);
  fmn.item_info_win = 1;
  item_action_cursor(K_DOWN);
  EXPECT_EQ(fmn.item_action_row, 0);
  EXPECT_EQ(menusounds(), 2);
}

TEST_F(FieldMenu, StatusStepsThroughTheEquipmentPanelAndCloses) {
  command(1, 0);
  field_confirm();
  EXPECT_EQ(fmn.status_win, 1);
  field_confirm();
  EXPECT_EQ(fmn.status_win, 2);
  field_confirm();
  EXPECT_EQ(fmn.status_win, 0);
  EXPECT_EQ(fmn.cmd_menu, CMD_STATUS);
}

TEST_F(FieldMenu, UsingAnEmptyEntryKeepsTheWindowsAndTheNextConfirmClosesThemAll) {
  command(1, 1);
  field_confirm(); // the item list
  EXPECT_EQ(fmn.item_win, 1);
  field_confirm(); // the action window, on "use"
  EXPECT_EQ(fmn.item_action_win, 1);
  EXPECT_EQ(fmn.item_action_row, ACT_USE);
  field_confirm();
  EXPECT_EQ(lines(), std::vector<std::string>{"アイテムが、ありません!"}) << transcript();
  EXPECT_EQ(fmn.item_win, 1);
  EXPECT_EQ(fmn.item_action_win, 1);
  EXPECT_EQ(fmn.cmd_menu, CMD_ITEMS);
  field_confirm();
  EXPECT_EQ(fmn.item_win, 0);
  EXPECT_EQ(fmn.item_action_win, 0);
  EXPECT_EQ(bt.item_pick, 0);
  EXPECT_EQ(mw.msg_visible, 0);
  EXPECT_EQ(fmn.cmd_menu, CMD_CLOSED);
}

TEST_F(FieldMenu, AHealingItemAsksForItsTargetAndIsUsedOnIt) {
  carry(0, 9, 169); // やくそう: page 1, row 1
  st.sb.party[2].hp = 10;
  command(1, 1);
  field_confirm();
  fmn.item_page = 1;
  fmn.item_row = 1;
  field_confirm();
  field_confirm();
  EXPECT_EQ(bt.item_pick, 1);
  EXPECT_EQ(bt.item_target_member, 0);
  EXPECT_TRUE(lines().empty());
  bt.item_target_member = 2;
  field_confirm();
  EXPECT_EQ(st.sb.party[2].hp, 50);
  EXPECT_EQ(st.sb.party[0].items[9], 255);
  EXPECT_EQ(mw.msg_visible, 1);
  field_confirm(); // the report is read: everything closes
  EXPECT_EQ(fmn.item_win + fmn.item_action_win + bt.item_pick + fmn.cmd_menu, 0);
}

TEST_F(FieldMenu, APlainItemIsUsedAtOnce) {
  carry(1, 0, 1); // どうのつるぎ: nothing happens
  command(1, 1);
  press(cmd_menu_cursor, {K_DOWN}); // the member choice is still open under the list
  field_confirm();
  field_confirm();
  field_confirm();
  EXPECT_EQ(bt.item_pick, 0);
  EXPECT_TRUE(said(" を使ったが、何もおこらなかった。")) << transcript();
  EXPECT_EQ(st.sb.party[1].items[0], 1);
}

TEST_F(FieldMenu, GivingMovesTheItemToTheChosenMember) {
  carry(0, 3, 170);
  command(1, 1);
  field_confirm();
  fmn.item_row = 3;
  field_confirm();
  fmn.item_action_row = ACT_GIVE;
  field_confirm();
  EXPECT_EQ(bt.item_pick, 1);
  bt.item_target_member = 1;
  field_confirm();
  EXPECT_EQ(st.sb.party[0].items[3], 0);
  EXPECT_EQ(st.sb.party[1].items[0], 170);
}

TEST_F(FieldMenu, DroppingThrowsTheEntryAway) {
  carry(0, 0, 172);
  command(1, 1);
  field_confirm();
  field_confirm();
  fmn.item_action_row = ACT_DROP;
  field_confirm();
  EXPECT_EQ(st.sb.party[0].items[0], 255);
  EXPECT_EQ(bt.item_pick, 0);
}

TEST_F(FieldMenu, LookingShowsTheValuesThenTheDescriptionThenCloses) {
  carry(0, 0, 1);
  command(1, 1);
  field_confirm();
  field_confirm();
  fmn.item_action_row = ACT_LOOK;
  field_confirm();
  EXPECT_EQ(fmn.item_info_win, 1);
  EXPECT_TRUE(lines().empty());
  field_confirm();
  ASSERT_EQ(lines().size(), 2u) << transcript();
  EXPECT_EQ(lines()[0], "@C1【説明】@C0");
  EXPECT_EQ(lines()[1], "銅でできた剣。");
  field_confirm();
  EXPECT_EQ(fmn.item_info_win, 0);
  EXPECT_EQ(fmn.cmd_menu, CMD_CLOSED);
}

TEST_F(FieldMenu, LookingAtAnEmptyEntryOpensNoDescription) {
  command(1, 1);
  field_confirm();
  field_confirm();
  fmn.item_action_row = ACT_LOOK;
  field_confirm();
  EXPECT_EQ(fmn.item_info_win, 0);
  EXPECT_TRUE(said("アイテムが、ありません!"));
}

TEST_F(FieldMenu, AOneMemberSpellAsksForItsTargetThenCastsThenCloses) {
  member& c = st.sb.party[0];
  int heal = 0;
  for (int s = 1; s < 32 && !heal; s++)
    if (st.magic_table[s].cls == 1 && st.magic_table[s].scope == 0) heal = s;
  ASSERT_NE(heal, 0);
  c.spells[9] = static_cast<u8>(heal);
  c.spell_mask = 1 << 9;
  c.mp = 99;
  st.sb.party[1].hp = 1;
  command(0, 1);
  field_confirm();
  EXPECT_EQ(fmn.magic_win, 1);
  fmn.magic_col = 1;
  fmn.magic_row = 1;
  field_confirm();
  EXPECT_EQ(bt.member_pick, 1);
  bt.spell_target_member = 1;
  field_confirm();
  EXPECT_GT(st.sb.party[1].hp, 1) << transcript();
  EXPECT_EQ(mw.msg_visible, 1);
  field_confirm();
  EXPECT_EQ(fmn.magic_win + bt.member_pick + mw.msg_visible + fmn.cmd_menu, 0);
}

TEST_F(FieldMenu, EquippingSetsTheDoneFlagAndTheNextConfirmClosesTheList) {
  carry(0, 10, 1); // a sword on page 1, row 2
  command(2, 0);
  field_confirm();
  EXPECT_EQ(fmn.equip_win, 1);
  fmn.equip_row = 1; // right hand
  field_confirm();
  EXPECT_EQ(fmn.equip_list_win, 1);
  EXPECT_EQ(fmn.equip_done, 0);
  fmn.equip_list_page = 1;
  fmn.equip_list_row = 2;
  field_confirm();
  EXPECT_EQ(st.sb.party[0].eq_right, 10);
  EXPECT_EQ(fmn.equip_done, 1);
  field_confirm();
  EXPECT_EQ(fmn.equip_list_win, 0);
  EXPECT_EQ(fmn.equip_win, 1);
}

TEST_F(FieldMenu, ARefusedEquipLeavesTheListOpen) {
  carry(0, 0, 169); // a herb is no weapon
  command(2, 0);
  field_confirm();
  field_confirm();
  field_confirm();
  EXPECT_EQ(fmn.equip_done, 0);
  EXPECT_EQ(fmn.equip_list_win, 1);
  EXPECT_EQ(st.sb.party[0].eq_head, NO_EQUIP);
}

TEST_F(FieldMenu, SettersPlayTheMenuSound) {
  set_magic_win(1);
  set_item_win(1);
  set_item_action_win(1);
  set_equip_win(1);
  set_equip_win(0);
  EXPECT_EQ(menusounds(), 5);
  EXPECT_EQ(fmn.magic_win + fmn.item_win + fmn.item_action_win + fmn.equip_win, 3);
}

} // namespace
