// The finishing player's battle tactics: heal a member in danger, let a
// caster use its strongest attack spell, otherwise attack; and healing
// from the field menu.
#include "tools/autoplay/player_parts.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "field/walk.h"
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/platform.h"
#include "platform/png.h"
#include "shell/shell.h"
#include "tools/autoplay/path.h"
#include "tools/autoplay/world_index.h"
#include "tools/replay/drive.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace autoplay {

bool party_choosing() {
  return battle.battle_mode == BATTLE_FIGHTING && !battle.monster_turn_pending &&
         !battle.battle_wait_open && !battle.battle_wait_turn && !msg_window.msg_wait_key;
}

bool alive_monster(int i) {
  return !(battle.monsters[i].status & STATUS_DEAD) && battle.monsters[i].hp > 0;
}

void move_cursor(i32& cursor, int want) {
  for (int n = 0; cursor != want && n < 8; n++) drive_key(cursor < want ? VK_DOWN : VK_UP);
}

// The member's spell entry (0..15) of the first spell it knows and can pay
// for that matches the test, or -1.
// Of several, the one that restores the most HP.
template <class Test> int known_spell(const member& m, Test test) {
  int best = -1, most = -1;
  for (int e = 0; e < 16; e++) {
    int n = m.spells[e];
    if (!(m.spell_mask & (1u << e)) || n <= 0 || n >= 32) continue;
    const magic& s = game.magic_table[n];
    if (s.mp_cost <= m.mp && test(s) && s.power[4] > most) best = e, most = s.power[4];
  }
  return best;
}

// The member whose HP is lowest against its maximum, while still alive; -1
// when nobody is below the given share.
int weakest_member(const save_block& sb, int percent) {
  int who = -1, worst = percent;
  for (int i = 0; i < 3; i++) {
    const member& m = sb.party[i];
    if ((m.status & STATUS_DEAD) || m.hp_max == 0) continue;
    int share = m.hp * 100 / m.hp_max;
    if (share < worst) who = i, worst = share;
  }
  return who;
}

int first_monster_standing() {
  int target = 0;
  while (target < battle.monster_count - 1 && !alive_monster(target)) target++;
  return target;
}

bool worn_entry(const member& m, int e) {
  return e == m.eq_head || e == m.eq_right || e == m.eq_left || e == m.eq_body;
}

// The member's item entry of the carried tool (not worn) that scores
// highest by `score`, or -1 when none scores above 0.
template <class Score> int carried_tool(const member& m, Score score) {
  int best = -1, most = 0;
  for (int e = 0; e < 16; e++) {
    const item& it = game.item_table[m.items[e]];
    if (entry_empty(m.items[e]) || worn_entry(m, e) || it.kind != 0) continue;
    if (score(it) > most) best = e, most = score(it);
  }
  return best;
}

// The tool that restores the most HP.
int healing_item(const member& m) {
  return carried_tool(m, [](const item& it) { return static_cast<int>(it.hp); });
}

// A tool that raises the dead.
int raising_item(const member& m) {
  return carried_tool(m, [](const item& it) { return it.use_class == 5 ? 1 : 0; });
}

int first_member_down(const save_block& sb) {
  for (int i = 0; i < 3; i++)
    if (sb.party[i].status & STATUS_DEAD) return i;
  return -1;
}

void use_in_battle(int e, int member_target) {
  move_cursor(battle.cmd_cursor, 2);
  drive_key(KEY_CONFIRM);
  if (battle.cmd_state != CMD_ITEM_LIST) return;
  for (int i = 0; battle.item_cursor[0] != e / 4 && i < 4; i++)
    drive_key(battle.item_cursor[0] < e / 4 ? VK_RIGHT : VK_LEFT);
  move_cursor(battle.item_cursor[1], e % 4);
  drive_key(KEY_CONFIRM);
  if (battle.item_pick) {
    move_cursor(battle.item_target_member, member_target);
    drive_key(KEY_CONFIRM);
  }
}

// Chooses spell entry e of the acting member, then its target.
void cast_in_battle(int e, int member_target) {
  move_cursor(battle.cmd_cursor, 1);
  drive_key(KEY_CONFIRM);
  if (battle.cmd_state != CMD_SPELL_LIST) return;
  for (int i = 0; battle.spell_cursor[0] != e / 4 && i < 4; i++)
    drive_key(battle.spell_cursor[0] < e / 4 ? VK_RIGHT : VK_LEFT);
  move_cursor(battle.spell_cursor[1], e % 4);
  drive_key(KEY_CONFIRM);
  if (battle.member_pick) {
    move_cursor(battle.spell_target_member, member_target);
    drive_key(KEY_CONFIRM);
  } else if (battle.cmd_state == CMD_SPELL_TARGET) {
    move_cursor(battle.magic_target_cursor, first_monster_standing());
    drive_key(KEY_CONFIRM);
  }
}

// One member's command: heal a member in danger, let a caster use its
// strongest attack spell while its MP lasts, otherwise attack.
void choose_command() {
  if (battle.cmd_state != CMD_LIST) {
    drive_key(KEY_CANCEL);
    return;
  }
  if (battle.first_key) drive_key(VK_UP); // the down key waits for a first confirm
  const member& me = battle.battle_copy.party[battle.actor];
  int standing = 0, hp = 0, hp_max = 0;
  for (const member& m : battle.battle_copy.party) {
    if (&m - battle.battle_copy.party >= 3) break;
    standing += !(m.status & STATUS_DEAD);
    hp += m.hp, hp_max += m.hp_max;
  }
  // mend first: raise the fallen, heal whoever is in danger; flee only
  // when the party is in trouble and nothing can be mended
  int down = first_member_down(battle.battle_copy), raise = raising_item(me);
  if (down >= 0 && raise >= 0 && standing >= 2) return use_in_battle(raise, down);
  int hurt = weakest_member(battle.battle_copy, 40);
  int heal = known_spell(me, [](const magic& s) { return s.cls == 1; });
  if (hurt >= 0 && heal >= 0) return cast_in_battle(heal, hurt);
  int herb = healing_item(me);
  if (hurt >= 0 && herb >= 0) return use_in_battle(herb, hurt);
  if ((standing <= 1 || hp * 4 < hp_max) && !battle.no_escape) {
    move_cursor(battle.cmd_cursor, 4); // "にげる"
    return drive_key(KEY_CONFIRM);
  }
  // the attack spell that hurts the first monster standing most, by its
  // defence against the spell's element
  const monster_slot& foe = battle.monsters[first_monster_standing()];
  int best = -1, power = 0;
  for (int e = 0; e < 16; e++) {
    int n = me.spells[e];
    if (!(me.spell_mask & (1u << e)) || n <= 0 || n >= 32) continue;
    const magic& s = game.magic_table[n];
    int entry = s.elem >= 1 && s.elem <= 7 ? s.elem - 1 : 7;
    int hurt_by = scale_defended(s.power[0], foe.elem_def[entry]) - foe.mdef;
    if (s.cls == 0 && s.scope == 0 && s.mp_cost <= me.mp && hurt_by > power)
      best = e, power = hurt_by;
  }
  bool beats_blade = power > static_cast<int>(me.atk) - static_cast<int>(foe.def);
  if (best >= 0 && beats_blade && me.kind == 2 && me.mp * 3 > me.mp_max)
    return cast_in_battle(best, 0);
  move_cursor(battle.cmd_cursor, 0);
  drive_key(KEY_CONFIRM);
  if (battle.cmd_state != CMD_ATTACK_TARGET) return;
  move_cursor(battle.target_cursor, first_monster_standing());
  drive_key(KEY_CONFIRM);
}

// Heals a hurt member with a spell cast from the field menu, as long as a
// member knows one and has the MP; 0 when nobody needs it any more.
int field_heal() {
  for (int round = 0; round < 8; round++) {
    int hurt = weakest_member(game.sb, 70);
    if (hurt < 0) return 0;
    int caster = -1, e = -1;
    for (int c = 0; c < 3 && e < 0; c++) {
      const member& m = game.sb.party[c];
      if (m.status & STATUS_DEAD) continue;
      e = known_spell(m, [](const magic& s) { return s.cls == 1 && s.scope == 0; });
      if (e >= 0) caster = c;
    }
    if (e < 0) return 1;
    int before = game.sb.party[hurt].hp;
    drive_key(KEY_CONFIRM); // the command menu, on "はなす"
    if (field_menu.cmd_menu != 1) {
      settle();
      return 1;
    }
    move_cursor(field_menu.cmd_row, 0);
    if (field_menu.cmd_col != 1) drive_key(VK_RIGHT);
    drive_key(KEY_CONFIRM); // "まほう": choose who casts
    move_cursor(field_menu.sel_member, caster);
    drive_key(KEY_CONFIRM); // the spell list
    for (int i = 0; field_menu.magic_col != e / 8 && i < 2; i++)
      drive_key(field_menu.magic_col < e / 8 ? VK_RIGHT : VK_LEFT);
    move_cursor(field_menu.magic_row, e % 8);
    drive_key(KEY_CONFIRM); // the target window
    if (battle.member_pick) {
      move_cursor(battle.spell_target_member, hurt);
      drive_key(KEY_CONFIRM);
    }
    settle();
    if (game.sb.party[hurt].hp <= before) return 1;
  }
  return 0;
}

} // namespace autoplay
