// Items used, handed over, thrown away and equipped, and the item table.
#include "battle_fixture.h"

#include <gtest/gtest.h>

namespace {

member& field(int i) {
  return game.sb.party[i];
}

// ALICE uses an item on BOB: what it does and says, and whether her entry
// is used up (255) or kept.
TEST(UseItem, OnAMemberHealsCuresAndRevives) {
  const struct {
    int item, status, hp;
    std::vector<const char*> told;
    int status_after, hp_after, entry_after;
  } rows[] = {
      // やくそう fifty below the maximum reports the 99 it could give
      {169, 0, 50, {"BOBのHPが、", "99回復した。"}, 0, 100, 255},
      {169, STATUS_DEAD, 50, {"BOBは、死んでいる。"}, STATUS_DEAD, 50, 169},
      {172, 0, 100, {"BOBは、毒をうけていないようだ。"}, 0, 100, 172}, // 毒消し草
      {172, STATUS_POISON, 100, {"BOBの毒が消えた。"}, 0, 100, 255},
      {173, 0, 100, {"BOBは、死んでいないようだ。"}, 0, 100, 173}, // 復活の水
      {173, STATUS_DEAD | STATUS_POISON, 0, {"BOBは、生き返った。"}, STATUS_POISON, 10, 255},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.told[0]);
    fresh_game();
    field(0).items[4] = static_cast<u8>(r.item);
    field(1).status = static_cast<u8>(r.status);
    field(1).hp = static_cast<u16>(r.hp);
    battle.item_target_member = 1;
    use_item(0, 4);
    EXPECT_EQ(missing(r.told), "");
    EXPECT_EQ(field(1).status, r.status_after);
    EXPECT_EQ(field(1).hp, r.hp_after);
    EXPECT_EQ(field(0).items[4], r.entry_after);
  }
}

TEST(UseItem, AngelWaterRestoresHitPointsThenMagicOnce) {
  fresh_game();
  field(0).items[0] = 171;
  field(0).hp = 10;
  field(0).mp = 45;
  battle.item_target_member = 0;
  use_item(0, 0);
  EXPECT_EQ(field(0).hp, 100);
  EXPECT_EQ(field(0).mp, 50);
  int hp_line = line_index("ALICEのHPが、");
  EXPECT_GE(hp_line, 0) << transcript();
  EXPECT_GT(line_index("ALICEのMPが、"), hp_line);
  EXPECT_EQ(lines_with("回復した。"), 2);
  EXPECT_EQ(field(0).items[0], 255);
}

// 力のみず raises strength for good; 台風の目 raises the maxima (+20 HP, +10 MP
// at most), lasting past the next rebuild of the equipped values.
TEST(UseItem, RaisesLastPastARebuild) {
  fresh_game();
  field(0).items[1] = 176;
  battle.item_target_member = 1;
  use_item(0, 1);
  EXPECT_EQ(field(1).str, 23);
  EXPECT_EQ(field(1).atk, 23);
  EXPECT_EQ(missing({"力が、3あがった。"}), "");
  int hp_max = field(1).hp_max, mp_max = field(1).mp_max;
  field(0).items[3] = 185;
  use_item(0, 3);
  field(1).items[0] = 1;
  equip(1, 0, 1);
  EXPECT_EQ(field(1).hp_max, hp_max + 20);
  EXPECT_EQ(field(1).mp_max, mp_max + 10);
  EXPECT_EQ(field(1).atk, 23 + 5) << "the sword's bonus on the raised strength";
}

TEST(UseItem, RefusalsAndToolsWithoutUse) {
  fresh_game();
  use_item(0, 3);
  EXPECT_EQ(missing({"アイテムが、ありません!"}), "");
  field(0).items[3] = 1; // a sword in the field does nothing
  use_item(0, 3);
  EXPECT_EQ(missing({" を使ったが、何もおこらなかった。"}), "");
  field(0).status = STATUS_DEAD;
  use_item(0, 3);
  EXPECT_EQ(missing({"死んでいます。"}), "");
}

TEST(BattleItems, EmptyEntryAndTheMemberChoice) {
  fresh_game();
  field(0).items[5] = 169;
  fight(1);
  battle.cmd_state = CMD_ITEM_LIST;
  battle_item();
  EXPECT_EQ(missing({"アイテムが、ありません!"}), "");
  EXPECT_EQ(battle.party_acted[0], 0);
  battle.item_cursor[0] = 1; // entry 4 + row
  battle.item_cursor[1] = 1;
  battle.battle_copy.party[1].hp = 20;
  battle_item();
  EXPECT_EQ(battle.item_pick, 1);
  EXPECT_EQ(battle.item_target_member, 0);
  battle.item_target_member = 1;
  battle_item();
  EXPECT_EQ(battle.battle_copy.party[1].hp, 100);
  EXPECT_EQ(game.sb.party[1].hp, 100 - 0); // the saved party is untouched until the end
  EXPECT_EQ(battle.item_pick, 0);
  EXPECT_EQ(battle.party_acted[0], 1);
}

TEST(BattleItems, FireSwordAsksForAMonsterThenCastsWithoutMagic) {
  fresh_game();
  field(0).items[0] = 17; // ほのおのつるぎ, spell 1
  fight(1);
  battle.cmd_state = CMD_ITEM_LIST;
  battle.monsters[0].hp = 1000;
  battle_item();
  EXPECT_EQ(battle.cmd_state, CMD_ITEM_TARGET);
  EXPECT_TRUE(lines().empty());
  battle_item();
  EXPECT_EQ(missing({"ほのおのつるぎを使った。", "ファイアの呪文が発動した。"}), "");
  EXPECT_EQ(battle.monsters[0].hp, 1000 - (30 - battle.monsters[0].mdef));
  EXPECT_EQ(battle.battle_copy.party[0].mp, 50);
  EXPECT_EQ(battle.battle_copy.party[0].items[0], 17);
  EXPECT_EQ(battle.cmd_state, CMD_LIST);
}

TEST(HandOver, FromADeadMemberItIsTakenOut) {
  fresh_game();
  field(0).items[2] = 169;
  field(0).status = STATUS_DEAD;
  field(1).items[0] = 5;
  give_item_to(0, 2, 1);
  EXPECT_EQ(field(0).items[2], 0);
  EXPECT_EQ(field(1).items[1], 169);
  EXPECT_EQ(missing({"BOBは、ALICEの", "やくそうを取り出した。"}), "");
}

TEST(HandOver, RefusalsAndAFullBag) {
  fresh_game();
  give_item_to(0, 255, 1);
  EXPECT_EQ(missing({"アイテムが、ありません！"}), "");
  give_item_to(0, 0, 1);
  EXPECT_EQ(missing({"渡すアイテムが、ありません！"}), "");
  wear(field(0), 0, 1, &member::eq_right);
  give_item_to(0, 0, 1);
  EXPECT_EQ(missing({" いるので渡すことができない。"}), "");
  field(0).items[1] = 169;
  for (u8& e : field(2).items) e = 170;
  give_item_to(0, 1, 2);
  EXPECT_EQ(missing({"アイテムを持ち切れない。"}), "");
  EXPECT_EQ(field(0).items[1], 169);
  give_item_to(0, 1, 1);
  EXPECT_TRUE(said(" を@NAME1に渡した。") || said(" をBOBに渡した。")) << transcript();
  EXPECT_EQ(field(1).items[0], 169);
}

TEST(Discard, EquippedItemsStay) {
  fresh_game();
  wear(field(0), 0, 1, &member::eq_right);
  discard_item(0, 0);
  EXPECT_EQ(missing({" ので捨てることができない。"}), "");
  EXPECT_EQ(field(0).items[0], 1);
  discard_item(0, 1);
  EXPECT_EQ(missing({"捨てるアイテムが、ありません！"}), "");
  field(0).items[1] = 169;
  discard_item(0, 1);
  EXPECT_EQ(field(0).items[1], 255);
  EXPECT_EQ(missing({"やくそうを捨てた。"}), "");
}

TEST(Equip, LeftHandWeaponMovesToTheRight) {
  fresh_game();
  member& a = field(0);
  wear(a, 0, 1, &member::eq_left);
  EXPECT_EQ(equip(0, 0, 1), 1);
  EXPECT_EQ(a.eq_right, 0);
  EXPECT_EQ(a.eq_left, NO_EQUIP);
  EXPECT_EQ(a.eq_mask, 1);
  EXPECT_EQ(a.atk, 25);
  // The padded names fill the first line; the rest follows on the next.
  EXPECT_EQ(missing({">ALICE           は、どうのつるぎ    ", "を装備した。"}), "");
  EXPECT_EQ(equip(0, 0, 1), 1);
  EXPECT_EQ(missing({"装備をはずした。"}), "");
  EXPECT_EQ(a.eq_right, NO_EQUIP);
  EXPECT_EQ(a.eq_mask, 0);
  EXPECT_EQ(a.atk, 20);
}

// A second weapon in the right hand replaces the first and clears its
// mark; a ring moved to another finger leaves the first.
TEST(Equip, AnItemIsWornInOnePlaceOnly) {
  fresh_game();
  member& a = field(0);
  a.items[0] = 1;
  a.items[1] = 5;
  a.items[6] = 125; // 力の指輪, +10
  equip(0, 0, 1);
  equip(0, 1, 1);
  equip(0, 6, 4);
  equip(0, 6, 6);
  EXPECT_EQ(a.eq_right, 1);
  EXPECT_EQ(a.eq_acc1, NO_EQUIP);
  EXPECT_EQ(a.eq_acc3, 6);
  EXPECT_EQ(a.eq_mask, 2 | 64);
  EXPECT_EQ(a.atk, 20 + 12 + 10);
}

TEST(Equip, RefusalsByRuleAndPart) {
  const struct {
    int item, sex, part;
    const char* line;
  } rows[] = {
      {79, 0, 3, "装備できるのは、女性のみです。"},
      {69, 1, 1, "装備できるのは、男性のみです。"},
      {4, 0, 0, "装備できません。"}, // a shield on the head
      {4, 0, 7, "そうび ERROR"},
      {169, 0, 4, "このアイテムは、装備できません。"},
  };
  for (const auto& r : rows) {
    fresh_game();
    field(0).items[0] = static_cast<u8>(r.item);
    field(0).sex = static_cast<u8>(r.sex);
    EXPECT_EQ(equip(0, 0, r.part), 0) << r.item;
    EXPECT_EQ(missing({r.line}), "");
  }
  EXPECT_EQ(equip(0, 0, 2), 0); // not a shield
  field(0).items[0] = 4;
  EXPECT_EQ(equip(0, 0, 2), 1); // a shield in the left hand
  EXPECT_EQ(field(0).def, 5 + 3);
}

TEST(EquipBonus, CapsAt65535AndFive) {
  fresh_game();
  member& a = field(0);
  a.atk = 65530;
  a.hp_max = 65535;
  a.elem[0] = 4;
  a.elem[1] = 1;
  equip_bonus(a, 19);  // ほのおのよろい: fire defence 2, def 38
  equip_bonus(a, 52);  // 竜神の剣: atk 200
  equip_bonus(a, 117); // 太陽の腕輪: hp_max 100
  EXPECT_EQ(a.atk, 65535);
  EXPECT_EQ(a.hp_max, 65535);
  EXPECT_EQ(a.elem[0], 5);
  EXPECT_EQ(a.def, 5 + 38);
  a.elem[1] = 2;
  equip_bonus(a, 53); // 竜神の盾: water 5
  EXPECT_EQ(a.elem[1], 5);
}

// Better weapons cost more; every named item and spell has its text and
// values within what the rules read.
TEST(ItemTable, NamedItemsAndSpellsHaveCoherentValues) {
  fresh_game();
  int last_atk = 0, last_price = 0;
  for (int n : {1, 5, 9, 13, 17, 33, 52, 55, 58, 61}) {
    EXPECT_GT(game.item_table[n].atk, last_atk) << n;
    EXPECT_GT(game.item_table[n].price, last_price) << n;
    last_atk = game.item_table[n].atk;
    last_price = game.item_table[n].price;
  }
  for (int n = 0; n < 256; n++) {
    const item& it = game.item_table[n];
    bool named = it.name[0] != ' ';
    EXPECT_EQ(named, it.info[0] != 0) << n;
    if (!named) continue;
    EXPECT_LE(it.use_class, 5) << n;
    EXPECT_LT(it.spell, 32) << n;
    bool gear = it.kind >= ITEM_WEAPON && it.kind <= ITEM_ACCESSORY;
    EXPECT_EQ(it.equip_rule != 0, gear) << n;
    EXPECT_TRUE(n < 149 || n > 160 || it.kind == ITEM_EVENT) << n;
  }
  for (int s = 1; s < 32; s++) EXPECT_NE(game.magic_table[s].name[0], ' ') << s;
}

} // namespace
