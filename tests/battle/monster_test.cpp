// A monster's turn: what it chooses, whom it aims at, its blows, special
// attacks and spells, and the party's defeat.
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

// Seeds so that the monster's first draw picks the target by its low two
// bits (0 and 3 are member 0) and, when special >= 0, its third draw picks
// that entry of the special list.
void aim(int low, int special = -1) {
  seed_where(
      [&](const std::vector<int>& d) {
        return (low < 0 || (d[0] & 3) == low) && (special < 0 || (d[2] & 7) == special);
      },
      3);
}

// Behaviours 2..4 cast in half the turns, 5 waits in half, as the second
// draw's bits 0, 2 and 4 say.
TEST(MonsterChoice, MixedBehavioursCastAndTimidOnesWaitInHalfTheTurns) {
  const int qs[8] = {0, 1, 4, 5, 16, 17, 20, 21};
  for (int behaviour : {2, 3, 4, 5}) {
    const char* text = behaviour == 5 ? "様子をみている。" : "ライフの呪文を唱えた。";
    int hits = 0;
    for (int q : qs) {
      monster_due(behaviour);
      seed_where([&](const std::vector<int>& d) { return (d[1] & 21) == q; }, 2);
      monster_turn();
      bool expect = behaviour == 3 ? q < 11 : behaviour == 2 ? q > 10 : q > 7;
      EXPECT_EQ(said(text), expect) << behaviour << " q " << q << transcript();
      hits += said(text);
    }
    EXPECT_EQ(hits, 4) << behaviour;
  }
}

TEST(MonsterTarget, MemberZeroTwiceAsOftenAndTheDeadAreSkipped) {
  const char* aimed[4] = {"@C1ALICE@C0は、", "@C1BOB@C0は、", "@C1CARL@C0は、", "@C1ALICE@C0は、"};
  for (int low = 0; low < 4; low++) {
    monster_due(0);
    aim(low);
    monster_turn();
    EXPECT_EQ(missing({aimed[low]}), "") << low;
  }
  monster_due(0);
  battle.battle_copy.party[1].status = STATUS_DEAD;
  aim(1);
  monster_turn();
  EXPECT_EQ(missing({aimed[2]}), "");
}

TEST(MonsterAttack, BlowWithAgilityAndDefending) {
  monster_due(0);
  kobold().spd = 14; // member speed is 10
  battle.defending[0] = 1;
  aim(0);
  monster_turn();
  EXPECT_EQ(battle.battle_copy.party[0].hp, 100 - (30 - 5 + 4) / 2);
  EXPECT_EQ(missing({" @C214@C0ポイントのダメージを受けた！"}), "");
  EXPECT_EQ(battle.battle_wait_turn, 1);
  EXPECT_EQ(battle.monster_turn_pending, 0);
  EXPECT_EQ(battle.monster_acted[0], 1);
}

TEST(MonsterAttack, PoisonElementPoisonsThenReports) {
  monster_due(0);
  kobold().elem_attack = 1 << 5;
  kobold().atk = 4; // the blow itself is repelled
  aim(0);
  monster_turn();
  const member& a = battle.battle_copy.party[0];
  EXPECT_TRUE(a.status & STATUS_POISON);
  EXPECT_EQ(a.hp, 96);
  int poisoned = line_index("毒を受けた！");
  EXPECT_GE(poisoned, 0) << transcript();
  EXPECT_GT(line_index("属性攻撃!@C7[毒]4@C0ﾎﾟｲﾝﾄのﾀﾞﾒｰｼﾞ！"), poisoned);
  EXPECT_GE(line_index("攻撃をはねかえした！"), 0);
}

// A special is used whenever the monster attacks; breath ignores defence,
// and a member's element defence scales it by the second column.
TEST(MonsterSpecial, SpecialsAtTheTargetAndTheirScale) {
  const struct {
    int entry, code, atk, thunder_def, hp;
    const char* line;
  } rows[] = {
      {6, 1, 30, 0, 70, "火を吐いた"},
      {0, 3, 50, 1, 100 - 40, "雷を落とした"}, // keeps four fifths of thunder
  };
  for (const auto& r : rows) {
    monster_due(0);
    kobold().specials[r.entry] = static_cast<u8>(r.code);
    kobold().atk = r.atk;
    battle.battle_copy.party[0].elem[2] = static_cast<u8>(r.thunder_def);
    aim(0, r.entry);
    monster_turn();
    EXPECT_EQ(missing({r.line}), "");
    EXPECT_EQ(battle.battle_copy.party[0].hp, r.hp) << r.code;
  }
}

TEST(MonsterSpecial, WholePartyBreathRepelsOffTheDeadAndKillsThemAgain) {
  monster_due(0);
  kobold().specials[0] = 16;
  kobold().atk = 60;
  member& c = battle.battle_copy.party[2];
  c.status = STATUS_DEAD;
  c.hp = 0;
  battle.defending[1] = 1;
  aim(-1, 0);
  monster_turn();
  EXPECT_EQ(missing({"炎をはいた"}), "");
  EXPECT_EQ(battle.battle_copy.party[0].hp, 40);
  EXPECT_EQ(battle.battle_copy.party[1].hp, 70);
  int named = line_index("@C1CARL@C0は、");
  int repelled = line_index("攻撃をはねかえした。", named + 1);
  EXPECT_GE(named, 0) << transcript();
  EXPECT_GT(repelled, named);
  EXPECT_GT(line_index("@C1CARL@C0は、死んでしまった!"), repelled);
}

TEST(MonsterSpecial, CodesWithoutALineAreNoSpecial) {
  monster_due(0);
  std::memset(kobold().specials, 9, 8);
  kobold().specials[3] = 23;
  aim(0);
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
  EXPECT_EQ(missing({"様子をみている。"}), "");
  EXPECT_EQ(kobold().mp, 1000);
}

TEST(MonsterSpell, FireOnAMemberAndShortOfMagic) {
  monster_due(1);
  for (u8& s : kobold().spells) s = 1;
  battle.defending[0] = 1;
  aim(0);
  monster_turn();
  EXPECT_EQ(battle.battle_copy.party[0].hp, 100 - (30 - 5) / 2);
  EXPECT_EQ(missing({">@C1ALICE@C0に、", " @C212@C0ポイントのダメージ！@P"}), "");
  EXPECT_EQ(kobold().mp, 998);
  monster_due(1);
  for (u8& s : kobold().spells) s = 1;
  kobold().mp = 1;
  monster_turn();
  EXPECT_EQ(missing({"MPがたりない!"}), "");
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

// The last member falls in the monster's turn: the game ends, unless the
// battle may be lost, which leaves the saved party as it was but for the
// flag of the loss.
TEST(Defeat, GameOverUnlessTheLossIsAllowed) {
  for (int lose_allowed : {0, 1}) {
    SCOPED_TRACE(lose_allowed);
    monster_due(0);
    game.sb.flags[LOSE_ALLOWED_FLAG] = static_cast<u8>(lose_allowed);
    kobold().atk = 500;
    for (int i = 1; i < 3; i++) battle.battle_copy.party[i].status = STATUS_DEAD;
    save_block before = game.sb;
    monster_turn();
    EXPECT_EQ(battle.gameover_state, 1 - lose_allowed);
    EXPECT_EQ(game.sb.flags[LOST_BATTLE_FLAG], lose_allowed);
    if (lose_allowed) {
      EXPECT_EQ(battle.battle_mode, BATTLE_NONE);
      EXPECT_EQ(battle.weaken_count, 1);
      before.flags[LOST_BATTLE_FLAG] = 1;
      EXPECT_EQ(std::memcmp(&before, &game.sb, sizeof before), 0);
    } else {
      EXPECT_TRUE(battle.battle_copy.party[0].status & STATUS_DEAD);
      EXPECT_EQ(missing({"死んでしまった！"}), "");
      EXPECT_EQ(battle.battle_mode, BATTLE_LOST);
    }
  }
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
