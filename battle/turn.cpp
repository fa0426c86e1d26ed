#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle_internal.h"

#include <initializer_list>

static bool lose_allowed() {
  return game.sb.flags[LOSE_ALLOWED_FLAG] == 1;
}

// Element damage the actor's weapons add to a blow: the member's strength
// for every element of a weapon in either hand.
static void weapon_elements(const member& a) {
  for (u8 hand : {a.eq_right, a.eq_left}) {
    if (hand >= 16) continue;
    const item& w = game.item_table[a.items[hand]];
    if (w.kind != ITEM_WEAPON) continue;
    for (int k = 0; k < 7; k++)
      if (w.elem_attack & (1 << k)) battle.elem_hit[k] += a.str;
    if (w.scope == 1) battle.attack_all = 1;
  }
}

static void strike(int slot) {
  const member& a = battle.battle_copy.party[battle.actor];
  monster_slot& m = battle.monsters[slot];
  int agility = a.spd > m.spd ? a.spd - m.spd : 0;
  say(PRINT_ADD, "@WMSD%03dに、", slot);
  battle.damage = game.sb.party[battle.actor].atk - m.def + agility;
  if (lose_allowed() && battle.weaken_count == 0) battle.damage = 10;
  if (battle.damage <= 0) {
    say(PRINT_ADD, "ダメージを与えられない!");
  } else {
    say(PRINT_ADD, " @C2%d@C0ポイントのダメージ！", battle.damage);
    start_hit_flash(slot, 0);
    lose_hp(m.hp, battle.damage);
  }
  for (int k = 0; k < 7; k++) {
    if (battle.elem_hit[k] == 0) continue;
    say(PRINT_ADD, "属性攻撃@C%d[%s]%d@C0ﾎﾟｲﾝﾄのﾀﾞﾒｰｼﾞ！", k + 2, element_names[k],
        battle.elem_hit[k]);
    lose_hp(m.hp, battle.elem_hit[k]);
  }
  if (m.hp == 0) {
    m.status |= STATUS_DEAD;
    say(PRINT_ADD, ">@C1@WMSD%03d@C0を、倒した！", slot);
  }
}

void attack(int target) {
  target = target >= 0 && target < 3 ? target : 0;
  for (i32& e : battle.elem_hit) e = 0;
  play_atk();
  say(PRINT_NEW, "@C1@NAME%d@C0の、攻撃!", battle.actor);
  if (slot_dead(target)) {
    say(PRINT_ADD, ">@C1@WMSD%03d@C0は、死んでいる", target);
  } else {
    weapon_elements(battle.battle_copy.party[battle.actor]);
    // The target's defences count for every monster a sweeping weapon hits.
    for (int k = 0; k < 7; k++)
      battle.elem_hit[k] = scale_defended(battle.elem_hit[k], battle.monsters[target].elem_def[k]);
    if (!battle.attack_all) {
      strike(target);
    } else {
      for (int s = 0; s < 3; s++)
        if (!slot_dead(s)) strike(s);
    }
  }
  after_party_action();
}

void defend() {
  say(PRINT_NEW, "@C1@NAME%d@C0は、防御態勢をとった", battle.actor);
  battle.defending[battle.actor] = 1;
  after_party_action();
}

void write_back_party() {
  for (int i = 0; i < 3; i++) {
    const member& c = battle.battle_copy.party[i];
    member& m = game.sb.party[i];
    m.status = c.status;
    m.hp = c.hp < m.hp_max ? c.hp : m.hp_max;
    m.mp = c.mp < m.mp_max ? c.mp : m.mp_max;
    for (int k = 0; k < 16; k++) m.items[k] = c.items[k];
  }
}

void run_away() {
  if (battle.no_escape) {
    say(PRINT_NEW, "逃げることができない！");
    return;
  }
  if ((next_rand() & 7) == 0) {
    say(PRINT_NEW, "逃げることができない！");
    after_party_action();
    return;
  }
  write_back_party();
  say(PRINT_NEW, "@NAME0たちは、");
  say(PRINT_ADD, " 逃げ出した。");
  music_stop();
  play_music_entry(game.cur_music);
  battle.battle_mode = BATTLE_OVER;
}

// The end of a round: defending ends and poison bites. Poison that takes the
// last hit points puts the member out of action like any other blow.
static void end_round() {
  battle.monsters_done = 0;
  end_round_marks();
  for (u8& d : battle.defending) d = 0;
  for (int i = 0; i < 3; i++) {
    member& m = battle.battle_copy.party[i];
    if (!(m.status & STATUS_POISON)) continue;
    lose_hp(m.hp, 10);
    say(PRINT_ADD, "@NAME%dは、HPが下がった!", i);
    if (m.hp == 0) m.status |= STATUS_DEAD;
  }
}

static void party_lost() {
  if (!lose_allowed()) {
    battle.battle_mode = BATTLE_LOST;
    battle.gameover_state = 1;
    return;
  }
  game.sb.flags[LOST_BATTLE_FLAG] = 1;
  game.no_monster_turn = 1;
  battle.battle_mode = BATTLE_OVER;
}

// The next member able to act after the actor; the actor stays when none is.
static void next_actor() {
  for (int i = 0; i < 3; i++) {
    battle.actor = (battle.actor + 1) % 3;
    if (!member_dead(battle.battle_copy.party[battle.actor])) return;
  }
}

static bool all_monsters_beaten() {
  battle.monster_alive = 0;
  for (int s = 0; s < battle.monster_count; s++) battle.monster_alive += !slot_dead(s);
  return battle.monster_alive == 0;
}

void after_party_action() {
  if (battle.battle_mode == BATTLE_NONE) return;
  battle.cmd_cursor = 0;
  battle.cmd_state = CMD_LIST;
  battle.item_pick = 0;
  battle.item_cursor[0] = 0;
  battle.party_acted[battle.actor] = 1;
  for (int i = 0; i < 3 && member_dead(battle.battle_copy.party[battle.actor]); i++)
    battle.actor = (battle.actor + 1) % 3;
  battle.party_alive = living_members();
  battle.party_actions++;
  if (battle.party_alive <= battle.party_actions) {
    battle.party_actions = 0;
    if (battle.monsters_done == 1)
      end_round();
    else
      battle.party_done = 1;
  }
  if (living_members() == 0) return party_lost();
  if (all_monsters_beaten()) return victory();
  next_actor();
  if (battle.party_acted[battle.actor] == 1) battle.party_done = 1;
  if (game.no_monster_turn == 0 && battle.monsters_done == 0) {
    battle.monster_turn_pending = 1;
    battle.battle_wait_open = 1;
  }
}
