// What a dump shows: the field scalars, the modes, the party and the bag, the
// battle, the music, and the log since the previous dump. Fields of a
// subsystem are written together; a new one goes into its group here.
#include "tools/replay/dump.h"
#include "gfx/title_screens.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "event/event.h"
#include "shell/shell.h"
#include "state/state.h"
#include "tools/replay/json.h"

namespace {

void dump_field(json_out& j) {
  json_field(j, "title_mode", ts.title_mode);
  json_field(j, "app_active", sh.app_active);
  json_field(j, "frame_period_ms", sh.frame_period_ms);
  json_field(j, "cur_map", st.cur_map);
  json_field(j, "pos_x", st.pos_x);
  json_field(j, "pos_y", st.pos_y);
  json_field(j, "view_x", st.view_x);
  json_field(j, "view_y", st.view_y);
  json_field(j, "facing", st.facing);
  json_field(j, "cur_area", st.cur_area);
  json_field(j, "map_max_x", st.map_max_x);
  json_field(j, "map_max_y", st.map_max_y);
  json_field(j, "encounter_steps", st.encounter_steps);
  json_field(j, "encounters_on", st.encounters_on);
  json_field(j, "on_ship", st.on_ship);
  json_field(j, "leaving_map", st.leaving_map);
  json_field(j, "cur_slot", st.cur_slot);
}

void dump_member(json_out& j, const member& m) {
  json_open(j, '{');
  json_key(j, "name");
  json_sjis(j, m.name, sizeof m.name);
  const std::pair<const char*, long long> numbers[] = {
      {"kind", m.kind},         {"level", m.level},
      {"age", m.age},           {"exp", m.exp},
      {"next_exp", m.next_exp}, {"str", m.str},
      {"agi", m.agi},           {"mag", m.mag},
      {"grd", m.grd},           {"mgrd", m.mgrd},
      {"base_hp", m.base_hp},   {"base_hp_max", m.base_hp_max},
      {"base_mp", m.base_mp},   {"base_mp_max", m.base_mp_max},
      {"atk", m.atk},           {"spd", m.spd},
      {"matk", m.matk},         {"def", m.def},
      {"mdef", m.mdef},         {"hp", m.hp},
      {"hp_max", m.hp_max},     {"mp", m.mp},
      {"mp_max", m.mp_max},     {"spell_mask", m.spell_mask},
      {"eq_right", m.eq_right}, {"eq_left", m.eq_left},
      {"eq_body", m.eq_body},   {"eq_head", m.eq_head},
      {"eq_acc1", m.eq_acc1},   {"eq_acc2", m.eq_acc2},
      {"eq_acc3", m.eq_acc3},   {"eq_mask", m.eq_mask},
      {"status", m.status},     {"sex", m.sex},
  };
  for (const auto& [k, v] : numbers) json_field(j, k, v);
  json_key(j, "spells");
  json_open(j, '[');
  for (u8 s : m.spells) json_int(j, s);
  json_close(j, ']');
  json_key(j, "items");
  json_open(j, '[');
  for (u8 s : m.items) json_int(j, s);
  json_close(j, ']');
  json_key(j, "elem");
  json_open(j, '[');
  for (u8 s : m.elem) json_int(j, s);
  json_close(j, ']');
  json_close(j, '}');
}

void dump_save(json_out& j) {
  json_field(j, "gold", st.sb.gold);
  json_key(j, "flags");
  json_open(j, '[');
  for (u8 f : st.sb.flags) json_int(j, f);
  json_close(j, ']');
  json_key(j, "bag");
  json_open(j, '[');
  for (u8 b : st.sb.bag) json_int(j, b);
  json_close(j, ']');
  json_key(j, "party");
  json_open(j, '[');
  for (const member& m : st.sb.party) dump_member(j, m);
  json_close(j, ']');
}

void dump_battle(json_out& j) {
  json_field(j, "battle_mode", bt.battle_mode);
  json_field(j, "gameover_state", bt.gameover_state);
  json_field(j, "fixed_battle", bt.fixed_battle);
  json_field(j, "battle_wait_open", bt.battle_wait_open);
  json_field(j, "monster_turn_pending", bt.monster_turn_pending);
  json_key(j, "monsters");
  json_open(j, '[');
  for (int i = 0; bt.battle_mode != 0 && i < bt.monster_count && i < MONSTER_SLOTS; i++) {
    const monster_slot& m = bt.monsters[i];
    json_open(j, '{');
    json_field(j, "slot", i);
    json_field(j, "species", bt.slot_species[i]);
    json_key(j, "name");
    json_sjis(j, m.name, sizeof m.name);
    json_field(j, "hp", m.hp);
    json_field(j, "hp_max", m.hp_max);
    json_field(j, "mp", m.mp);
    json_field(j, "status", m.status);
    json_close(j, '}');
  }
  json_close(j, ']');
}

// The target windows that the field menus and the battle share.
void dump_windows(json_out& j) {
  json_key(j, "windows");
  json_open(j, '{');
  json_field(j, "member_pick", bt.member_pick);
  json_field(j, "spell_target_member", bt.spell_target_member);
  json_field(j, "item_pick", bt.item_pick);
  json_field(j, "item_target_member", bt.item_target_member);
  json_field(j, "battle_cmd_state", bt.cmd_state);
  json_field(j, "battle_cmd_cursor", bt.cmd_cursor);
  json_field(j, "battle_target_cursor", bt.target_cursor);
  json_close(j, '}');
}

void dump_event(json_out& j) {
  json_field(j, "event_no", ev.event_no);
  json_field(j, "event_pc", ev.event_pc);
  json_field(j, "wait_answer", ev.wait_answer);
  json_field(j, "answer_key", ev.answer_key);
  json_field(j, "event_error", ev.last_error);
}

void dump_music(json_out& j) {
  json_field(j, "cur_music", st.cur_music);
  json_field(j, "playing_music", st.playing_music);
  json_field(j, "field_music_on", mus.field_music_on.load());
  json_field(j, "tune_playing", mus.tune_playing.load());
  json_field(j, "music_muted", mus.music_muted);
  json_field(j, "music_failed", mus.music_failed);
}

} // namespace

std::string dump_json(const std::vector<std::string>& log) {
  json_out j;
  json_open(j, '{');
  dump_field(j);
  dump_save(j);
  dump_battle(j);
  dump_windows(j);
  dump_event(j);
  dump_music(j);
  json_key(j, "log");
  json_open(j, '[');
  for (const std::string& line : log) json_str(j, line);
  json_close(j, ']');
  json_close(j, '}');
  return j.text + "\n";
}
