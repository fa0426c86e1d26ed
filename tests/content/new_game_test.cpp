#include "tools/story/new_game.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>

namespace {

std::string source_path() { return std::string(ZK_SOURCE_DIR) + "/content/story/party.txt"; }

std::string read_text(const char* text, save_block& sb) {
  std::FILE* f = std::fopen("party.txt", "w");
  std::fputs(text, f);
  std::fclose(f);
  return read_new_game_source("party.txt", sb);
}

} // namespace

TEST(NewGame, ThePartySetsOutArmedAndHealed) {
  reset_state();
  save_block sb;
  ASSERT_EQ(read_new_game_source(source_path(), sb), "");
  for (int i = 0; i < 3; i++) {
    const member& m = sb.party[i];
    EXPECT_EQ(m.level, 1);
    EXPECT_GT(m.hp, 0);
    EXPECT_EQ(m.hp, m.hp_max);
    EXPECT_EQ(m.mp, m.mp_max);
    EXPECT_NE(m.eq_right, NO_EQUIP) << "member " << i << " carries a weapon";
    EXPECT_GT(m.atk, m.str) << "the weapon adds to the attack";
    EXPECT_TRUE(m.eq_mask & (1u << m.eq_right));
    EXPECT_NE(m.spell_mask, 0);
  }
  EXPECT_EQ(sb.party[3].eq_right, NO_EQUIP);
  EXPECT_GT(sb.gold, 0);
  EXPECT_EQ(0, std::memcmp(sb.party[0].name, "レオン", 6));
}

TEST(NewGame, BadSourcesNameTheirLine) {
  save_block sb;
  EXPECT_EQ(read_text("gold 10\nname x\n", sb), "party.txt:2: 'name' before any member");
  EXPECT_EQ(read_text("member 0\nspells 40\n", sb), "party.txt:2: spell numbers are 1..31");
  EXPECT_EQ(read_text("member 0\nitems 1\nequip 3\n", sb), "party.txt:3: entry 3 cannot be worn");
  EXPECT_EQ(read_text("member 7\n", sb), "party.txt:1: member takes a slot 0..4");
  EXPECT_EQ(read_text("member 0\nname ABCDEFGHIJKLMNOPQ\n", sb), "party.txt:2: a name is 1..16 bytes of Shift-JIS");
}
