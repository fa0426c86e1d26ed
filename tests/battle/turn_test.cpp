// A member's turn: blows, defence, running away, the end of a round, the
// spoils of victory and what follows the battle.
#include "battle_fixture.h"

#include "battle/battle_internal.h"

#include <gtest/gtest.h>

namespace {

monster_slot& target() {
  return battle.monsters[0];
}

// ALICE (attack 20, agility 10) strikes the kobold. Her fighting copy's
// attack is raised to 500 in every row: a blow reads the saved record.
TEST(Attack, BlowIsAttackLessDefencePlusTheAgilityMargin) {
  const struct {
    int def, spd, hp, hp_after, flash;
    const char* line;
  } rows[] = {
      {15, 5, 100, 90, 1, " @C210@C0ポイントのダメージ！"},
      {0, 100, 1000, 980, 1, "@C1ALICE@C0の、攻撃!"},
      {40, 10, 100, 100, 0, "ダメージを与えられない!"},
      {0, 0, 5, 0, 1, ">@C1コボルト@C0を、倒した！"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.hp_after);
    fresh_game();
    fight(1);
    target().def = r.def;
    target().spd = r.spd;
    target().hp = r.hp;
    battle.battle_copy.party[0].atk = 500;
    attack(0);
    EXPECT_EQ(target().hp, r.hp_after);
    EXPECT_EQ(missing({r.line}), "");
    EXPECT_EQ(battle.hit_flash[0].on, r.flash);
    EXPECT_EQ(battle.hit_flash[0].timer, 16 * r.flash);
    EXPECT_EQ(battle.hit_flash[0].kind, 0);
    EXPECT_EQ(target().status & STATUS_DEAD, r.hp_after ? 0 : STATUS_DEAD);
    EXPECT_EQ(battle.battle_mode, r.hp_after ? BATTLE_FIGHTING : BATTLE_OVER); // the only monster
  }
}

TEST(Attack, WeaponElementsAddStrengthScaledByTheMonster) {
  fresh_game();
  wear(game.sb.party[0], 0, 17, &member::eq_right); // ほのおのつるぎ: fire
  fight(1);
  target().def = target().spd = 100;
  target().hp = 1000;
  target().elem_def[0] = 2; // keeps two fifths
  attack(0);
  EXPECT_EQ(battle.elem_hit[0], 20 / 5 * 2);
  EXPECT_EQ(target().hp, 1000 - 8);
  EXPECT_EQ(missing({"属性攻撃@C2[炎]8@C0ﾎﾟｲﾝﾄのﾀﾞﾒｰｼﾞ！"}), "");
}

// ALICE's sweep passes the dead slot by; BOB's blow at it is told that it
// is dead, and uses his turn all the same.
TEST(Attack, SweepingWeaponHitsEveryLivingMonsterAndADeadSlotUsesTheTurn) {
  fresh_game();
  wear(game.sb.party[0], 3, 55, &member::eq_left); // 武神の剣: hits all
  kobolds(3);
  for (int s = 0; s < 3; s++) {
    battle.monsters[s].def = battle.monsters[s].spd = 10;
    battle.monsters[s].hp = 100;
  }
  battle.monsters[1].status = STATUS_DEAD;
  attack(2);
  for (int s = 0; s < 3; s++) EXPECT_EQ(battle.monsters[s].hp, s == 1 ? 100 : 90) << s;
  EXPECT_EQ(battle.attack_all, 1);
  forget_lines();
  attack(1);
  EXPECT_EQ(missing({">@C1コボルト@C0は、死んでいる"}), "");
  EXPECT_EQ(battle.party_acted[1], 1);
  EXPECT_EQ(battle.actor, 2);
}

TEST(Attack, LoseAllowedBattlesDealExactlyTen) {
  fresh_game();
  game.sb.flags[LOSE_ALLOWED_FLAG] = 1;
  fight(1);
  target().def = 500;
  target().hp = 100;
  attack(0);
  EXPECT_EQ(target().hp, 90);
  battle.weaken_count = 1;
  battle.actor = 0;
  attack(0);
  EXPECT_EQ(target().hp, 90);
}

TEST(RunAway, FailsExactlyWhenTheDrawEndsInThreeZeroBits) {
  for (bool escape : {true, false}) {
    fresh_game();
    start_group_battle(0);
    battle.battle_copy.party[1].hp = 40;
    battle.battle_copy.party[1].status = STATUS_POISON;
    seed_where([&](const std::vector<int>& d) { return ((d[0] & 7) != 0) == escape; }, 1);
    run_away();
    if (escape) {
      EXPECT_EQ(battle.battle_mode, BATTLE_OVER);
      EXPECT_EQ(missing({"ALICEたちは、", " 逃げ出した。"}), "");
      EXPECT_EQ(game.sb.party[1].hp, 40);
      EXPECT_EQ(game.sb.party[1].status, STATUS_POISON);
      EXPECT_EQ(game.sb.party[0].exp, 0u);
    } else {
      EXPECT_EQ(battle.battle_mode, BATTLE_FIGHTING);
      EXPECT_EQ(missing({"逃げることができない！"}), "");
      EXPECT_EQ(battle.party_acted[0], 1);
      EXPECT_EQ(game.sb.party[1].hp, 100);
    }
  }
}

TEST(RunAway, SetBattleRefusesWithoutADrawOrATurn) {
  fresh_game();
  fight(200);
  u32 before = game.rand_state;
  run_away();
  EXPECT_EQ(game.rand_state, before);
  EXPECT_EQ(missing({"逃げることができない！"}), "");
  EXPECT_EQ(battle.party_acted[0], 0);
  EXPECT_EQ(battle.actor, 0);
  EXPECT_EQ(battle.monster_turn_pending, 0);
}

// A member who defends is marked for the round, and the monster's turn
// waits for the key after the report.
TEST(Rounds, DefendingAndOneMonsterActionPerRoundOfThree) {
  fresh_game();
  fight(1);
  target().hp = 100000;
  target().atk = 0; // harmless
  std::vector<int> acted;
  for (int action = 0; action < 6; action++) {
    defend();
    if (action == 0) {
      EXPECT_EQ(battle.defending[0], 1);
      EXPECT_EQ(missing({"@C1ALICE@C0は、防御態勢をとった"}), "");
      EXPECT_EQ(battle.monster_turn_pending, 1);
      EXPECT_EQ(battle.battle_wait_open, 1);
    }
    forget_lines();
    while (battle.monster_turn_pending) {
      battle.battle_wait_open = 0;
      monster_turn();
    }
    acted.push_back(said("@C3コボルト@C0の、攻撃!!"));
  }
  // The monster's action of a round follows its first party action; after
  // the second and third members' actions of a round no monster acts.
  EXPECT_EQ(acted, (std::vector<int>{1, 0, 1, 0, 0, 1}));
}

TEST(Rounds, PoisonBitesAtTheEndOfTheRoundAndCanKill) {
  fresh_game();
  fight(1);
  target().hp = 100000;
  battle.monsters_done = 1;
  battle.party_actions = 2;
  member& b = battle.battle_copy.party[1];
  b.status = STATUS_POISON;
  b.hp = 5;
  battle.battle_copy.party[2].status = STATUS_POISON;
  battle.actor = 2;
  defend();
  EXPECT_EQ(b.hp, 0);
  EXPECT_TRUE(b.status & STATUS_DEAD);
  EXPECT_EQ(battle.battle_copy.party[2].hp, 90);
  EXPECT_EQ(missing({"BOBは、HPが下がった!", "CARLは、HPが下がった!"}), "");
  for (u8 d : battle.defending) EXPECT_EQ(d, 0);
  EXPECT_EQ(battle.monsters_done, 0);
}

// Poison takes the last member in the party's own turn: a battle that may
// be lost ends as a loss of the story's, any other as the game's end.
TEST(Rounds, PoisonTakingTheLastMemberEndsTheBattle) {
  for (int lose_allowed : {0, 1}) {
    SCOPED_TRACE(lose_allowed);
    fresh_game();
    game.sb.flags[LOSE_ALLOWED_FLAG] = static_cast<u8>(lose_allowed);
    game.sb.party[1].status = game.sb.party[2].status = STATUS_DEAD;
    fight(1);
    battle.monsters_done = 1;
    battle.battle_copy.party[0].status = STATUS_POISON;
    battle.battle_copy.party[0].hp = 10;
    defend();
    EXPECT_EQ(battle.battle_mode, lose_allowed ? BATTLE_OVER : BATTLE_LOST);
    EXPECT_EQ(battle.gameover_state, 1 - lose_allowed);
    EXPECT_EQ(game.sb.flags[LOST_BATTLE_FLAG], lose_allowed);
    EXPECT_EQ(game.no_monster_turn, lose_allowed);
    EXPECT_EQ(battle.monster_turn_pending, 0);
  }
}

TEST(Victory, EveryLivingMemberGetsTheWholeSumAndTheGold) {
  fresh_game();
  game.sb.party[2].status = STATUS_DEAD;
  kobolds(2);
  for (int s = 0; s < 2; s++) battle.monsters[s].exp = 30, battle.monsters[s].gold = 7;
  battle.monsters[0].status = STATUS_DEAD;
  battle.monsters[1].hp = 1;
  battle.monsters[1].def = 0;
  game.sb.gold = battle.battle_copy.gold = 100;
  battle.battle_copy.party[0].hp = 33;
  battle.battle_copy.party[0].items[0] = 169;
  attack(1);
  EXPECT_EQ(battle.battle_mode, BATTLE_OVER);
  for (int i = 0; i < 3; i++) EXPECT_EQ(game.sb.party[i].exp, i < 2 ? 60u : 0u) << i;
  EXPECT_EQ(game.sb.gold, 114);
  EXPECT_EQ(game.sb.party[0].hp, 33);
  EXPECT_EQ(game.sb.party[0].items[0], 169);
  EXPECT_EQ(missing({" 60の経験値を獲得、14Gを得た"}), "");
  EXPECT_EQ(game.sb.party[0].level, 1); // 60 is below 100
}

TEST(Victory, LevelUpsDrawEightTimesAndReportEachGainWithAKeyWait) {
  fresh_game();
  fight(1);
  target().exp = 100;
  target().gold = 0;
  target().hp = 1;
  target().def = 0;
  std::vector<int> d = upcoming(25);
  attack(0);
  EXPECT_EQ(upcoming(1)[0], d[24]) << "three members level once each: eight draws apiece";
  const member& a = game.sb.party[0];
  auto low3 = [](int r) { return (0u - static_cast<u32>(r)) & 7u; };
  EXPECT_EQ(a.level, 2);
  EXPECT_EQ(a.exp_step, 60u);
  EXPECT_EQ(a.next_exp, 160u);
  EXPECT_EQ(a.exp_step_inc, 12u);
  EXPECT_EQ(a.str, 20 + low3(d[0]) + 1);
  EXPECT_EQ(a.atk, a.str); // rebuilt from the base values
  EXPECT_EQ(a.mag, 5 + std::min(low3(d[1]), 5u));
  EXPECT_EQ(a.agi, 10 + std::min(low3(d[2]), 4u));
  EXPECT_EQ(a.base_hp_max, 100 + low3(d[5]) + 3);
  EXPECT_EQ(a.hp_max, a.base_hp_max);
  EXPECT_EQ(a.base_mp_max, 50u + (low3(d[6]) == 0 ? 2 : 3));
  char line[64];
  std::snprintf(line, sizeof line, " 力が%d上がった!@P", static_cast<int>(low3(d[0]) + 1));
  EXPECT_EQ(missing({"ALICEは、レベルが上がった!", line}), "");
  EXPECT_GE(lines_with("@P"), 3 * 3);
  EXPECT_LE(lines_with("@P"), 3 * 7);
}

// A record whose threshold cannot grow still levels once, and the values
// rebuilt after a level keep the equipment's bonus.
TEST(Victory, LevelUpOfOddRecordsAndEquippedMembers) {
  fresh_game();
  member& a = game.sb.party[0];
  a.exp = 1000;
  a.next_exp = 10;
  a.exp_step = a.exp_step_inc = a.exp_step_inc2 = 0;
  level_up(a, 0);
  EXPECT_EQ(a.level, 2);
  member& b = game.sb.party[1];
  wear(b, 0, 5, &member::eq_right); // てつのつるぎ
  rebuild_equipped(b);
  b.exp = 100;
  level_up(b, 1);
  EXPECT_EQ(b.atk, b.str + 12);
}

TEST(EndOfBattle, SetFightNpcIsGoneEncountersPauseAndAWipeOutIsTold) {
  fresh_game();
  game.npc_table[4].type = 3;
  battle.figure = 4;
  fight(1);
  battle.battle_mode = BATTLE_OVER;
  end_battle_key();
  EXPECT_EQ(battle.battle_mode, BATTLE_NONE);
  EXPECT_EQ(battle.fixed_battle, 0);
  EXPECT_EQ(game.npc_table[4].state, 1);
  EXPECT_EQ(game.encounters_on, 0);
  battle.gameover_state = 1;
  gameover_key();
  EXPECT_EQ(battle.gameover_state, 2);
  EXPECT_EQ(missing({"@C1ALICE@C0たちは、全滅した。"}), "");
}

} // namespace
