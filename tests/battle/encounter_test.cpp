// The species and encounter tables, monster slots, and how battles start.
#include "battle_fixture.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

bool blank_name(const char* n) {
  for (int i = 0; i < 16; i++)
    if (n[i] != ' ') return false;
  return n[16] == 0;
}

TEST(SpeciesTable, NamesFillersAndLimits) {
  int named = 0, highest = 0;
  for (int s = 0; s < SPECIES_COUNT; s++) {
    const species& sp = species_table[s];
    if (!blank_name(sp.name)) named++, highest = s;
    EXPECT_NE(sp.atk_div, 0) << s;
    EXPECT_LT(sp.picture, 34) << s;
    EXPECT_LE(sp.behaviour, 5) << s;
    for (u8 v : sp.elem_def) EXPECT_LE(v, 5) << s;
    for (u8 c : sp.specials) EXPECT_TRUE(c == 0 || (c >= 1 && c <= 8) || (c >= 16 && c <= 22)) << s;
    for (u8 spell : sp.spells) EXPECT_TRUE(spell < 32 || (spell == 40 && s >= 21 && s <= 23)) << s;
  }
  EXPECT_EQ(named, 204) << "the listed names and the last guardian, 178";
  EXPECT_EQ(highest, 223);
  EXPECT_TRUE(blank_name(species_table[0].name));
}

// A species is drawn with its family's picture: the first family word found
// in its name decides (the casters and ザンドレク before the demons and cats
// their names contain). Names without a family word are not checked.
TEST(SpeciesTable, EveryNamedFamilyWearsItsPicture) {
  const std::pair<const char*, int> families[] = {
      {"悪魔信者", 30},     {"魔道師", 30},   {"ザンドレク", 33}, {"ゼロ", 33},
      {"トムキャット", 29}, {"コボルト", 0},  {"キャット", 1},    {"ドッグ", 2},
      {"ケルベロス", 2},    {"蚊", 3},        {"蛇", 4},          {"ヒュドラ", 4},
      {"くま", 5},          {"ベアー", 5},    {"とかげ", 6},      {"すずめ", 7},
      {"ガラス", 8},        {"ゴキブリ", 9},  {"ねずみ", 10},     {"ワシ", 11},
      {"ワーム", 12},       {"ザメ", 13},     {"シャーク", 13},   {"クラゲ", 14},
      {"ダコ", 15},         {"アンコウ", 16}, {"人形", 17},       {"ドラゴン", 18},
      {"霊", 19},           {"鷹", 20},       {"スケルトン", 21}, {"デーモン", 22},
      {"悪魔", 22},         {"天使", 23},     {"エンゼル", 23},   {"兵士", 24},
      {"戦士", 25},         {"機械", 26},     {"衛星", 27},       {"戦車", 28},
      {"戦闘機", 29},       {"魔女", 30},     {"ｴﾚﾒﾝﾀﾙ", 31},     {"エレメンタル", 31},
      {"巨人", 32},
  };
  // a word matches only from a character's first byte (Shift-JIS pairs)
  auto has = [](const char* name, const char* word) {
    for (int i = 0; i < 16; i++) {
      if (std::strncmp(name + i, word, std::strlen(word)) == 0) return true;
      unsigned char c = static_cast<unsigned char>(name[i]);
      i += (c >= 0x81 && c <= 0x9F) || c >= 0xE0;
    }
    return false;
  };
  int checked = 0;
  for (int s = 1; s < SPECIES_COUNT; s++)
    for (auto [word, picture] : families)
      if (has(species_table[s].name, word)) {
        EXPECT_EQ(species_table[s].picture, picture) << "species " << s;
        checked++;
        break;
      }
  EXPECT_GE(checked, 150);
}

// The world gets harder area by area along the way the story leads.
TEST(SpeciesTable, WorldAreasRiseInLevel) {
  const int order[] = {0, 1, 2, 3, 4, 5, 6, 8, 9, 11};
  double last = 0;
  for (int a : order) {
    double sum = 0;
    for (u8 s : world_encounters[a]) sum += species_table[s].level;
    EXPECT_GT(sum / 8, last) << "area " << a;
    last = sum / 8;
  }
  for (u8 s : world_encounters[0]) EXPECT_LE(species_table[s].level, 4);
  for (u8 s : dungeon_encounters[4]) EXPECT_GE(species_table[s].level, 100);
}

TEST(MonsterSlots, StatisticsComeFromTheLevelRow) {
  fresh_game();
  fight(32);
  const level_row& r = game.level_table[40];
  const monster_slot& m = battle.monsters[0];
  EXPECT_EQ(m.atk, (r.c[3] + r.c[5]) / 3);
  EXPECT_EQ(m.spd, r.c[2]);
  EXPECT_EQ(m.def, r.c[3] + 40);
  EXPECT_EQ(m.mdef, r.c[4]);
  EXPECT_EQ(m.hp, r.c[0] * 5);
  EXPECT_EQ(m.hp_max, m.hp);
  EXPECT_EQ(m.mp, r.c[6]);
  EXPECT_EQ(m.exp, (game.level_table[41].c7 - r.c7) / 15);
  EXPECT_EQ(m.elem_attack, 255);
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(std::memcmp(m.note, species_table[32].note, 8), 0);
  fill_monster_slot(1, 211, 10); // level 255 takes the last step
  const monster_slot& top = battle.monsters[1];
  EXPECT_EQ(top.exp, (game.level_table[255].c7 - game.level_table[254].c7) / 15);
  EXPECT_EQ(top.gold, static_cast<i32>(top.exp * 10));
}

TEST(SetBattle, OneMonsterForAHundredTimesItsExperience) {
  fresh_game();
  u32 before = game.rand_state;
  start_set_battle(200);
  EXPECT_EQ(game.rand_state, before); // no draws
  EXPECT_EQ(battle.battle_mode, BATTLE_FIGHTING);
  EXPECT_EQ(battle.monster_count, 1);
  EXPECT_EQ(battle.no_escape, 1);
  EXPECT_EQ(battle.fixed_battle, 1);
  EXPECT_EQ(battle.first_key, 1);
  EXPECT_EQ(battle.monsters[0].gold, static_cast<i32>(battle.monsters[0].exp * 100));
  EXPECT_EQ(battle.slot_species[0], 200);
  EXPECT_TRUE(battle.monsters[1].status & STATUS_DEAD);
  EXPECT_TRUE(battle.monsters[2].status & STATUS_DEAD);
  EXPECT_EQ(missing({"ドラゴンが現れた！"}), "");
  EXPECT_EQ(std::memcmp(&battle.battle_copy, &game.sb, sizeof game.sb), 0);
}

// The first draw's low bits give the count (0 stands for two), one draw
// per monster its species from the area's row, and nothing else is drawn,
// not even for finding the first member able to fight, who acts first.
TEST(GroupBattle, DrawsOneForTheCountAndOnePerMonster) {
  for (int low = 0; low < 4; low++) {
    SCOPED_TRACE(low);
    fresh_game();
    game.sb.party[0].status = STATUS_DEAD;
    game.cur_area = low * 3;
    seed_where([&](const std::vector<int>& d) { return (d[0] & 3) == low; }, 1);
    std::vector<int> d = upcoming(5);
    int n = low == 0 ? 2 : low;
    start_group_battle(5);
    EXPECT_EQ(battle.monster_count, n);
    EXPECT_EQ(battle.figure, 5);
    EXPECT_EQ(battle.no_escape, 0);
    for (int i = 0; i < n; i++)
      EXPECT_EQ(battle.slot_species[i], world_encounters[low * 3][d[1 + i] & 7]) << i;
    for (int i = n; i < MONSTER_SLOTS; i++) {
      EXPECT_EQ(battle.slot_species[i], 0);
      EXPECT_TRUE(battle.monsters[i].status & STATUS_DEAD);
    }
    EXPECT_EQ(upcoming(1)[0], d[1 + n]);
    EXPECT_EQ(battle.monsters[0].gold, static_cast<i32>(battle.monsters[0].exp * 10));
    EXPECT_EQ(battle.actor, 1);
    EXPECT_EQ(battle.cmd_state, CMD_LIST);
    for (u8 f : battle.defending) EXPECT_EQ(f, 0);
  }
}

TEST(GroupBattle, EmptyAndUnknownAreasMeetNamelessMonsters) {
  fresh_game();
  game.cur_map = 12;
  for (int area : {0, 5, 63, 64, 200, -1}) {
    game.cur_area = area;
    start_group_battle(0);
    for (int i = 0; i < battle.monster_count; i++) {
      EXPECT_EQ(battle.slot_species[i], 0) << area;
      EXPECT_EQ(battle.monsters[i].hp, game.level_table[1].c[0]) << area; // level 1, HP x1
    }
  }
  game.cur_map = WORLD_MAP;
  game.cur_area = 14;
  start_group_battle(0);
  EXPECT_EQ(battle.slot_species[0], 0);
}

} // namespace
