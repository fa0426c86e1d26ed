// Spells cast in battle and on the field: targets, costs, refusals.
#include "battle_fixture.h"
#include "gfx/field_map.h"
#include "shell/shell.h"

#include "platform/platform.h"

#include <gtest/gtest.h>

namespace {

// Member 0 knows the spell in list slot 0.
void knows(int spell) {
  member& a = game.sb.party[0];
  a.spells[0] = static_cast<u8>(spell);
  a.spell_mask = 1;
}

member& fighter(int i) {
  return battle.battle_copy.party[i];
}

TEST(BattleMagic, LifeOnOneMemberTakesTwoConfirms) {
  fresh_game();
  knows(24);
  fight(1);
  battle.cmd_state = CMD_SPELL_LIST;
  cast_spell(0, 0);
  EXPECT_EQ(battle.member_pick, 1);
  EXPECT_TRUE(lines().empty());
  battle.spell_target_member = 1;
  fighter(1).hp = 90;
  cast_spell(0, 0);
  EXPECT_EQ(fighter(1).hp, 100);
  EXPECT_EQ(missing({"BOBのHPが回復した。", "ライフの呪文を唱えた。"}), "");
  EXPECT_EQ(fighter(0).mp, 47);
  EXPECT_EQ(battle.party_acted[0], 1);
}

// ダウン lowers every monster's values, never below zero, and can kill.
TEST(BattleMagic, DownLowersEveryMonsterAndCanKill) {
  fresh_game();
  knows(30);
  kobolds(3);
  battle.monsters[2].hp = 7;
  battle.monsters[2].spd = 3;
  monster_slot before[3] = {battle.monsters[0], battle.monsters[1], battle.monsters[2]};
  cast_spell(0, 0);
  for (int s = 0; s < 2; s++) {
    const monster_slot& m = battle.monsters[s];
    EXPECT_EQ(m.atk, before[s].atk - 20);
    EXPECT_EQ(m.spd, before[s].spd - 10);
    EXPECT_EQ(m.def, before[s].def - 10);
    EXPECT_EQ(m.mdef, before[s].mdef - 10);
    EXPECT_EQ(m.hp, before[s].hp - 10);
    EXPECT_EQ(m.hp_max, before[s].hp_max - 10);
    EXPECT_EQ(m.mp, before[s].mp - 10);
    EXPECT_EQ(m.mp_max, before[s].mp_max - 10);
  }
  EXPECT_EQ(battle.monsters[2].spd, 0);
  EXPECT_TRUE(battle.monsters[2].status & STATUS_DEAD);
  EXPECT_EQ(missing({">@C1コボルト@C0を、倒した！"}), "");
  EXPECT_EQ(fighter(0).mp, 30);
}

TEST(BattleMagic, OneMonsterSpellChoosesThenCasts) {
  fresh_game();
  knows(3); // エレキ, thunder: the fourth defence entry
  fight(1);
  battle.first_key = 0;
  battle_key(VK_DOWN);
  battle_key(VK_SPACE);
  EXPECT_EQ(battle.cmd_state, CMD_SPELL_LIST);
  battle_key(VK_SPACE);
  EXPECT_EQ(battle.cmd_state, CMD_SPELL_TARGET);
  EXPECT_EQ(fighter(0).mp, 50);
  battle.monsters[0].elem_def[3] = 5;
  battle.monsters[0].status = STATUS_POISON;
  i32 hp = battle.monsters[0].hp;
  battle_key(VK_SPACE);
  EXPECT_EQ(missing({"@C1コボルト@C0は、", "ダメージを受けない！"}), "");
  EXPECT_EQ(battle.monsters[0].hp, hp);
  EXPECT_EQ(battle.monsters[0].status, 0); // poison gone all the same
  EXPECT_EQ(fighter(0).mp, 47);
  EXPECT_EQ(battle.cmd_state, CMD_LIST);
}

TEST(BattleMagic, FireDamageLessMagicDefence) {
  fresh_game();
  knows(5); // バーナー: 100 fire
  fight(1);
  battle.cmd_state = CMD_SPELL_TARGET;
  battle.monsters[0].mdef = 20;
  battle.monsters[0].elem_def[0] = 3;
  battle.monsters[0].hp = 1000;
  cast_spell(0, 0);
  EXPECT_EQ(battle.monsters[0].hp, 1000 - (100 / 5 * 3 - 20));
  EXPECT_EQ(missing({"@C240@C0ポイントのダメージ！"}), "");
  EXPECT_EQ(battle.hit_flash[0].kind, 5);
}

TEST(BattleMagic, ReviveAllLeavesZeroAndReviveOneGivesTen) {
  fresh_game();
  game.magic_table[29].scope = 1; // a revival for everyone
  knows(29);
  game.sb.party[0].mp = 200;
  fight(1);
  fighter(1).status = STATUS_DEAD;
  fighter(1).hp = 0;
  cast_spell(0, 0);
  EXPECT_EQ(fighter(1).status, 0);
  EXPECT_EQ(fighter(1).hp, 0);
  EXPECT_EQ(missing({"BOBは生き返った。"}), "");
  game.magic_table[29].scope = 0;
  battle.actor = 0;
  fighter(2).status = STATUS_DEAD;
  fighter(2).hp = 0;
  battle.member_pick = 1;
  battle.spell_target_member = 2;
  cast_spell(0, 0);
  EXPECT_EQ(fighter(2).hp, 10);
  EXPECT_EQ(fighter(2).status, 0);
}

// Each refusal is told and uses no turn.
TEST(BattleMagic, RefusalsUseNoTurn) {
  const struct {
    int spell, mp, slot;
    bool dead;
    const char* line;
  } rows[] = {
      {9, 49, 0, false, "MPがたりない!"}, // ボルカノ costs 50
      {9, 50, 16, false, "Magic Number error."},
      {9, 50, 1, false, "呪文がありません。"},
      {200, 50, 0, false, "呪文がありません。"}, // no such spell
      {9, 50, 0, true, "死んでいます。"},
      {31, 50, 0, false, "使用できません。"}, // ゴート is for the field
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.spell);
    fresh_game();
    knows(r.spell);
    game.sb.party[0].mp = static_cast<u16>(r.mp);
    fight(1);
    if (r.dead) fighter(0).status = STATUS_DEAD;
    cast_spell(r.slot, 0);
    EXPECT_EQ(missing({r.line}), "");
    EXPECT_EQ(battle.party_acted[0], 0);
    EXPECT_EQ(battle.monster_turn_pending, 0);
  }
}

TEST(BattleMagic, StrengtheningRaisesButNeverMagicAttack) {
  fresh_game();
  knows(27); // ビート
  game.sb.party[0].mp = 100;
  fight(1);
  battle.member_pick = 1;
  battle.spell_target_member = 0;
  cast_spell(0, 0);
  const member& a = fighter(0);
  EXPECT_EQ(a.atk, 70);
  EXPECT_EQ(a.hp_max, 150);
  EXPECT_EQ(a.hp, 150);
  EXPECT_EQ(a.mp, 0); // raised to its new maximum of 100, then the cost
  EXPECT_EQ(a.matk, 5);
}

// Battle spells, and ゴート in the first maps, are refused in the field and
// cost nothing.
TEST(FieldMagic, RefusalsCostNothing) {
  const struct {
    int spell, map;
    const char* line;
  } rows[] = {
      {1, WORLD_MAP, "戦闘中以外は、使えません。"},
      {22, WORLD_MAP, "戦闘中以外は、使えません。"},
      {31, 12, "ここでは、使えません。"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.spell);
    fresh_game();
    knows(r.spell);
    game.sb.party[0].mp = 200;
    game.cur_map = r.map;
    field_cast(0, 0);
    EXPECT_EQ(missing({r.line}), "");
    EXPECT_EQ(game.sb.party[0].mp, 200);
    EXPECT_EQ(game.cur_map, r.map);
  }
}

TEST(FieldMagic, HealingOnAllSkipsTheDead) {
  fresh_game();
  knows(26); // ライブド
  game.sb.party[0].mp = 150;
  game.sb.party[1].hp = 1;
  game.sb.party[2].status = STATUS_DEAD;
  field_cast(0, 0);
  EXPECT_EQ(game.sb.party[1].hp, 100);
  EXPECT_EQ(game.sb.party[0].mp, 50);
  EXPECT_EQ(missing({"CARLは死んでいる。"}), "");
}

TEST(FieldMagic, CasterIsTheChosenMember) {
  fresh_game();
  member& b = game.sb.party[1];
  b.spells[3] = 28; // キュア
  b.spell_mask = 8;
  game.sb.party[2].status = STATUS_POISON;
  battle.spell_target_member = 2;
  field_cast(1, 3);
  EXPECT_EQ(battle.member_pick, 1);
  field_cast(1, 3);
  EXPECT_EQ(game.sb.party[2].status, 0);
  EXPECT_EQ(b.mp, 49);
  EXPECT_EQ(missing({"BOBは、", "CARLの毒が消えた。"}), "");
}

TEST(FieldMagic, ReturnSpellTakesThePartyBack) {
  fresh_game();
  knows(31);
  game.cur_map = 60;
  game.return_map = 4;
  game.return_x = 10;
  game.return_y = 11;
  field_cast(0, 0);
  EXPECT_EQ(field_map.transition, 1); // the map change closes the picture
  EXPECT_EQ(game.cur_map, 4);
  EXPECT_EQ(game.pos_x, 10);
  EXPECT_EQ(game.pos_y, 11);
  EXPECT_EQ(game.sb.party[0].mp, 40);
  EXPECT_EQ(missing({"ゴートの呪文を唱えた。"}), "");
}

} // namespace
