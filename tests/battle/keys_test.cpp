// A battle played by its keys: commands, windows, cancels and waits.
#include "battle_fixture.h"

#include "platform/keys.h"

#include <gtest/gtest.h>

namespace {

// Keys as the window procedure hands it on during a battle: a waiting
// prompt takes it, otherwise the battle keys; a monster's action follows
// as the main loop would run it.
void press(std::initializer_list<int> keys) {
  for (int key : keys) {
    if (battle.battle_mode == BATTLE_FIGHTING && battle.battle_wait_open)
      battle.battle_wait_open = 0;
    else if (battle.battle_mode == BATTLE_FIGHTING)
      battle_key(key);
    while (battle.battle_mode != BATTLE_NONE && battle.monster_turn_pending &&
           !battle.battle_wait_open)
      monster_turn();
  }
}

TEST(BattleByKeys, ConfirmThroughAFightToVictory) {
  fresh_game();
  for (member& m : game.sb.party) m.atk = m.str = 200, m.def = m.grd = 200;
  seed_rand(7);
  start_group_battle(0);
  for (int presses = 0; battle.battle_mode == BATTLE_FIGHTING && presses < 200; presses++)
    press({VK_SPACE});
  ASSERT_EQ(battle.battle_mode, BATTLE_OVER) << transcript();
  EXPECT_EQ(missing({"の経験値を獲得、"}), "");
  EXPECT_GT(game.sb.party[0].exp, 0u);
  EXPECT_GT(game.sb.gold, 0);
  end_battle_key();
  EXPECT_EQ(battle.battle_mode, BATTLE_NONE);
}

TEST(BattleByKeys, FirstKeyBlocksOnlyDown) {
  fresh_game();
  start_set_battle(1);
  press({VK_DOWN});
  EXPECT_EQ(battle.cmd_cursor, 0);
  press({'C'}); // hides the appearance line
  press({VK_DOWN, VK_DOWN, VK_NUMPAD2, PAD_DOWN, VK_DOWN});
  EXPECT_EQ(battle.cmd_cursor, 4);
  press({VK_UP});
  EXPECT_EQ(battle.cmd_cursor, 3);
}

TEST(BattleByKeys, ChoosingAndCancellingWindows) {
  fresh_game();
  game.sb.party[0].items[6] = 169;
  start_set_battle(1);
  battle.first_key = 0;
  forget_lines();
  press({VK_DOWN, VK_DOWN, VK_SPACE});
  EXPECT_EQ(battle.cmd_state, CMD_ITEM_LIST);
  press({VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT});
  EXPECT_EQ(battle.item_cursor[0], 3);
  press({VK_LEFT, VK_LEFT, VK_DOWN, VK_DOWN, VK_SPACE}); // entry 6: the herb asks for a member
  EXPECT_EQ(battle.item_pick, 1);
  press({VK_DOWN});
  EXPECT_EQ(battle.item_target_member, 1);
  EXPECT_EQ(battle.item_cursor[1], 2);
  press({VK_NONCONVERT}); // the field's cancel key is not the battle's
  EXPECT_EQ(battle.item_pick, 1);
  press({'C'});
  EXPECT_EQ(battle.item_pick, 0);
  EXPECT_EQ(battle.cmd_state, CMD_ITEM_LIST);
  press({'C'});
  EXPECT_EQ(battle.cmd_state, CMD_LIST);
  press({VK_F6}); // the monster pictures
  EXPECT_EQ(battle.monster_view, 1);
}

TEST(BattleByKeys, AReportIsHiddenBeforeTheNextCommand) {
  fresh_game();
  start_set_battle(1);
  battle.monsters[0].hp = 100000;
  press({VK_SPACE}); // hides the appearance line
  EXPECT_EQ(battle.first_key, 0);
  press({VK_SPACE}); // attack
  EXPECT_EQ(battle.battle_wait_open, 1);
  press({VK_SPACE}); // the prompt; the monster acts
  EXPECT_EQ(battle.battle_wait_turn, 1);
  EXPECT_EQ(missing({"@C3コボルト@C0の、攻撃!!"}), "");
  press({VK_SPACE}); // hides the monster's report
  EXPECT_EQ(battle.battle_wait_turn, 0);
  EXPECT_EQ(battle.actor, 1);
  EXPECT_EQ(battle.cmd_state, CMD_LIST);
}

} // namespace
