#include "battle_fixture.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

monster_slot& kobold() {
  return battle.monsters[0];
}

// A battle against one monster whose turn is due.
void monster_due(int behaviour) {
  fresh_game();
  fight(1);
  kobold().behaviour = static_cast<u8>(behaviour);
  std::memset(kobold().specials, 0, 8);
  for (u8& s : kobold().spells) s = 24; // ライフ on itself
  kobold().mp = 1000;
  kobold().atk = 30;
  kobold().spd = 0;
  kobold().elem_attack = 0;
  battle.monster_alive = 1;
  battle.monster_turn_pending = 1;
}

int line_index(const char* text) {
  std::vector<std::string> l = lines();
  for (size_t i = 0; i < l.size(); i++)
    if (l[i].find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

TEST(MonsterChoice, MixedBehavioursCastInHalfTheTurns) {
  const int qs[8] = {0, 1, 4, 5, 16, 17, 20, 21};
  for (int behaviour : {2, 3, 4}) {
    int casts = 0;
    for (int q : qs) {
      monster_due(behaviour);
      seed_where([&](const std::vector<int>& d) { return (d[1] & 21) == q; }, 2);
      monster_turn();
      bool cast = said("ライフの呪文を唱えた。");
      bool expect = behaviour == 3 ? q < 11 : behaviour == 2 ? q > 10 : q > 7;
      EXPECT_EQ(cast, expect) << behaviour << " q " << q << transcript();
      casts += cast;
    }
    EXPECT_EQ(casts, 4) << behaviour;
  }
}

TEST(MonsterChoice, TimidMonstersWaitInHalfTheTurns) {
  for (int q : {0, 5, 16, 21}) {
    monster_due(5);
    seed_where([&](const std::vector<int>& d) { return (d[1] & 21) == q; }, 2);
    monster_turn();
    EXPECT_EQ(said("様子をみている。"), q > 7) << q;
  }
}

TEST(MonsterTarget, MemberZeroTwiceAsOftenAndTheDeadAreSkipped) {
  const int expect[4] = {0, 1, 2, 0};
  for (int low = 0; low < 4; low++) {
    monster_due(0);
    seed_where([&](const std::vector<int>& d) { return (d[0] & 3) == low; }, 1);
    monster_turn();
    char name[32];
    const char* names[3] = {"ALICE", "BOB", "CARL"};
    std::snprintf(name, sizeof name, "@C1%s@C0は、", names[expect[low]]);
    EXPECT_TRUE(said(name)) << low << transcript();
  }
  monster_due(0);
  battle.battle_copy.party[1].status = STATUS_DEAD;
  seed_where([](const std::vector<int>& d) { return (d[0] & 3) == 1; }, 1);
  monster_turn();
  EXPECT_TRUE(said("@C1CARL@C0は、")) << transcript();
}

TEST(MonsterAttack, BlowWithAgilityAndDefending) {
  monster_due(0);
  kobold().spd = 14; // member speed is 10
  battle.defending[0] = 1;
  seed_where([](const std::vector<int>& d) { return (d[0] & 3) == 0; }, 1);
  monster_turn();
  EXPECT_EQ(battle.battle_copy.party[0].hp, 100 - (30 - 5 + 4) / 2);
  EXPECT_TRUE(said(" @C2"
                   "14"
                   "@C0ポイントのダメージを受けた！"))
      << transcript();
  EXPECT_EQ(battle.battle_wait_turn, 1);
  EXPECT_EQ(battle.monster_turn_pending, 0);
  EXPECT_EQ(battle.monster_acted[0], 1);
}

TEST(MonsterAttack, PoisonElementPoisonsThenReports) {
  monster_due(0);
  kobold().elem_attack = 1 << 5;
  kobold().atk = 4; // the blow itself is repelled
  seed_where([](const std::vector<int>& d) { return (d[0] & 3) == 0; }, 1);
  monster_turn();
  const member& a = battle.battle_copy.party[0];
  EXPECT_TRUE(a.status & STATUS_POISON);
  EXPECT_EQ(a.hp, 96);
  int poisoned = line_index("毒を受けた！");
  int element = line_index("属性攻撃!@C7[毒]4@C0ﾎﾟｲﾝﾄのﾀﾞﾒｰｼﾞ！");
  EXPECT_GE(poisoned, 0) << transcript();
  EXPECT_GT(element, poisoned);
  EXPECT_GE(line_index("攻撃をはねかえした！"), 0);
}

TEST(MonsterSpecial, OneSpecialIsUsedWheneverItAttacks) {
  monster_due(0);
  kobold().specials[6] = 1; // 火を吐いた
  seed_where([](const std::vector<int>& d) { return (d[0] & 3) == 0 && (d[2] & 7) == 6; }, 3);
  monster_turn();
  EXPECT_TRUE(said("火を吐いた")) << transcript();
  EXPECT_EQ(battle.battle_copy.party[0].hp, 70); // breath ignores defence
}

TEST(MonsterSpecial, SecondScaleColumnForMembers) {
  monster_due(0);
  kobold().specials[0] = 3; // thunder at the target
  kobold().atk = 50;
  battle.battle_copy.party[0].elem[2] = 1; // keeps four fifths of breath
  seed_where([](const std::vector<int>& d) { return (d[0] & 3) == 0 && (d[2] & 7) == 0; }, 3);
  monster_turn();
  EXPECT_EQ(battle.battle_copy.party[0].hp, 100 - 40);
}

TEST(MonsterSpecial, WholePartyBreathRepelsOffTheDeadAndKillsThemAgain) {
  monster_due(0);
  kobold().specials[0] = 16;
  kobold().atk = 60;
  member& c = battle.battle_copy.party[2];
  c.status = STATUS_DEAD;
  c.hp = 0;
  battle.defending[1] = 1;
  seed_where([](const std::vector<int>& d) { return (d[2] & 7) == 0; }, 3);
  monster_turn();
  EXPECT_TRUE(said("炎をはいた")) << transcript();
  EXPECT_EQ(battle.battle_copy.party[0].hp, 40);
  EXPECT_EQ(battle.battle_copy.party[1].hp, 70);
  int named = line_index("@C1CARL@C0は、");
  int repelled = -1, died = line_index("@C1CARL@C0は、死んでしまった!");
  std::vector<std::string> l = lines();
  for (size_t i = named + 1; named >= 0 && i < l.size(); i++)
    if (l[i] == "攻撃をはねかえした。") repelled = static_cast<int>(i), i = l.size();
  EXPECT_GT(repelled, named);
  EXPECT_GT(died, repelled);
}

TEST(MonsterSpecial, CodesWithoutALineAreNoSpecial) {
  monster_due(0);
  std::memset(kobold().specials, 9, 8);
  kobold().specials[3] = 23;
  seed_where([](const std::vector<int>& d) { return (d[0] & 3) == 0; }, 1);
  u32 state = game.rand_state;
  monster_turn();
  for (int i = 0; i < 34; i++) state = state * 214013u + 2531011u; // target, choice, 32 tries
  EXPECT_EQ(game.rand_state, state);
  EXPECT_EQ(battle.battle_copy.party[0].hp, 75);
}

TEST(MonsterSpell, SpellsOutsideTheTableMakeItWatch) {
  monster_due(1);
  for (u8& s : kobold().spells) s = 40;
  monster_turn();
  EXPECT_TRUE(said("様子をみている。")) << transcript();
  EXPECT_EQ(kobold().mp, 1000);
}

TEST(MonsterSpell, FireOnAMemberAndShortOfMagic) {
  monster_due(1);
  for (u8& s : kobold().spells) s = 1;
  battle.defending[0] = 1;
  seed_where([](const std::vector<int>& d) { return (d[0] & 3) == 0; }, 1);
  monster_turn();
  EXPECT_EQ(battle.battle_copy.party[0].hp, 100 - (30 - 5) / 2);
  EXPECT_TRUE(said(">@C1ALICE@C0に、"));
  EXPECT_TRUE(said(" @C2"
                   "12"
                   "@C0ポイントのダメージ！@P"))
      << transcript();
  EXPECT_EQ(kobold().mp, 998);
  monster_due(1);
  for (u8& s : kobold().spells) s = 1;
  kobold().mp = 1;
  monster_turn();
  EXPECT_TRUE(said("MPがたりない!"));
  EXPECT_EQ(battle.monster_acted[0], 1); // the turn is used
}

TEST(MonsterSpell, LoweringWeakensBaseValuesOfEveryone) {
  monster_due(1);
  for (u8& s : kobold().spells) s = 30; // ダウン
  monster_turn();
  for (int i = 0; i < 3; i++) {
    const member& m = battle.battle_copy.party[i];
    EXPECT_EQ(m.str, 0);
    EXPECT_EQ(m.agi, 0);
    EXPECT_EQ(m.base_hp, 90);
    EXPECT_EQ(m.atk, 20); // equipped values stay
  }
}

TEST(MonsterSpell, HealingItselfStaysWithinItsMaximum) {
  monster_due(1);
  kobold().hp = kobold().hp_max - 10;
  monster_turn();
  EXPECT_EQ(kobold().hp, kobold().hp_max);
}

TEST(Defeat, GameOverWhenNoLossIsAllowed) {
  monster_due(0);
  kobold().atk = 500;
  game.sb.flags[LOSE_ALLOWED_FLAG] = 0;
  for (int i = 1; i < 3; i++) battle.battle_copy.party[i].status = STATUS_DEAD;
  monster_turn();
  EXPECT_TRUE(battle.battle_copy.party[0].status & STATUS_DEAD);
  EXPECT_TRUE(said("死んでしまった！"));
  EXPECT_EQ(battle.battle_mode, BATTLE_LOST);
  EXPECT_EQ(battle.gameover_state, 1);
}

TEST(Defeat, LoseAllowedLossInTheMonstersTurnLeavesTheSavedPartyAlone) {
  monster_due(0);
  game.sb.flags[LOSE_ALLOWED_FLAG] = 1;
  kobold().atk = 500;
  for (int i = 1; i < 3; i++) battle.battle_copy.party[i].status = STATUS_DEAD;
  save_block before = game.sb;
  monster_turn();
  EXPECT_EQ(battle.battle_mode, BATTLE_NONE);
  EXPECT_EQ(battle.weaken_count, 1);
  EXPECT_EQ(game.sb.flags[LOST_BATTLE_FLAG], 1);
  before.flags[LOST_BATTLE_FLAG] = 1;
  EXPECT_EQ(std::memcmp(&before, &game.sb, sizeof before), 0);
  EXPECT_EQ(battle.gameover_state, 0);
}

TEST(MonsterTurn, MonstersDoneOnlyShowsThePrompt) {
  monster_due(0);
  battle.monsters_done = 1;
  u32 state = game.rand_state;
  monster_turn();
  EXPECT_EQ(game.rand_state, state);
  EXPECT_EQ(battle.monster_turn_pending, 0);
  EXPECT_EQ(battle.battle_wait_turn, 1);
  EXPECT_TRUE(lines().empty());
}

} // namespace
