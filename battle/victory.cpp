#include "audio/music.h"
#include "battle/battle_internal.h"

#include <algorithm>

static u32 low3_of_negation(int r) {
  return (0u - static_cast<u32>(r)) & 7u;
}

// One gain: added to the base and the equipped value, reported unless 0.
static void gain(u16& base, u16& equipped, u32 amount, const char* line) {
  if (amount == 0) return;
  base = static_cast<u16>(base + amount);
  equipped = static_cast<u16>(equipped + amount);
  say(PRINT_ADD, line, static_cast<int>(amount));
}

// The seven gains of a new level, one draw each in this order, and one draw
// more that nothing uses.
static void level_gains(member& m) {
  gain(m.str, m.atk, low3_of_negation(next_rand()) + 1, " 力が%d上がった!@P");
  gain(m.mag, m.matk, std::min(low3_of_negation(next_rand()), 5u), " 魔力が%d上がった!@P");
  gain(m.agi, m.spd, std::min(low3_of_negation(next_rand()), 4u), " すばやさが%d上がった!@P");
  gain(m.grd, m.def, std::min(low3_of_negation(next_rand()), 4u), " 防御力が%d上がった!@P");
  gain(m.mgrd, m.mdef, std::min(low3_of_negation(next_rand()), 3u), " 魔法防御力が%d上がった!@P");
  gain(m.base_hp_max, m.hp_max, low3_of_negation(next_rand()) + 3, " HPが%d上がった!@P");
  gain(m.base_mp_max, m.mp_max, low3_of_negation(next_rand()) == 0 ? 2 : 3, " MPが%d上がった!@P");
  next_rand();
}

// Levels while the experience reaches the next threshold. A record whose
// threshold no longer grows (zero steps, or a sum past 2^32) stops after
// the level that shows it, instead of levelling for ever.
void level_up(member& m, int member_no) {
  while (m.exp >= m.next_exp) {
    u32 before = m.next_exp;
    say(PRINT_ADD, "@NAME%dは、レベルが上がった!", member_no);
    m.level++;
    m.exp_step += m.exp_step_inc;
    m.next_exp += m.exp_step;
    m.exp_step_inc += m.exp_step_inc2;
    level_gains(m);
    rebuild_equipped(m);
    if (m.next_exp <= before) break;
  }
}

void victory() {
  u32 exp = 0;
  i32 gold = 0;
  for (int s = 0; s < battle.monster_count; s++) {
    exp += battle.monsters[s].exp;
    gold += battle.monsters[s].gold;
  }
  battle.battle_copy.gold += gold;
  game.sb.gold = battle.battle_copy.gold;
  for (int i = 0; i < 3; i++) {
    member& m = game.sb.party[i];
    if (!member_dead(battle.battle_copy.party[i])) m.exp += exp;
    level_up(m, i);
  }
  write_back_party();
  music_stop();
  play_tune(3);
  say(PRINT_ADD, "@NAME%dたちは、", 0);
  say(PRINT_ADD, " %dの経験値を獲得、%dGを得た", static_cast<int>(exp), gold);
  battle.member_pick = 0;
  battle.battle_mode = BATTLE_OVER;
}
