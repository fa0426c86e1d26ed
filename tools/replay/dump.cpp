// What a dump shows: the field scalars, the modes, the people of the map,
// the party and the bag, the message window's lines, every window with its
// cursors, the battle, the music, and the log since the previous dump.
// Fields of a subsystem are written together; a new one goes into its group
// here.
#include "tools/replay/dump.h"
#include "gfx/title_screens.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "gfx/field_map.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "state/state.h"
#include "tools/replay/json.h"

#include <algorithm>
#include <utility>

namespace {

using named = std::pair<const char*, long long>;

template <std::size_t N> void json_fields(json_out& j, const named (&fields)[N]) {
  for (const auto& [k, v] : fields) json_field(j, k, v);
}

template <class T> void json_ints(json_out& j, const char* key, const T* v, std::size_t n) {
  json_key(j, key);
  json_open(j, '[');
  for (std::size_t i = 0; i < n; i++) json_int(j, v[i]);
  json_close(j, ']');
}

void dump_field(json_out& j) {
  json_field(j, "title_mode", title_screens.title_mode);
  json_field(j, "app_active", shell.app_active);
  json_field(j, "frame_period_ms", shell.frame_period_ms);
  json_field(j, "cur_map", game.cur_map);
  json_field(j, "pos_x", game.pos_x);
  json_field(j, "pos_y", game.pos_y);
  json_field(j, "view_x", game.view_x);
  json_field(j, "view_y", game.view_y);
  json_field(j, "facing", game.facing);
  json_field(j, "cur_area", game.cur_area);
  json_field(j, "map_max_x", game.map_max_x);
  json_field(j, "map_max_y", game.map_max_y);
  json_field(j, "encounter_steps", game.encounter_steps);
  json_field(j, "encounters_on", game.encounters_on);
  json_field(j, "on_ship", game.on_ship);
  json_field(j, "leaving_map", game.leaving_map);
  json_field(j, "cur_slot", game.cur_slot);
  json_field(j, "return_map", game.return_map);
  json_field(j, "return_x", game.return_x);
  json_field(j, "return_y", game.return_y);
  json_field(j, "step_dir", field_map.step_dir);
  json_field(j, "transition", field_map.transition);
  json_field(j, "world_map_view", field_map.world_map_view);
  json_field(j, "area_label_on", field_map.area_label_on);
  json_field(j, "ending_shown", events.ending_shown);
}

// The people of the map as they stand now, all 24 records.
void dump_people(json_out& j) {
  json_key(j, "npc_table");
  json_open(j, '[');
  for (const npc& p : game.npc_table) {
    json_open(j, '{');
    json_fields(j, {{"x", p.x},
                    {"y", p.y},
                    {"px", p.px},
                    {"py", p.py},
                    {"sprite", p.sprite},
                    {"frame", p.frame},
                    {"facing", p.facing},
                    {"wanders", p.wanders},
                    {"move", p.move},
                    {"type", p.type},
                    {"state", p.state},
                    {"a", p.a},
                    {"b", p.b}});
    json_close(j, '}');
  }
  json_close(j, ']');
}

// The report as the store holds it, colour and page codes included: every
// line written since the last new report. The line being revealed is
// msg_reveal_line, of which msg_reveal_col bytes show; msg_revealed counts
// the lines the window has begun to show.
void dump_messages(json_out& j) {
  // a full store keeps writing over its last line
  int lines = msg_window.msg_count;
  if (lines == MSG_LINES - 1 && msg_window.msg_line[lines][0] != 0) lines++;
  int revealed =
      std::min(lines, msg_window.msg_reveal_line + (msg_window.msg_reveal_col > 0 ? 1 : 0));
  json_fields(j, {{"msg_visible", msg_window.msg_visible},
                  {"msg_count", msg_window.msg_count},
                  {"msg_reveal_line", msg_window.msg_reveal_line},
                  {"msg_reveal_col", msg_window.msg_reveal_col},
                  {"msg_top_line", msg_window.msg_top_line},
                  {"msg_wait_key", msg_window.msg_wait_key},
                  {"msg_speed", msg_window.msg_speed},
                  {"msg_revealed", revealed}});
  json_key(j, "messages");
  json_open(j, '[');
  for (int i = 0; i < lines; i++) {
    char line[MSG_LINE_SIZE + 1]{};
    std::copy(msg_window.msg_line[i], msg_window.msg_line[i] + MSG_LINE_SIZE, line);
    json_str(j, sjis_to_utf8(line));
  }
  json_close(j, ']');
}

void dump_member(json_out& j, const member& m) {
  json_open(j, '{');
  json_key(j, "name");
  json_sjis(j, m.name, sizeof m.name);
  const named numbers[] = {
      {"kind", m.kind},
      {"level", m.level},
      {"age", m.age},
      {"exp", m.exp},
      {"next_exp", m.next_exp},
      {"exp_step", m.exp_step},
      {"exp_step_inc", m.exp_step_inc},
      {"exp_step_inc2", m.exp_step_inc2},
      {"str", m.str},
      {"agi", m.agi},
      {"mag", m.mag},
      {"grd", m.grd},
      {"mgrd", m.mgrd},
      {"base_hp", m.base_hp},
      {"base_hp_max", m.base_hp_max},
      {"base_mp", m.base_mp},
      {"base_mp_max", m.base_mp_max},
      {"atk", m.atk},
      {"spd", m.spd},
      {"matk", m.matk},
      {"def", m.def},
      {"mdef", m.mdef},
      {"hp", m.hp},
      {"hp_max", m.hp_max},
      {"mp", m.mp},
      {"mp_max", m.mp_max},
      {"spell_mask", m.spell_mask},
      {"eq_right", m.eq_right},
      {"eq_left", m.eq_left},
      {"eq_body", m.eq_body},
      {"eq_head", m.eq_head},
      {"eq_acc1", m.eq_acc1},
      {"eq_acc2", m.eq_acc2},
      {"eq_acc3", m.eq_acc3},
      {"eq_mask", m.eq_mask},
      {"status", m.status},
      {"sex", m.sex},
  };
  json_fields(j, numbers);
  json_ints(j, "spells", m.spells, sizeof m.spells);
  json_ints(j, "items", m.items, sizeof m.items);
  json_ints(j, "elem", m.elem, sizeof m.elem);
  json_close(j, '}');
}

void dump_save(json_out& j) {
  json_field(j, "gold", game.sb.gold);
  json_ints(j, "flags", game.sb.flags, sizeof game.sb.flags);
  json_ints(j, "bag", game.sb.bag, sizeof game.sb.bag);
  json_key(j, "party");
  json_open(j, '[');
  for (const member& m : game.sb.party) dump_member(j, m);
  json_close(j, ']');
}

void dump_battle(json_out& j) {
  json_field(j, "battle_mode", battle.battle_mode);
  json_field(j, "gameover_state", battle.gameover_state);
  json_field(j, "fixed_battle", battle.fixed_battle);
  json_fields(j, {{"battle_wait_open", battle.battle_wait_open},
                  {"battle_wait_turn", battle.battle_wait_turn},
                  {"monster_turn_pending", battle.monster_turn_pending},
                  {"first_key", battle.first_key},
                  {"no_escape", battle.no_escape},
                  {"monster_view", battle.monster_view},
                  {"actor", battle.actor},
                  {"cmd_state", battle.cmd_state},
                  {"cmd_cursor", battle.cmd_cursor},
                  {"target_cursor", battle.target_cursor},
                  {"magic_target_cursor", battle.magic_target_cursor}});
  json_ints(j, "spell_cursor", battle.spell_cursor, 2);
  json_ints(j, "item_cursor", battle.item_cursor, 2);
  // the party as it fights; the save record takes it back at the end
  json_key(j, "battle_copy");
  json_open(j, '[');
  for (int i = 0; battle.battle_mode != 0 && i < 3; i++) {
    const member& m = battle.battle_copy.party[i];
    json_open(j, '{');
    json_fields(j, {{"hp", m.hp},
                    {"hp_max", m.hp_max},
                    {"mp", m.mp},
                    {"mp_max", m.mp_max},
                    {"status", m.status},
                    {"atk", m.atk},
                    {"spd", m.spd}});
    json_close(j, '}');
  }
  json_close(j, ']');
  json_key(j, "monsters");
  json_open(j, '[');
  for (int i = 0; battle.battle_mode != 0 && i < battle.monster_count && i < MONSTER_SLOTS; i++) {
    const monster_slot& m = battle.monsters[i];
    json_open(j, '{');
    json_field(j, "slot", i);
    json_field(j, "species", battle.slot_species[i]);
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

// Every window of the field menus, the system menu and the town services
// with its cursors, and the target windows the field and the battle share.
void dump_windows(json_out& j) {
  json_key(j, "windows");
  json_open(j, '{');
  json_fields(j, {{"cmd_menu", field_menu.cmd_menu},
                  {"cmd_row", field_menu.cmd_row},
                  {"cmd_col", field_menu.cmd_col},
                  {"sel_member", field_menu.sel_member},
                  {"status_win", field_menu.status_win},
                  {"magic_win", field_menu.magic_win},
                  {"magic_col", field_menu.magic_col},
                  {"magic_row", field_menu.magic_row},
                  {"item_win", field_menu.item_win},
                  {"item_page", field_menu.item_page},
                  {"item_row", field_menu.item_row},
                  {"item_action_win", field_menu.item_action_win},
                  {"item_action_row", field_menu.item_action_row},
                  {"item_info_win", field_menu.item_info_win},
                  {"equip_win", field_menu.equip_win},
                  {"equip_row", field_menu.equip_row},
                  {"equip_list_win", field_menu.equip_list_win},
                  {"equip_list_page", field_menu.equip_list_page},
                  {"equip_list_row", field_menu.equip_list_row},
                  {"equip_done", field_menu.equip_done},
                  {"system_win", field_menu.system_win},
                  {"sys_state", field_menu.sys_state},
                  {"sys_row", field_menu.sys_row},
                  {"yes_no", field_menu.yes_no},
                  {"bag_page", field_menu.bag_page},
                  {"save_cursor", field_menu.save_cursor},
                  {"load_cursor", field_menu.load_cursor},
                  {"member_pick", battle.member_pick},
                  {"spell_target_member", battle.spell_target_member},
                  {"item_pick", battle.item_pick},
                  {"item_target_member", battle.item_target_member},
                  {"inn_win", services.inn_win},
                  {"inn_row", services.inn_row},
                  {"church_win", services.church_win},
                  {"church_no", services.church_no},
                  {"church_row", services.church_row},
                  {"church_pick", services.church_pick},
                  {"church_member", services.church_member},
                  {"shop_win", services.shop_win},
                  {"shop_no", services.shop_no},
                  {"shop_row", services.shop_row},
                  {"shop_sub", services.shop_sub},
                  {"shop_list_row", services.shop_list_row},
                  {"shop_pick", services.shop_pick},
                  {"shop_sell_list", services.shop_sell_list},
                  {"shop_member", services.shop_member},
                  {"trade_item", services.trade_item}});
  json_close(j, '}');
}

void dump_event(json_out& j) {
  json_field(j, "event_no", events.event_no);
  json_field(j, "event_pc", events.event_pc);
  json_field(j, "wait_answer", events.wait_answer);
  json_field(j, "answer_key", events.answer_key);
  json_field(j, "event_error", events.last_error);
}

void dump_music(json_out& j) {
  json_field(j, "cur_music", game.cur_music);
  json_field(j, "playing_music", game.playing_music);
  json_field(j, "field_music_on", music.field_music_on.load());
  json_field(j, "tune_playing", music.tune_playing.load());
  json_field(j, "music_muted", music.music_muted);
  json_field(j, "music_failed", music.music_failed);
}

} // namespace

std::string dump_json(const std::vector<std::string>& log) {
  json_out j;
  json_open(j, '{');
  dump_field(j);
  dump_people(j);
  dump_save(j);
  dump_messages(j);
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
